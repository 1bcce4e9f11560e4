// Fuzz target: the checks of one layer file that run before any output exists, through every
// entry that makes them (the format test, the measuring, the record's geometry check and the
// run's own header and row checks).
#include <cstdint>
#include <cstring>
#include <string>

#include "layer_file.h"
#include "quiet_host.h"
#include "scratch_folder.h"
#include "varnowel/composite_job.h"
#include "varnowel/composition.h"
#include "varnowel/layer_format.h"

using namespace varnowel;
using namespace varnowel::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFolder folder;
  const std::string path = folder / "layer.bmp";
  WriteFile(path, {data, size});

  const LayerFormat format = ReadLayerFormat(path);
  if (format.fault != Fault::None && format.fault != Fault::LayerUnsupported)
    Broken("the format test failed on a file that exists");
  if (size >= 30 && format.bitCount != (data[28] | data[29] << 8))
    Broken("the format test told another bit count than the file's");
  if (format.fault == Fault::None &&
      (size < 54 || data[0] != 'B' || data[1] != 'M' || format.bitCount != 24))
    Broken("the format test accepted a file that is not a 24-bit BM file");

  LayerFile layer;
  if (OpenLayerFile(path, layer) != Fault::None) Broken("a file that exists did not open");
  if (layer.headerBytes != std::min<std::size_t>(size, bmp::kHeaderSize))
    Broken("the header was not read whole");
  if ((CheckLayerHeader(layer) == Fault::None) != (format.fault == Fault::None))
    Broken("the run's header check and the format test disagree");
  if (CheckLayerHeader(layer) == Fault::None && CheckLayerRows(layer) == Fault::None) {
    const std::uint64_t needed = std::uint64_t(layer.PixelDataOffset()) +
                                 bmp::RowStride(layer.Width()) * std::uint64_t(layer.Height());
    if (needed > size) Broken("the row check passed a file shorter than its rows");
  }

  const LayerSource source{path};
  Geometry measured;
  const Status status = MeasureLayers({&source, 1}, measured);
  if (status.ok() != layer.HasSize()) Broken("measuring and the header disagree on a size");

  CompositeJob job{};
  if (path.size() >= std::size_t(kTextSize)) Broken("the scratch folder's path is too long");
  std::memcpy(job.layerPath[0], path.c_str(), path.size() + 1);
  job.enabled[0] = 1;
  QuietHost host;
  std::int32_t width = 0, height = 0;
  const int checked = ReadLayerGeometry(job, width, height, host);
  if ((checked == 0) != status.ok() || host.messagesShown != (checked == 0 ? 0 : 1))
    Broken("the geometry check and its message disagree with measuring");
  if (checked == 0 && (width != measured.width || height != measured.height))
    Broken("the geometry check and measuring found other sizes");
  return 0;
}
