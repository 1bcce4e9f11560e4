// The one 24-bit BMP layout the program reads and writes: field offsets, row sizes, headers.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace varnowel::bmp {

inline constexpr int kFileHeaderSize = 14;
inline constexpr int kInfoHeaderSize = 40;
inline constexpr int kHeaderSize = kFileHeaderSize + kInfoHeaderSize;  // 54

// Offsets of the fields read from layer files.
inline constexpr int kOffsetSignature = 0;
inline constexpr int kOffsetFileSize = 2;
inline constexpr int kOffsetPixelData = 10;
inline constexpr int kOffsetInfoSize = 14;
inline constexpr int kOffsetWidth = 18;
inline constexpr int kOffsetHeight = 22;
inline constexpr int kOffsetPlanes = 26;
inline constexpr int kOffsetBitCount = 28;
inline constexpr int kOffsetCompression = 30;

inline constexpr int kBytesPerPixel = 3;

// Largest file the 32-bit bfSize field can describe.
inline constexpr std::uint64_t kMaxFileSize = 0xFFFFFFFFull;

// Pixel bytes of one row, without fill bytes.
constexpr std::uint64_t RowBytes(std::int32_t width) {
  return std::uint64_t(kBytesPerPixel) * std::uint64_t(width);
}

// Zero bytes after each stored row so that it is a multiple of 4 bytes: width mod 4.
constexpr std::uint64_t FillCount(std::int32_t width) {
  return (4 - RowBytes(width) % 4) % 4;
}

// Bytes of one stored row, fill bytes included.
constexpr std::uint64_t RowStride(std::int32_t width) { return RowBytes(width) + FillCount(width); }

// Length of the whole file written for a width x height picture (both >= 0).
constexpr std::uint64_t FileSize(std::int32_t width, std::int32_t height) {
  return kHeaderSize + RowStride(width) * std::uint64_t(height);
}

// The 54 header bytes of the file written for a width x height picture; the size must fit
// kMaxFileSize.
std::array<std::uint8_t, kHeaderSize> MakeHeader(std::int32_t width, std::int32_t height);

// Little-endian field readers over a header held in memory.
std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, int offset);
std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, int offset);
std::int32_t ReadI32(std::span<const std::uint8_t> bytes, int offset);

}  // namespace varnowel::bmp
