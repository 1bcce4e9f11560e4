// Layer files for the benchmarks, written row by row so that making them takes little memory.
#include "bench_layers.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "varnowel/bmp_layout.h"

namespace varnowel::bench {

namespace {

// Blue, green, red of each layer's stripes: sky blue, orange, green.
constexpr std::uint8_t kColours[3][3] = {{235, 206, 135}, {0, 165, 255}, {80, 175, 76}};

}  // namespace

bool WriteBenchLayer(const std::string& path, std::int32_t width, std::int32_t height, int index) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const auto header = bmp::MakeHeader(width, height);
  bool ok = std::fwrite(header.data(), 1, header.size(), file) == header.size();
  std::vector<std::uint8_t> row(bmp::RowStride(width), 0);
  const std::uint8_t* colour = kColours[index % 3];
  for (std::int32_t y = 0; ok && y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      const bool painted = ((x + y + 40 * index) / 50) % 3 != 0;
      // Shades that drift across the picture, so that every byte value occurs.
      const int shade[3] = {x / 8, y / 8, (x + y) / 16};
      for (int c = 0; c < 3; ++c)
        row[3 * std::size_t(x) + c] = painted ? std::uint8_t(colour[c] + shade[c]) : 0xFF;
    }
    ok = std::fwrite(row.data(), 1, row.size(), file) == row.size();
  }
  return std::fclose(file) == 0 && ok;
}

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "varnowel-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create " + pattern);
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace varnowel::bench
