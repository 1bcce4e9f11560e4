// What the engine asks of the platform it runs on; each front end supplies one.
#pragma once

#include <optional>
#include <string>

namespace varnowel {

// File-system services that standard C++ does not offer portably. Paths are in the
// process code page; the implementation splits them, never the engine.
class Platform {
 public:
  virtual ~Platform() = default;

  // The current working directory, or nothing when it cannot be queried.
  virtual std::optional<std::string> CurrentDirectory() = 0;

  // Creates a new, empty, uniquely named file in the folder of `target` and returns its
  // path, or nothing when the folder does not take a new file.
  virtual std::optional<std::string> CreateTemporaryFileBeside(const std::string& target) = 0;

  // True when `target` exists and is not a regular file (a device, a pipe): such an output
  // is written in place rather than replaced.
  virtual bool IsSpecialFile(const std::string& target) = 0;

  // Moves the finished file `from` over `to`, replacing a file of that name in one step.
  // Returns false when it could not; `from` is then still there.
  virtual bool MoveIntoPlace(const std::string& from, const std::string& to) = 0;
};

// One of the engine's messages: `text` is UTF-8 and may hold one "%s", which stands for
// `path` (process code page). Shown with no owner window and one OK button.
struct Message {
  std::string text;
  std::string caption;
  std::string path;
};

// The host of the record-based runs: a platform that can also show the engine's messages.
class Host : public Platform {
 public:
  virtual void ShowMessage(const Message& message) = 0;
};

}  // namespace varnowel
