// The one 24-bit BMP layout the program reads and writes: field offsets, row sizes, headers.
#include "varnowel/bmp_layout.h"

namespace varnowel::bmp {

namespace {

void PutU16(std::array<std::uint8_t, kHeaderSize>& out, int offset, std::uint16_t value) {
  out[offset] = std::uint8_t(value);
  out[offset + 1] = std::uint8_t(value >> 8);
}

void PutU32(std::array<std::uint8_t, kHeaderSize>& out, int offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[offset + i] = std::uint8_t(value >> (8 * i));
}

}  // namespace

std::array<std::uint8_t, kHeaderSize> MakeHeader(std::int32_t width, std::int32_t height) {
  std::array<std::uint8_t, kHeaderSize> out{};  // every field not set below is 0
  out[0] = 'B';
  out[1] = 'M';
  PutU32(out, kOffsetFileSize, std::uint32_t(FileSize(width, height)));
  PutU32(out, kOffsetPixelData, kHeaderSize);
  PutU32(out, kOffsetInfoSize, kInfoHeaderSize);
  PutU32(out, kOffsetWidth, std::uint32_t(width));
  PutU32(out, kOffsetHeight, std::uint32_t(height));
  PutU16(out, kOffsetPlanes, 1);
  PutU16(out, kOffsetBitCount, 24);
  return out;
}

std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, int offset) {
  return std::uint16_t(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, int offset) {
  return std::uint32_t(bytes[offset]) | std::uint32_t(bytes[offset + 1]) << 8 |
         std::uint32_t(bytes[offset + 2]) << 16 | std::uint32_t(bytes[offset + 3]) << 24;
}

std::int32_t ReadI32(std::span<const std::uint8_t> bytes, int offset) {
  return static_cast<std::int32_t>(ReadU32(bytes, offset));
}

}  // namespace varnowel::bmp
