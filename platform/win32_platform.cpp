// The engine's file-system services on Windows; paths are in the process code page.
#include <windows.h>

#include <vector>

#include "native_platform.h"

namespace varnowel {

namespace {

// The folder part of `path`, ready for GetTempFileNameA: "." for a bare name, "C:." for a
// drive-relative one. The walk goes character by character (CharNextA) because a trail
// byte of a double-byte character may be 0x5C, the backslash.
std::string FolderOf(const std::string& path) {
  const char* folderEnd = nullptr;
  for (const char* at = path.c_str(); *at != '\0'; at = CharNextA(at)) {
    if (*at == '\\' || *at == '/' || *at == ':') folderEnd = at + 1;
  }
  if (folderEnd == nullptr) return ".";
  std::string folder(path.c_str(), folderEnd);
  if (folder.back() == ':') folder += '.';
  return folder;
}

}  // namespace

std::optional<std::string> NativePlatform::CurrentDirectory() {
  std::vector<char> buffer(256);
  for (;;) {
    const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0) return std::nullopt;
    // Too small a buffer is answered with the size needed, terminator included.
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length);
  }
}

bool NativePlatform::IsSpecialFile(const std::string& target) {
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  // Device names (NUL, CON, COM1, \\.\...) need not answer GetFileAttributes as files do;
  // what the opened handle is tells them apart from disk files.
  const HANDLE file = CreateFileA(target.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const DWORD type = GetFileType(file);
  CloseHandle(file);
  return type != FILE_TYPE_DISK;
}

std::optional<std::string> NativePlatform::CreateTemporaryFileBeside(const std::string& target) {
  char path[MAX_PATH];
  if (GetTempFileNameA(FolderOf(target).c_str(), "vnw", 0, path) == 0) return std::nullopt;
  return std::string(path);
}

bool NativePlatform::MoveIntoPlace(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace varnowel
