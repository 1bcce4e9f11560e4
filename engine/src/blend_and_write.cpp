// Streams one picture into the output, band by band, so memory follows the width only.
#include <algorithm>
#include <cstring>
#include <memory>

#include "job_files.h"
#include "varnowel/pixel_ops.h"

namespace varnowel {

namespace {

// About this many bytes of stored rows per band and buffer, always at least one row: small
// enough that a band of the canvas and of a layer stay in the cache between read, blend and
// write, large enough that a read or write call moves many rows.
constexpr std::uint64_t kBandBytes = std::uint64_t(1) << 19;

bool WriteAll(std::FILE* output, const std::uint8_t* bytes, std::size_t count) {
  return std::fwrite(bytes, 1, count, output) == count;
}

bool ReadAll(LayerStream& layer, std::uint8_t* bytes, std::size_t count) {
  return std::fread(bytes, 1, count, layer.file.file.get()) == count;
}

// The bands of a picture: rows as stored, fill bytes included, so that a band is read and
// written whole.
struct Bands {
  std::int32_t width;
  std::size_t height;
  std::size_t rowBytes;  // pixel bytes of a row
  std::size_t stride;    // the same with the fill bytes
  std::size_t bandRows;  // rows of every band but perhaps the last

  explicit Bands(Geometry size)
      : width(size.width),
        height(std::size_t(size.height)),
        rowBytes(bmp::RowBytes(size.width)),
        stride(bmp::RowStride(size.width)),
        bandRows(std::size_t(std::clamp<std::uint64_t>(kBandBytes / stride, 1, height))) {}

  std::size_t Count() const { return (height + bandRows - 1) / bandRows; }
  std::size_t Rows(std::size_t band) const { return std::min(bandRows, height - band * bandRows); }
  std::size_t Bytes(std::size_t band) const { return Rows(band) * stride; }

  // Calls run(offset, rows) on stretches of whole rows of `band` that hold no fill bytes: the
  // whole band at once when rows have none, else row by row.
  template <typename Run>
  void ForEachStretch(std::size_t band, Run run) const {
    const std::size_t rows = Rows(band);
    if (rowBytes == stride) return run(std::size_t(0), std::int32_t(rows));
    for (std::size_t r = 0; r < rows; ++r) run(r * stride, std::int32_t(1));
  }

  // Zero bytes after each row of `band` in `bytes`, as the output has them.
  void ClearFill(std::size_t band, std::uint8_t* bytes) const {
    for (std::size_t r = 0; rowBytes != stride && r < Rows(band); ++r)
      std::memset(bytes + r * stride + rowBytes, 0, stride - rowBytes);
  }
};

}  // namespace

Status BlendAndWriteImage(Geometry size, std::span<LayerStream> layers, std::FILE* output) {
  const Status writeFailed{Fault::OutputWriteFailed, {}};
  const auto header = bmp::MakeHeader(size.width, size.height);
  if (!WriteAll(output, header.data(), header.size())) return writeFailed;
  if (size.width == 0 || size.height == 0) return {};

  for (LayerStream& layer : layers) {
    if (!SeekTo(layer.file.file.get(), layer.file.PixelDataOffset()))
      return {Fault::LayerTruncated, layer.file.path};
  }
  const Bands bands(size);
  // The lowest layer laid down opaque onto the white canvas leaves exactly its own bytes,
  // white where it is see-through: its rows are read straight into the canvas.
  const bool lowestIsCanvas = !layers.empty() && layers.front().transparency <= 0;
  const std::span<LayerStream> blended = layers.subspan(lowestIsCanvas ? 1 : 0);
  // Every byte of a buffer is written before it is read.
  const std::size_t bufferBytes = bands.bandRows * bands.stride;
  const auto canvas = std::make_unique_for_overwrite<std::uint8_t[]>(bufferBytes);
  const auto layerRows =
      std::make_unique_for_overwrite<std::uint8_t[]>(blended.empty() ? 0 : bufferBytes);

  for (std::size_t band = 0; band < bands.Count(); ++band) {
    const std::size_t bytes = bands.Bytes(band);
    if (lowestIsCanvas) {
      LayerStream& lowest = layers.front();
      if (!ReadAll(lowest, canvas.get(), bytes)) return {Fault::LayerTruncated, lowest.file.path};
      if (lowest.grayscale) {
        bands.ForEachStretch(band, [&](std::size_t offset, std::int32_t height) {
          GrayscaleLayer(canvas.get() + offset, bands.width, height);
        });
      }
    } else {
      bands.ForEachStretch(band, [&](std::size_t offset, std::int32_t height) {
        std::memset(canvas.get() + offset, 0xFF, bands.rowBytes * std::size_t(height));
      });
    }
    bands.ClearFill(band, canvas.get());  // a layer file's fill bytes may hold anything
    for (LayerStream& layer : blended) {
      if (!ReadAll(layer, layerRows.get(), bytes)) return {Fault::LayerTruncated, layer.file.path};
      bands.ForEachStretch(band, [&](std::size_t offset, std::int32_t height) {
        if (layer.grayscale) GrayscaleLayer(layerRows.get() + offset, bands.width, height);
        BlendLayer(canvas.get() + offset, layerRows.get() + offset, bands.width, height,
                   layer.transparency);
      });
    }
    if (!WriteAll(output, canvas.get(), bytes)) return writeFailed;
  }
  return {};
}

}  // namespace varnowel
