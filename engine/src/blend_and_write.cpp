// Streams one picture into the output, band by band, so memory follows the width only.
#include <algorithm>
#include <cstring>
#include <vector>

#include "job_files.h"
#include "varnowel/pixel_ops.h"

namespace varnowel {

namespace {

// About this many bytes of stored rows per band and buffer; always at least one row.
constexpr std::uint64_t kBandBytes = std::uint64_t(1) << 20;

bool WriteAll(std::FILE* output, const std::uint8_t* bytes, std::size_t count) {
  return std::fwrite(bytes, 1, count, output) == count;
}

}  // namespace

Status BlendAndWriteImage(Geometry size, std::span<LayerStream> layers, std::FILE* output) {
  const Status writeFailed{Fault::OutputWriteFailed, {}};
  const auto header = bmp::MakeHeader(size.width, size.height);
  if (!WriteAll(output, header.data(), header.size())) return writeFailed;
  if (size.width == 0 || size.height == 0) return {};

  // Bands hold rows as stored, fill bytes included, so a band is read and written whole.
  const std::size_t rowBytes = bmp::RowBytes(size.width);
  const std::size_t stride = bmp::RowStride(size.width);
  const std::size_t bandRows = std::size_t(
      std::clamp<std::uint64_t>(kBandBytes / stride, 1, std::uint64_t(size.height)));
  std::vector<std::uint8_t> canvas(stride * bandRows, 0);
  std::vector<std::uint8_t> band(layers.empty() ? 0 : stride * bandRows);

  for (LayerStream& layer : layers) {
    if (!SeekTo(layer.file.file.get(), layer.file.PixelDataOffset()))
      return {Fault::LayerTruncated, layer.file.path};
  }
  for (std::size_t first = 0; first < std::size_t(size.height); first += bandRows) {
    const std::size_t rows = std::min(bandRows, std::size_t(size.height) - first);
    for (std::size_t r = 0; r < rows; ++r) std::memset(&canvas[r * stride], 0xFF, rowBytes);
    for (LayerStream& layer : layers) {
      if (std::fread(band.data(), 1, rows * stride, layer.file.file.get()) != rows * stride)
        return {Fault::LayerTruncated, layer.file.path};
      for (std::size_t r = 0; r < rows; ++r) {
        std::uint8_t* row = &band[r * stride];
        if (layer.grayscale) GrayscaleLayer(row, size.width, 1);
        BlendLayer(&canvas[r * stride], row, size.width, 1, layer.transparency);
      }
    }
    if (!WriteAll(output, canvas.data(), rows * stride)) return writeFailed;
  }
  return {};
}

}  // namespace varnowel
