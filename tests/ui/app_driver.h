// Drives the real varnowel.exe from another process, as a user would: window messages to its
// controls, keystrokes, and the message boxes and dialogs it opens. Every wait is bounded.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace varnowel::uitest {

using namespace std::chrono_literals;
using Duration = std::chrono::milliseconds;

// Bounds of the waits. Generous, because a 32-bit Wine may run under an emulator; a passing
// test returns as soon as the awaited window shows.
inline constexpr Duration kStartWait = 180s;
inline constexpr Duration kReactionWait = 60s;

// A message box or other top-level dialog of the program besides the main dialog.
struct Box {
  HWND window = nullptr;
  std::wstring caption;
  std::wstring text;  // the static 0xFFFF of a message box; empty for other dialogs
};

// How the program under test runs. InProcess: its real dialog, from the real resources, on a
// thread of this test process, with a fresh job record (process-wide state of the dialog code
// stays with the process). Process: the real varnowel.exe as a process of its own, for what only
// a process shows, such as its exit status. A 32-bit Wine may run under an emulator, where every
// process start costs seconds: most tests therefore run in-process.
enum class Launch { InProcess, Process };

// One running program with its current directory; ended at destruction if still running.
class App {
 public:
  explicit App(const std::filesystem::path& currentDirectory, Launch launch = Launch::InProcess);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  HWND dialog() const { return dialog_; }
  HWND Item(int id) const;

  // Control state, read across the process boundary.
  std::wstring Text(int id) const;
  bool Checked(int id) const;
  int BarPosition(int id) const;
  std::pair<int, int> BarRange(int id) const;
  SIZE ClientSize(int id) const;
  HWND Focus() const;

  // User actions. Texts, check marks and scroll codes are sent, so their handling has run
  // when the call returns; clicks, keys and commands are posted, since they may open a
  // modal box that returns only when closed.
  void SetText(int id, const std::wstring& text) const;
  void Click(int id) const;
  void SetChecked(int id, bool checked) const;
  void PressKey(HWND target, WPARAM key) const;
  void Scroll(int barId, int code, int thumb = 0) const;
  void Command(int id) const;

  // The program's visible top-level windows other than the main dialog.
  std::vector<Box> Boxes() const;
  // Waits for a box whose caption is `caption` (any box when empty); fails the test if none.
  std::optional<Box> WaitForBox(const std::wstring& caption = {},
                                Duration wait = kReactionWait) const;
  // Presses OK on a message box and waits until it is gone.
  void Acknowledge(const Box& box) const;
  // Expects that the command under way has ended without opening any further box.
  void ExpectNoBox() const;

  // Waits for the program to end; its exit status, or nothing after the wait.
  std::optional<DWORD> WaitForExit(Duration wait = kReactionWait);
  bool Running() const;

 private:
  void StartInProcess(const std::filesystem::path& currentDirectory);
  void StartProcess(const std::filesystem::path& currentDirectory);
  void WaitForDialog();
  void CloseEverything() const;

  HANDLE running_ = nullptr;  // the dialog thread, or the program's process
  HANDLE extra_ = nullptr;    // the process's main thread handle, to be closed
  DWORD threadId_ = 0;        // the thread that runs the dialog and its boxes
  std::filesystem::path previousDirectory_;
  void* job_ = nullptr;
  HWND dialog_ = nullptr;
};

// Polls `done` until it holds or `wait` has passed; whether it held.
template <typename Predicate>
bool WaitUntil(Predicate done, Duration wait = kReactionWait) {
  const auto end = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    Sleep(20);
  }
}

// Text of any window in another process (WM_GETTEXT, bounded).
std::wstring WindowText(HWND window);
// Sends with a bound; fails the test when the receiver does not answer in time.
LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The program's path as Wine sees it (Z: maps the Unix root).
std::filesystem::path ProgramPath();

// The names of the entries of a folder, sorted.
std::vector<std::wstring> Listing(const std::filesystem::path& folder);

}  // namespace varnowel::uitest
