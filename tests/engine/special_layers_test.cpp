// Layer paths that name a pipe or a device instead of a file: refused at once as files that do
// not open, never waited on.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "engine_helpers.h"
#include "test_host.h"
#include "varnowel/composite_job.h"
#include "varnowel/composition.h"
#include "varnowel/layer_format.h"

namespace varnowel::test {
namespace {

// Ends the test program should a check wait on the pipe after all.
class Deadline {
 public:
  Deadline() { alarm(30); }
  ~Deadline() { alarm(0); }
};

void ExpectRefused(const std::string& path) {
  SCOPED_TRACE(path);
  EXPECT_EQ(ReadLayerFormat(path).fault, Fault::LayerNotFound);
  const LayerSource layer{path};
  Geometry size;
  EXPECT_EQ(MeasureLayers({&layer, 1}, size).fault, Fault::LayerNotFound);

  TestHost host;
  CompositeJob job{};
  EnableLayer(job, 0, path);
  std::int32_t width = 0, height = 0;
  EXPECT_EQ(ReadLayerGeometry(job, width, height, host), -1);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "%sが見つかりません.");
  EXPECT_EQ(host.messages[0].path, path);
}

TEST(SpecialLayers, PipeWithoutDataIsRefusedAtOnce) {
  const Deadline deadline;
  TempDir dir;
  const std::string pipe = dir / "pipe.bmp";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  // A writer that never writes: a reader that opened the pipe would wait for ever.
  const int writer = open(pipe.c_str(), O_RDWR);
  ASSERT_GE(writer, 0);
  ExpectRefused(pipe);
  close(writer);
}

TEST(SpecialLayers, DeviceIsRefused) {
  const Deadline deadline;
  ExpectRefused("/dev/zero");
}

}  // namespace
}  // namespace varnowel::test
