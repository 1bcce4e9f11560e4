// Fuzz target: a whole composition of one to three layer files, through the general entry as
// varnowel-compose runs it and through the record's check and run as the dialog runs them.
// Beyond not crashing, each run must keep the engine's promises: a failed run changes no file
// and leaves none behind; a run that succeeds writes a whole BMP and changes no other file.
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

// One opaque layer on the white canvas gives back that layer's rows, fill bytes zeroed. The
// layer, having passed its checks, holds every row.
void ExpectCopyOf(const std::vector<std::uint8_t>& layer, const std::vector<std::uint8_t>& result,
                  Geometry size) {
  const std::uint32_t offset = bmp::ReadU32(layer, bmp::kOffsetPixelData);
  const std::size_t rowBytes = bmp::RowBytes(size.width);
  const std::size_t stride = bmp::RowStride(size.width);
  const std::uint8_t zeros[3] = {};
  if (rowBytes == 0) return;  // rows of no bytes, however many
  for (std::size_t row = 0; row < std::size_t(size.height); ++row) {
    const std::uint8_t* from = layer.data() + offset + row * stride;
    const std::uint8_t* to = result.data() + bmp::kHeaderSize + row * stride;
    if (std::memcmp(from, to, rowBytes) != 0 ||
        std::memcmp(to + rowBytes, zeros, stride - rowBytes) != 0)
      Broken("one opaque layer was not copied as it is");
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
    const LayerSource& first = layers.front();
    if (layers.size() == 1 && first.transparency <= 0 && !first.grayscale)
      ExpectCopyOf(before.at(first.path), result->second, picture);
    after.erase(result);
    Files unchanged = before;
    unchanged.erase(output);
    if (after != unchanged) Broken("a run changed or left a file besides its result");
  } else if (after != before) {
    Broken("a failed run changed or left a file");
  }
  return 0;
}
