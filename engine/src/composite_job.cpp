// The record-based entry points of the dialog: the geometry check and the composition run.
#include "varnowel/composite_job.h"

#include <cstring>
#include <vector>

#include "layer_file.h"
#include "varnowel/composition.h"
#include "varnowel/messages.h"

namespace varnowel {

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif
constexpr const char* kResultName = "fwrite.bmp";

std::string TextOf(const char (&field)[kTextSize]) {
  return std::string(field, strnlen(field, kTextSize));
}

// Copies `text` into a record field when it fits with its terminator.
bool StoreText(char (&field)[kTextSize], const std::string& text) {
  if (text.size() >= std::size_t(kTextSize) || text.find('\0') != std::string::npos) return false;
  std::memcpy(field, text.c_str(), text.size() + 1);
  return true;
}

Status Report(const Status& status, Host& host) {
  if (!status.ok()) host.ShowMessage(MessageFor(status));
  return status;
}

// Names the output of a run in the record: "fwrite.bmp" in the current directory, or the
// front end's preview file. Leaves it empty when the path cannot be had or does not fit.
void StoreOutputPath(CompositeJob& job, const Target& target, Host& host) {
  job.outputPath[0] = '\0';
  if (target.kind == TargetKind::Preview) {
    StoreText(job.outputPath, target.previewPath);
    return;
  }
  const auto directory = host.CurrentDirectory();
  if (!directory || !StoreText(job.workDir, *directory)) return;
  // The separator is added as it is: the root C:\ gives "C:\\fwrite.bmp", two in a row.
  StoreText(job.outputPath, *directory + kSeparator + kResultName);
}

}  // namespace

int ReadLayerGeometry(CompositeJob& job, std::int32_t& width, std::int32_t& height, Host& host) {
  for (int i = 0; i < kLayerCount; ++i) {
    if (job.enabled[i] != 1) continue;
    LayerFile layer;
    const std::string path = TextOf(job.layerPath[i]);
    if (OpenLayerFile(path, layer) != Fault::None) {
      Report({Fault::LayerNotFound, path}, host);
      return -1;
    }
    if (!layer.HasSize()) {
      Report({Fault::LayerUnsupported, path}, host);
      return -1;
    }
    job.width[i] = layer.Width();
    job.height[i] = layer.Height();
  }
  int reference = -1;
  for (int i = 0; i < kLayerCount; ++i) {
    if (job.enabled[i] != 1) continue;
    if (reference < 0) {
      reference = i;
    } else if (job.width[i] != job.width[reference] || job.height[i] != job.height[reference]) {
      Report({Fault::SizesDiffer, TextOf(job.layerPath[i])}, host);
      return -1;
    }
  }
  if (reference >= 0) {
    width = job.width[reference];
    height = job.height[reference];
  }
  return 0;
}

Status RunComposition(std::int32_t width, std::int32_t height, CompositeJob& job,
                      const Target& target, Host& host) {
  // An output path that cannot be had stays empty: the layers are still checked first, and
  // the empty path then fails to open.
  StoreOutputPath(job, target, host);
  std::vector<LayerSource> layers;
  for (int i = 0; i < kLayerCount; ++i) {
    if (job.enabled[i] != 1) continue;
    layers.push_back({TextOf(job.layerPath[i]), job.transparency[i], job.grayscale[i] == 1});
  }
  return Report(ComposeLayers({width, height}, layers, job.outputPath, host), host);
}

}  // namespace varnowel
