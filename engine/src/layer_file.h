// Reading a layer file: opening it, its header fields, and whether it holds its rows.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "varnowel/bmp_layout.h"
#include "varnowel/status.h"

namespace varnowel {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Moves the stream to a byte offset from the start; 64-bit on every platform.
bool SeekTo(std::FILE* file, std::uint64_t offset);

// An open layer file with the header bytes it holds (up to 54).
struct LayerFile {
  std::string path;
  FilePtr file;
  std::array<std::uint8_t, bmp::kHeaderSize> header{};
  std::size_t headerBytes = 0;

  bool HasSize() const { return headerBytes >= bmp::kOffsetHeight + 4; }
  std::int32_t Width() const { return bmp::ReadI32(header, bmp::kOffsetWidth); }
  std::int32_t Height() const { return bmp::ReadI32(header, bmp::kOffsetHeight); }
  std::uint32_t PixelDataOffset() const { return bmp::ReadU32(header, bmp::kOffsetPixelData); }
};

// Opens `path` for reading and reads its header bytes. Returns LayerNotFound when the file
// does not open or cannot be read at all (a directory, a pipe, a device), else None.
Fault OpenLayerFile(const std::string& path, LayerFile& layer);

// LayerUnsupported unless the header is that of a bottom-up, uncompressed 24-bit BMP.
Fault CheckLayerHeader(const LayerFile& layer);

// LayerTruncated unless the file holds every row its header declares, fill bytes included.
Fault CheckLayerRows(const LayerFile& layer);

}  // namespace varnowel
