// The fuzzers' scratch folder: one per process, in the temporary folder (scripts/fuzz points
// TMPDIR at a memory file system).
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace varnowel::fuzz {

// A fresh folder, emptied before every input and removed when the process ends normally.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // Removes everything the last input left in the folder.
  void Clear() const;
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Writes `bytes` to `path`, then makes the file `extraZeros` bytes longer (a hole, no data).
// Aborts when the file cannot be written: the fuzzer's own set-up has failed.
void WriteFile(const std::string& path, std::span<const std::uint8_t> bytes,
               std::uint64_t extraZeros = 0);

std::vector<std::uint8_t> ReadFile(const std::string& path);

// Aborts with `what` on stderr: an input broke a promise of the engine.
[[noreturn]] void Broken(const char* what);

}  // namespace varnowel::fuzz
