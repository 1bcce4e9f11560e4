// Layer files for the benchmarks, written row by row so that making them takes little memory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace varnowel::bench {

// Writes a width x height 24-bit BMP: diagonal stripes in shades of the colour of `index`
// (0, 1, 2) on white, so about a third of each layer is see-through. Returns false when the file cannot be written.
bool WriteBenchLayer(const std::string& path, std::int32_t width, std::int32_t height, int index);

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace varnowel::bench
