// Fuzz target: a whole composition of one to three layer files, through the general entry as
// varnowel-compose runs it and through the record's check and run as the dialog runs them.
// Beyond not crashing, each run must keep the engine's promises: a failed run changes no file
// and leaves none behind; a run that succeeds changes no other file and writes a whole BMP
// whose pixels are those of the layers composed as described.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "compose_run.h"
#include "composition_input.h"
#include "native_platform.h"
#include "quiet_host.h"
#include "scratch_folder.h"
#include "texts.h"
#include "varnowel/bmp_layout.h"
#include "varnowel/composite_job.h"

using namespace varnowel;
using namespace varnowel::fuzz;

namespace {

using Files = std::map<std::string, std::vector<std::uint8_t>>;

Files FilesIn(const ScratchFolder& folder) {
  Files files;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
    files[entry.path().string()] = ReadFile(entry.path().string());
  return files;
}

// The general entry, as varnowel-compose runs it; its message is made as the program makes it.
Status ComposeAsTheProgramDoes(const std::vector<LayerSource>& layers, const std::string& output,
                               Geometry& size) {
  NativePlatform platform;
  const cli::ComposeReport report = cli::RunCompose(layers, output, platform);
  if (!report.status.ok() && cli::FailureText(report).empty()) Broken("a failure without a text");
  size = report.size;
  return report.status;
}

// The geometry check, then the run, as the dialog's compose command calls them.
Status ComposeAsTheDialogDoes(const std::vector<LayerSource>& layers, const std::string& output,
                              Geometry& size) {
  CompositeJob job{};
  for (std::size_t i = 0; i < layers.size(); ++i) {
    if (layers[i].path.size() >= std::size_t(kTextSize)) Broken("scratch path too long");
    std::memcpy(job.layerPath[i], layers[i].path.c_str(), layers[i].path.size() + 1);
    job.enabled[i] = 1;
    job.transparency[i] = layers[i].transparency;
    job.grayscale[i] = layers[i].grayscale ? 1 : 0;
  }
  QuietHost host;
  Status status{Fault::SizesDiffer, {}};  // stands for any refusal of the geometry check
  if (ReadLayerGeometry(job, size.width, size.height, host) == 0)
    status = RunComposition(size.width, size.height, job, {TargetKind::Preview, output}, host);
  if (host.messagesShown != (status.ok() ? 0 : 1)) Broken("not one message for one failure");
  return status;
}

// The picture worked out pixel by pixel as the README and the dialog describe it, from the
// layer files as they were before the run: a white canvas; each layer in turn grayed when
// asked (the truncated mean of its three bytes), its pure white pixels left out, every other
// byte V of the canvas turned to L + (V - L) x T / 100, truncated toward zero, with the
// transparency T held to 0..100. Compared with the result's rows, whose fill bytes are zero.
void ExpectComposedAsDescribed(const std::vector<LayerSource>& layers, const Files& before,
                               const std::vector<std::uint8_t>& result, Geometry size) {
  const std::size_t rowBytes = bmp::RowBytes(size.width);
  const std::size_t stride = bmp::RowStride(size.width);
  if (rowBytes == 0 || size.height == 0) return;  // no pixels, however wide or high
  std::vector<std::uint8_t> expected(stride);
  for (std::size_t row = 0; row < std::size_t(size.height); ++row) {
    std::fill(expected.begin(), expected.begin() + std::ptrdiff_t(rowBytes), 0xFF);
    for (const LayerSource& source : layers) {
      const std::vector<std::uint8_t>& file = before.at(source.path);
      const std::uint8_t* from = file.data() + bmp::ReadU32(file, bmp::kOffsetPixelData) +
                                 row * stride;
      const int t = std::clamp(source.transparency, 0, 100);
      for (std::size_t x = 0; x < rowBytes; x += 3) {
        int pixel[3] = {from[x], from[x + 1], from[x + 2]};
        if (source.grayscale) pixel[0] = pixel[1] = pixel[2] = (pixel[0] + pixel[1] + pixel[2]) / 3;
        if (pixel[0] == 0xFF && pixel[1] == 0xFF && pixel[2] == 0xFF) continue;
        for (int c = 0; c < 3; ++c) {
          const int v = expected[x + std::size_t(c)];
          expected[x + std::size_t(c)] = std::uint8_t(pixel[c] + (v - pixel[c]) * t / 100);
        }
      }
    }
    if (std::memcmp(result.data() + bmp::kHeaderSize + row * stride, expected.data(), stride) != 0)
      Broken("the result's pixels are not those of the layers composed");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFolder folder;
  folder.Clear();
  const CompositionInput input = ParseCompositionInput({data, size});

  std::vector<LayerSource> layers;
  for (std::size_t i = 0; i < input.layers.size(); ++i) {
    const LayerInput& layer = input.layers[i];
    const std::string path = folder / ("layer" + std::to_string(i) + ".bmp");
    WriteFile(path, layer.bytes, layer.holeBytes);
    layers.push_back({path, layer.transparency, layer.grayscale});
  }
  std::string output = folder / "out.bmp";
  if (input.output == OutputKind::EarlierResult) {
    const std::uint8_t earlier[] = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};
    WriteFile(output, earlier);
  } else if (input.output == OutputKind::FirstLayer) {
    output = layers.front().path;
  } else if (input.output == OutputKind::LastLayer) {
    output = layers.back().path;
  }
  const Files before = FilesIn(folder);

  Geometry picture;
  const Status status = input.entry == EntryKind::General
                            ? ComposeAsTheProgramDoes(layers, output, picture)
                            : ComposeAsTheDialogDoes(layers, output, picture);

  Files after = FilesIn(folder);
  if (status.ok()) {
    const auto result = after.find(output);
    if (result == after.end()) Broken("a run that succeeded left no result");
    const auto header = bmp::MakeHeader(picture.width, picture.height);
    if (result->second.size() != bmp::FileSize(picture.width, picture.height) ||
        !std::equal(header.begin(), header.end(), result->second.begin()))
      Broken("the result is not a whole BMP file of the picture's size");
    ExpectComposedAsDescribed(layers, before, result->second, picture);
    after.erase(result);
    Files unchanged = before;
    unchanged.erase(output);
    if (after != unchanged) Broken("a run changed or left a file besides its result");
  } else if (after != before) {
    Broken("a failed run changed or left a file");
  }
  return 0;
}
