// Drives the real varnowel.exe from another process through window messages.
#include "app_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

namespace varnowel::uitest {

namespace {

constexpr UINT kSendWaitMs = 20000;

std::wstring Widen(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

struct WindowSearch {
  DWORD processId;
  bool visibleOnly;
  std::vector<HWND> found;
};

// A named callback: on i686 only a __stdcall function converts to WNDENUMPROC.
BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM lParam) {
  auto& search = *reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search.processId && (!search.visibleOnly || IsWindowVisible(window))) {
    search.found.push_back(window);
  }
  return TRUE;
}

// The top-level windows of one process, the hidden ones too unless `visibleOnly`.
std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly = true) {
  WindowSearch search{processId, visibleOnly, {}};
  EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

std::filesystem::path ProgramPath() {
  std::wstring path = L"Z:" + Widen(VARNOWEL_PROGRAM);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                          kSendWaitMs, &result) == 0) {
    ADD_FAILURE() << "window " << window << " did not answer message 0x" << std::hex << message
                  << std::dec << ": error " << GetLastError();
  }
  return static_cast<LRESULT>(result);
}

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  SendBounded(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return text;
}

App::App(const std::filesystem::path& currentDirectory) {
  const std::filesystem::path program = ProgramPath();
  std::wstring commandLine = L"\"" + program.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      currentDirectory.c_str(), &startup, &process_)) {
    ADD_FAILURE() << "cannot start " << program << ": error " << GetLastError();
    return;
  }
  WaitForDialog();
}

App::~App() {
  if (process_.hProcess == nullptr) return;
  if (Running()) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 20000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

void App::WaitForDialog() {
  const bool shown = WaitUntil(
      [this] {
        for (HWND window : TopLevelWindows(process_.dwProcessId)) {
          if (ClassName(window) == L"#32770" && WindowText(window) == L"Varnowel") {
            dialog_ = window;
            return true;
          }
        }
        return !Running();
      },
      kStartWait);
  if (!shown || dialog_ == nullptr) ADD_FAILURE() << "the main dialog did not show";
}

bool App::Running() const {
  return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> App::WaitForExit(Duration wait) {
  if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(wait.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD status = 0;
  GetExitCodeProcess(process_.hProcess, &status);
  return status;
}

HWND App::Item(int id) const {
  const HWND item = GetDlgItem(dialog_, id);
  if (item == nullptr) ADD_FAILURE() << "the main dialog has no control " << id;
  return item;
}

std::wstring App::Text(int id) const { return WindowText(Item(id)); }

bool App::Checked(int id) const { return SendBounded(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

int App::BarPosition(int id) const {
  return static_cast<int>(SendBounded(Item(id), SBM_GETPOS, 0, 0));
}

std::pair<int, int> App::BarRange(int id) const {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE;
  if (!GetScrollInfo(Item(id), SB_CTL, &info)) ADD_FAILURE() << "no range of bar " << id;
  return {info.nMin, info.nMax};
}

SIZE App::ClientSize(int id) const {
  RECT area{};
  GetClientRect(Item(id), &area);
  return {area.right - area.left, area.bottom - area.top};
}

HWND App::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(process_.dwThreadId, &info)) return nullptr;
  return info.hwndFocus;
}

void App::SetText(int id, const std::wstring& text) const {
  SendBounded(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void App::Click(int id) const { PostMessageW(Item(id), BM_CLICK, 0, 0); }

void App::SetChecked(int id, bool checked) const {
  SendBounded(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void App::PressKey(HWND target, WPARAM key) const {
  const UINT scanCode = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, key, 1 | (scanCode << 16));
  PostMessageW(target, WM_KEYUP, key, 1 | (scanCode << 16) | 0xC0000000u);
}

void App::Scroll(int barId, int code, int thumb) const {
  SendBounded(dialog_, WM_HSCROLL, MAKEWPARAM(code, thumb), reinterpret_cast<LPARAM>(Item(barId)));
}

void App::Command(int id) const { PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

std::vector<Box> App::Boxes() const {
  std::vector<Box> boxes;
  for (HWND window : TopLevelWindows(process_.dwProcessId)) {
    if (window == dialog_ || ClassName(window) != L"#32770") continue;
    Box box{window, WindowText(window), {}};
    if (const HWND text = GetDlgItem(window, 0xFFFF)) box.text = WindowText(text);
    boxes.push_back(box);
  }
  return boxes;
}

std::optional<Box> App::WaitForBox(const std::wstring& caption, Duration wait) const {
  std::optional<Box> found;
  WaitUntil(
      [&] {
        for (const Box& box : Boxes()) {
          if (caption.empty() || box.caption == caption) found = box;
        }
        return found.has_value() || !Running();
      },
      wait);
  if (!found) {
    std::wstring seen;
    for (const Box& box : Boxes()) seen += L"[" + box.caption + L"] ";
    ADD_FAILURE() << "no box captioned \"" << testing::PrintToString(caption)
                  << "\" showed; boxes seen: " << testing::PrintToString(seen);
  }
  return found;
}

void App::Acknowledge(const Box& box) const {
  const HWND ok = GetDlgItem(box.window, IDOK);
  PostMessageW(ok != nullptr ? ok : box.window, ok != nullptr ? BM_CLICK : WM_CLOSE, 0, 0);
  if (!WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); })) {
    ADD_FAILURE() << "the box " << testing::PrintToString(box.caption) << " did not close";
  }
}

void App::ExpectNoBox() const {
  // A message sent now is handled only when the program waits for messages again: in the main
  // dialog's loop once the command has ended, or in the loop of a box opened since, which then
  // exists, though Wine shows it only when its queue first runs empty.
  SendBounded(dialog_, WM_NULL, 0, 0);
  for (HWND window : TopLevelWindows(process_.dwProcessId, false)) {
    if (window == dialog_ || ClassName(window) != L"#32770") continue;
    const HWND text = GetDlgItem(window, 0xFFFF);
    ADD_FAILURE() << "unexpected box " << testing::PrintToString(WindowText(window)) << ": "
                  << testing::PrintToString(text != nullptr ? WindowText(text) : std::wstring());
  }
}

std::vector<std::wstring> Listing(const std::filesystem::path& folder) {
  std::vector<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().wstring());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace varnowel::uitest
