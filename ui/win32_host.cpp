// The engine's host in the dialog program.
#include "win32_host.h"

#include <windows.h>

#include "message_box.h"

void Win32Host::ShowMessage(const varnowel::Message& message) {
  // The engine's boxes have no owner. Task-modal, they still disable the main dialog, so no
  // second command can start while the first one waits on its message.
  ShowMessageBox(nullptr, message.text, message.caption, message.path, MB_OK | MB_TASKMODAL);
}

std::optional<std::string> Win32Host::CurrentDirectory() { return platform_.CurrentDirectory(); }

std::optional<std::string> Win32Host::CreateTemporaryFileBeside(const std::string& target) {
  return platform_.CreateTemporaryFileBeside(target);
}

bool Win32Host::IsSpecialFile(const std::string& target) { return platform_.IsSpecialFile(target); }

bool Win32Host::MoveIntoPlace(const std::string& from, const std::string& to) {
  return platform_.MoveIntoPlace(from, to);
}
