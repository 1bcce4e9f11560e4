// Reading a layer file: opening it, its header fields, and whether it holds its rows.
#include "layer_file.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "varnowel/layer_format.h"

namespace varnowel {

bool SeekTo(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

namespace {

std::uint64_t LengthOf(std::FILE* file) {
#ifdef _WIN32
  if (_fseeki64(file, 0, SEEK_END) != 0) return 0;
  long long length = _ftelli64(file);
#else
  if (fseeko(file, 0, SEEK_END) != 0) return 0;
  off_t length = ftello(file);
#endif
  return length < 0 ? 0 : static_cast<std::uint64_t>(length);
}

// A pipe, a socket or a device is no layer file: opening a pipe waits for a writer, reading a
// terminal waits for its user, and a run opens each layer more than once. Windows paths name
// no such things among files.
bool IsPipeOrDevice(const std::string& path) {
#ifdef _WIN32
  (void)path;
  return false;
#else
  struct stat info;
  return stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
#endif
}

}  // namespace

Fault OpenLayerFile(const std::string& path, LayerFile& layer) {
  layer.path = path;
  if (IsPipeOrDevice(path)) return Fault::LayerNotFound;
  layer.file.reset(std::fopen(path.c_str(), "rb"));
  if (!layer.file) return Fault::LayerNotFound;
  layer.headerBytes = std::fread(layer.header.data(), 1, layer.header.size(), layer.file.get());
  // A directory opens for reading on POSIX but yields a read error, not an end of file.
  if (std::ferror(layer.file.get())) {
    layer.file.reset();
    return Fault::LayerNotFound;
  }
  return Fault::None;
}

Fault CheckLayerHeader(const LayerFile& layer) {
  const auto& h = layer.header;
  if (layer.headerBytes < std::size_t(bmp::kHeaderSize)) return Fault::LayerUnsupported;
  if (h[0] != 'B' || h[1] != 'M') return Fault::LayerUnsupported;
  const std::uint32_t infoSize = bmp::ReadU32(h, bmp::kOffsetInfoSize);
  if (infoSize < std::uint32_t(bmp::kInfoHeaderSize)) return Fault::LayerUnsupported;
  // Rows that would start inside the headers are a damaged file, not a picture.
  if (layer.PixelDataOffset() < std::uint64_t(bmp::kFileHeaderSize) + infoSize)
    return Fault::LayerUnsupported;
  if (bmp::ReadU16(h, bmp::kOffsetBitCount) != 24) return Fault::LayerUnsupported;
  if (bmp::ReadU32(h, bmp::kOffsetCompression) != 0) return Fault::LayerUnsupported;
  if (layer.Width() < 0 || layer.Height() < 0) return Fault::LayerUnsupported;
  return Fault::None;
}

Fault CheckLayerRows(const LayerFile& layer) {
  const std::uint64_t needed = std::uint64_t(layer.PixelDataOffset()) +
                               bmp::RowStride(layer.Width()) * std::uint64_t(layer.Height());
  return LengthOf(layer.file.get()) >= needed ? Fault::None : Fault::LayerTruncated;
}

LayerFormat ReadLayerFormat(const std::string& path) {
  LayerFile layer;
  LayerFormat format;
  format.fault = OpenLayerFile(path, layer);
  if (format.fault != Fault::None) return format;
  if (layer.headerBytes >= std::size_t(bmp::kOffsetBitCount + 2))
    format.bitCount = bmp::ReadU16(layer.header, bmp::kOffsetBitCount);
  format.fault = CheckLayerHeader(layer);
  return format;
}

}  // namespace varnowel
