// The engine's file-system services on POSIX systems.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "native_platform.h"

namespace varnowel {

std::optional<std::string> NativePlatform::CurrentDirectory() {
  std::vector<char> buffer(256);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return std::nullopt;
    buffer.resize(buffer.size() * 2);
  }
  return std::string(buffer.data());
}

bool NativePlatform::IsSpecialFile(const std::string& target) {
  struct stat info;
  return stat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

std::optional<std::string> NativePlatform::CreateTemporaryFileBeside(const std::string& target) {
  const auto slash = target.rfind('/');
  std::string pattern = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) +
                        ".varnowel-XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) return std::nullopt;
  // mkstemp makes the file private; the result gets the mode a newly created file would.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  close(fd);
  return pattern;
}

bool NativePlatform::MoveIntoPlace(const std::string& from, const std::string& to) {
  // The old file is replaced by the finished one in one step. No fsync: a run goes at the speed
  // of the page cache, as other programs' saves do (ext4 writes a file's data out before a rename
  // that replaces another file with it).
  return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace varnowel
