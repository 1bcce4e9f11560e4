// Small BMP pictures made in the tests, and files and folders that clean up after themselves.
#include "bmp_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

namespace varnowel::test {

namespace {

void PutU16(std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t value) {
  out[at] = std::uint8_t(value);
  out[at + 1] = std::uint8_t(value >> 8);
}

void PutU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = std::uint8_t(value >> (8 * i));
}

std::uint32_t GetU32(const std::vector<std::uint8_t>& in, std::size_t at) {
  return std::uint32_t(in[at]) | std::uint32_t(in[at + 1]) << 8 | std::uint32_t(in[at + 2]) << 16 |
         std::uint32_t(in[at + 3]) << 24;
}

}  // namespace

Picture::Picture(std::int32_t w, std::int32_t h, Pixel fill)
    : width(w), height(h), pixels(std::size_t(w) * std::size_t(h), fill) {}

std::vector<std::uint8_t> EncodeBmp(const Picture& picture, const BmpVariant& variant) {
  const std::size_t stride = (std::size_t(picture.width) * 3 + 3) / 4 * 4;
  const std::size_t offBits = 14 + variant.infoSize + variant.gapBytes;
  std::vector<std::uint8_t> out(offBits + stride * std::size_t(picture.height), 0);
  out[0] = std::uint8_t(variant.signature[0]);
  out[1] = std::uint8_t(variant.signature[1]);
  PutU32(out, 2, std::uint32_t(out.size()));
  PutU32(out, 10, std::uint32_t(offBits));
  PutU32(out, 14, variant.infoSize);
  PutU32(out, 18, std::uint32_t(picture.width));
  PutU32(out, 22, std::uint32_t(variant.topDown ? -picture.height : picture.height));
  PutU16(out, 26, 1);
  PutU16(out, 28, variant.bitCount);
  PutU32(out, 30, variant.compression);
  // Bytes of the gap and of the larger headers' extra fields are not zero, so a reader that
  // starts at byte 54 regardless of bfOffBits reads visibly wrong pixels.
  for (std::size_t i = 54; i < offBits; ++i) out[i] = std::uint8_t(0x5A + i);
  for (std::int32_t row = 0; row < picture.height; ++row) {
    const std::int32_t source = variant.topDown ? picture.height - 1 - row : row;
    for (std::int32_t x = 0; x < picture.width; ++x) {
      const Pixel p = picture.at(x, source);
      const std::size_t at = offBits + std::size_t(row) * stride + std::size_t(x) * 3;
      out[at] = p.blue;
      out[at + 1] = p.green;
      out[at + 2] = p.red;
    }
  }
  out.resize(out.size() - std::min(variant.cutBytes, out.size()));
  return out;
}

Picture DecodeBmp(const std::vector<std::uint8_t>& bytes) {
  Picture picture;
  EXPECT_GE(bytes.size(), 54u);
  if (bytes.size() < 54) return picture;
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(bytes[28], 24);
  const std::uint32_t offBits = GetU32(bytes, 10);
  picture = Picture(std::int32_t(GetU32(bytes, 18)), std::int32_t(GetU32(bytes, 22)));
  const std::size_t stride = (std::size_t(picture.width) * 3 + 3) / 4 * 4;
  EXPECT_GE(bytes.size(), offBits + stride * std::size_t(picture.height));
  if (bytes.size() < offBits + stride * std::size_t(picture.height)) return Picture();
  for (std::int32_t row = 0; row < picture.height; ++row) {
    for (std::int32_t x = 0; x < picture.width; ++x) {
      const std::size_t at = offBits + std::size_t(row) * stride + std::size_t(x) * 3;
      picture.at(x, row) = {bytes[at], bytes[at + 1], bytes[at + 2]};
    }
  }
  return picture;
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::string ReadText(const std::filesystem::path& path) {
  const std::vector<std::uint8_t> bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

std::set<std::string> NamesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

TempDir::TempDir() {
  std::random_device random;
  for (;;) {
    path_ = std::filesystem::temp_directory_path() /
            ("varnowel-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace varnowel::test
