// Small BMP pictures made in the tests, and files and folders that clean up after themselves.
#pragma once

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace varnowel::test {

struct Pixel {
  std::uint8_t blue = 0, green = 0, red = 0;
  bool operator==(const Pixel&) const = default;
};

inline constexpr Pixel kWhite{255, 255, 255};
inline constexpr Pixel kRed{0, 0, 255};
inline constexpr Pixel kBlue{255, 0, 0};

// A picture in stored row order: row 0 is the bottom row, as a bottom-up BMP stores it.
struct Picture {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<Pixel> pixels;  // width x height, row after row

  Picture() = default;
  Picture(std::int32_t w, std::int32_t h, Pixel fill = kWhite);
  Pixel& at(std::int32_t x, std::int32_t row) { return pixels[std::size_t(row) * width + x]; }
  Pixel at(std::int32_t x, std::int32_t row) const { return pixels[std::size_t(row) * width + x]; }
  bool operator==(const Picture&) const = default;
};

// How a layer file departs from the plain 54-byte-header 24-bit BMP.
struct BmpVariant {
  std::uint32_t infoSize = 40;     // 108 or 124 for the larger headers of common tools
  std::uint32_t gapBytes = 0;      // bytes between the headers and the rows (bfOffBits grows)
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  bool topDown = false;            // store a negative height
  char signature[2] = {'B', 'M'};
  std::size_t cutBytes = 0;        // bytes dropped from the end of the file
};

std::vector<std::uint8_t> EncodeBmp(const Picture& picture, const BmpVariant& variant = {});

// Decodes a plain 24-bit bottom-up BMP with rows from bfOffBits; fails the test otherwise.
Picture DecodeBmp(const std::vector<std::uint8_t>& bytes);

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
std::string ReadText(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// The names of the entries of a folder, to show that a run left no stray file behind.
std::set<std::string> NamesIn(const std::filesystem::path& folder);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace varnowel::test
