// The geometry check before a run: sizes read into the record, compared, handed back.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <vector>

#include "engine_helpers.h"
#include "test_host.h"
#include "varnowel/composite_job.h"
#include "varnowel/composition.h"
#include "varnowel/messages.h"

namespace varnowel::test {
namespace {

enum class FileKind { Picture, TopDown, Missing, Directory, Stub };

struct Row {
  std::int32_t enabled = 0;
  std::int32_t width = 3;
  std::int32_t height = 2;
  FileKind kind = FileKind::Picture;
};

struct GeometryCase {
  const char* name;
  std::array<Row, 3> rows;
  int result;
  Geometry handedBack;
  Fault message = Fault::None;  // None: no message
  int messageLayer = 0;         // the layer whose path the message names
};

// What the caller's width and height hold before the call, to see whether they are written.
constexpr Geometry kUntouched{-7, -9};
// What the record holds from an earlier command for every layer.
constexpr std::int32_t kStaleWidth = 99, kStaleHeight = 98;

class Geometries : public ::testing::TestWithParam<GeometryCase> {
 protected:
  TempDir dir;
  TestHost host;
  CompositeJob job{};

  std::string MakeFile(int index, const Row& row) {
    const std::string name = "layer" + std::to_string(index) + ".bmp";
    const std::string path = dir / name;
    switch (row.kind) {
      case FileKind::Picture:
        return WriteLayer(dir, name, Picture(row.width, row.height));
      case FileKind::TopDown:
        return WriteLayer(dir, name, Picture(row.width, row.height), {.topDown = true});
      case FileKind::Missing:
        return path;
      case FileKind::Directory:
        std::filesystem::create_directory(path);
        return path;
      case FileKind::Stub:
        WriteBytes(path, {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0});
        return path;
    }
    return path;
  }
};

TEST_P(Geometries, ReadCompareHandBack) {
  const GeometryCase& c = GetParam();
  for (int i = 0; i < kLayerCount; ++i) {
    EnableLayer(job, i, MakeFile(i, c.rows[i]));
    job.enabled[i] = c.rows[i].enabled;
    job.width[i] = kStaleWidth;
    job.height[i] = kStaleHeight;
  }
  Geometry size = kUntouched;
  EXPECT_EQ(ReadLayerGeometry(job, size.width, size.height, host), c.result);
  EXPECT_EQ(size.width, c.handedBack.width);
  EXPECT_EQ(size.height, c.handedBack.height);

  if (c.message == Fault::None) {
    EXPECT_TRUE(host.messages.empty());
  } else {
    ASSERT_EQ(host.messages.size(), 1u);
    const Message expected = MessageFor({c.message, job.layerPath[c.messageLayer]});
    EXPECT_EQ(host.messages[0].text, expected.text);
    EXPECT_EQ(host.messages[0].caption, expected.caption);
    EXPECT_EQ(FormatMessageText(host.messages[0]), FormatMessageText(expected));
  }
  // Layers that were read hold their own size; layers that are off keep what they had.
  const bool allRead = c.message == Fault::None || c.message == Fault::SizesDiffer;
  for (int i = 0; i < kLayerCount; ++i) {
    const Row& row = c.rows[i];
    if (row.enabled != 1) {
      EXPECT_EQ(job.width[i], kStaleWidth) << "layer " << i;
      EXPECT_EQ(job.height[i], kStaleHeight) << "layer " << i;
    } else if (allRead) {
      EXPECT_EQ(job.width[i], row.width) << "layer " << i;
      EXPECT_EQ(job.height[i], row.kind == FileKind::TopDown ? -row.height : row.height)
          << "layer " << i;
    }
  }
}

constexpr Row kOff{0, 5, 5, FileKind::Missing};

INSTANTIATE_TEST_SUITE_P(
    Cases, Geometries,
    ::testing::Values(
        GeometryCase{"OneLayer", {{{1, 3, 2}, kOff, kOff}}, 0, {3, 2}},
        GeometryCase{"OnlyTheLastLayer", {{kOff, kOff, {1, 7, 1}}}, 0, {7, 1}},
        GeometryCase{"ThreeAgree", {{{1, 3, 2}, {1, 3, 2}, {1, 3, 2}}}, 0, {3, 2}},
        GeometryCase{"NoLayerOpensNothing", {{kOff, kOff, kOff}}, 0, kUntouched},
        GeometryCase{"OnlyOneCountsAsOn", {{{2, 3, 2, FileKind::Missing}, kOff, {1, 4, 4}}}, 0,
                     {4, 4}},
        GeometryCase{"SameWidthOtherHeight", {{{1, 3, 2}, {1, 3, 5}, kOff}}, -1, kUntouched,
                     Fault::SizesDiffer, 1},
        GeometryCase{"OtherWidth", {{{1, 3, 2}, kOff, {1, 4, 2}}}, -1, kUntouched,
                     Fault::SizesDiffer, 2},
        GeometryCase{"ThirdDiffers", {{{1, 3, 2}, {1, 3, 2}, {1, 3, 3}}}, -1, kUntouched,
                     Fault::SizesDiffer, 2},
        GeometryCase{"OffLayerOfOtherSizeIsNotRead", {{{1, 3, 2}, kOff, {1, 3, 2}}}, 0, {3, 2}},
        GeometryCase{"TopDownBesideBottomUp", {{{1, 3, 2}, {1, 3, 2, FileKind::TopDown}, kOff}},
                     -1, kUntouched, Fault::SizesDiffer, 1},
        // Alone it passes here; the run refuses it.
        GeometryCase{"TopDownAlone", {{{1, 3, 2, FileKind::TopDown}, kOff, kOff}}, 0, {3, -2}},
        GeometryCase{"MissingFile", {{{1, 3, 2}, {1, 3, 2, FileKind::Missing}, kOff}}, -1,
                     kUntouched, Fault::LayerNotFound, 1},
        GeometryCase{"Directory", {{{1, 3, 2, FileKind::Directory}, kOff, kOff}}, -1, kUntouched,
                     Fault::LayerNotFound, 0},
        GeometryCase{"TooShortForASize", {{kOff, {1, 3, 2, FileKind::Stub}, kOff}}, -1,
                     kUntouched, Fault::LayerUnsupported, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MeasureLayers, CommonSizeOrFirstFault) {
  TempDir dir;
  const std::string small = WriteLayer(dir, "small.bmp", Picture(3, 2));
  const std::string tall = WriteLayer(dir, "tall.bmp", Picture(3, 4));
  const std::string missing = dir / "missing.bmp";

  Geometry size{-7, -9};
  EXPECT_TRUE(MeasureLayers({}, size).ok());
  EXPECT_EQ(size.width, -7);

  const LayerSource same[] = {{small}, {small}};
  EXPECT_TRUE(MeasureLayers(same, size).ok());
  EXPECT_EQ(size.width, 3);
  EXPECT_EQ(size.height, 2);

  const LayerSource differ[] = {{small}, {tall}, {missing}};
  const Status status = MeasureLayers(differ, size);
  EXPECT_EQ(status.fault, Fault::SizesDiffer);
  EXPECT_EQ(status.path, tall);

  const LayerSource notFound[] = {{small}, {missing}};
  EXPECT_EQ(MeasureLayers(notFound, size).fault, Fault::LayerNotFound);
  EXPECT_EQ(MeasureLayers(notFound, size).path, missing);
}

}  // namespace
}  // namespace varnowel::test
