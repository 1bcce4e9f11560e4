// Drives the real Varnowel dialog through window messages, in this process or in its own.
#include "app_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "app_instance.h"
#include "main_dialog.h"
#include "resource_ids.h"
#include "varnowel/composite_job.h"

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
  DWORD threadId;
  bool visibleOnly;
  std::vector<HWND> found;
};

// A named callback: on i686 only a __stdcall function converts to WNDENUMPROC.
BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM lParam) {
  auto& search = *reinterpret_cast<WindowSearch*>(lParam);
  if (GetWindowThreadProcessId(window, nullptr) == search.threadId &&
      (!search.visibleOnly || IsWindowVisible(window))) {
    search.found.push_back(window);
  }
  return TRUE;
}

// The top-level windows of one thread, the hidden ones too unless `visibleOnly`.
std::vector<HWND> TopLevelWindows(DWORD threadId, bool visibleOnly = true) {
  WindowSearch search{threadId, visibleOnly, {}};
  EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The program's dialog thread, as WinMain would run it: the main dialog with a zeroed record.
DWORD WINAPI RunMainDialog(LPVOID job) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  return static_cast<DWORD>(DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                            MainDlgProc, reinterpret_cast<LPARAM>(job)));
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

App::App(const std::filesystem::path& currentDirectory, Launch launch) {
  if (launch == Launch::InProcess) {
    StartInProcess(currentDirectory);
  } else {
    StartProcess(currentDirectory);
  }
  if (running_ != nullptr) WaitForDialog();
}

void App::StartInProcess(const std::filesystem::path& currentDirectory) {
  appInstance = GetModuleHandleW(nullptr);
  job_ = std::calloc(1, sizeof(varnowel::CompositeJob));
  previousDirectory_ = std::filesystem::current_path();
  std::filesystem::current_path(currentDirectory);
  running_ = CreateThread(nullptr, 0, RunMainDialog, job_, 0, &threadId_);
  if (running_ == nullptr) ADD_FAILURE() << "cannot start the dialog thread: " << GetLastError();
}

void App::StartProcess(const std::filesystem::path& currentDirectory) {
  const std::filesystem::path program = ProgramPath();
  std::wstring commandLine = L"\"" + program.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      currentDirectory.c_str(), &startup, &process)) {
    ADD_FAILURE() << "cannot start " << program << ": error " << GetLastError();
    return;
  }
  running_ = process.hProcess;
  extra_ = process.hThread;
  threadId_ = process.dwThreadId;
}

App::~App() {
  if (running_ != nullptr) {
    if (Running()) CloseEverything();
    if (Running()) {
      ADD_FAILURE() << "the program did not end when asked";
      if (extra_ != nullptr) TerminateProcess(running_, 1);
      else TerminateThread(running_, 1);
      WaitForSingleObject(running_, 20000);
    }
    CloseHandle(running_);
  }
  if (extra_ != nullptr) CloseHandle(extra_);
  // The record stays allocated if the thread had to be terminated: it may still be in use.
  if (job_ != nullptr && !Running()) std::free(job_);
  if (!previousDirectory_.empty()) std::filesystem::current_path(previousDirectory_);
}

// Closes whatever box is open, innermost first, then the main dialog, as a user would.
void App::CloseEverything() const {
  WaitUntil(
      [this] {
        for (HWND window : TopLevelWindows(threadId_)) {
          if (window != dialog_) PostMessageW(window, WM_CLOSE, 0, 0);
        }
        if (TopLevelWindows(threadId_).size() <= 1) Command(IDCANCEL);
        return WaitForSingleObject(running_, 200) == WAIT_OBJECT_0;
      },
      kReactionWait);
}

void App::WaitForDialog() {
  const bool shown = WaitUntil(
      [this] {
        for (HWND window : TopLevelWindows(threadId_)) {
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
  return running_ != nullptr && WaitForSingleObject(running_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> App::WaitForExit(Duration wait) {
  if (WaitForSingleObject(running_, static_cast<DWORD>(wait.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD status = 0;
  if (extra_ != nullptr) GetExitCodeProcess(running_, &status);
  else GetExitCodeThread(running_, &status);
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
  if (!GetGUIThreadInfo(threadId_, &info)) return nullptr;
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
  for (HWND window : TopLevelWindows(threadId_)) {
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
  for (HWND window : TopLevelWindows(threadId_, false)) {
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
