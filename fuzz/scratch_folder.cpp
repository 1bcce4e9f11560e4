// The fuzzers' scratch folder and the few file operations they need.
#include "scratch_folder.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace varnowel::fuzz {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
  path_ = fs::temp_directory_path() / ("varnowel-fuzz-" + std::to_string(getpid()));
  fs::remove_all(path_);
  fs::create_directory(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void ScratchFolder::Clear() const {
  for (const auto& entry : fs::directory_iterator(path_)) fs::remove_all(entry.path());
}

void WriteFile(const std::string& path, std::span<const std::uint8_t> bytes,
               std::uint64_t extraZeros) {
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out.good()) Broken("cannot write a scratch file");
  }
  if (extraZeros > 0) fs::resize_file(path, bytes.size() + extraZeros);
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::error_code failed;
  std::vector<std::uint8_t> bytes(fs::file_size(path, failed));
  if (failed || !in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size())))
    Broken("cannot read a scratch file");
  return bytes;
}

void Broken(const char* what) {
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

}  // namespace varnowel::fuzz
