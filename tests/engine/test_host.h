// A host for the engine tests: the real platform underneath, messages kept for inspection.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "native_platform.h"
#include "varnowel/host.h"

namespace varnowel::test {

class TestHost final : public Host {
 public:
  // When set, stands in for the process's current directory.
  std::optional<std::string> currentDirectory;
  // When true, moving the finished file over the target fails as a busy target would.
  bool refuseReplace = false;
  // Set when a run tried to replace a device or folder instead of writing it in place.
  bool replacedSpecialFile = false;
  std::vector<Message> messages;
  // How often a run began an output file beside its target.
  int temporaryFilesCreated = 0;
  // When set, is done as a run begins its output file: after all its checks, before any row
  // is read. Lets a test change a layer at that moment.
  std::function<void()> beforeOutput;

  std::optional<std::string> CurrentDirectory() override {
    return currentDirectory ? currentDirectory : platform_.CurrentDirectory();
  }
  std::optional<std::string> CreateTemporaryFileBeside(const std::string& target) override {
    ++temporaryFilesCreated;
    if (beforeOutput) beforeOutput();
    return platform_.CreateTemporaryFileBeside(target);
  }
  bool IsSpecialFile(const std::string& target) override {
    return platform_.IsSpecialFile(target);
  }
  // Never lets a run move a file over a device: the tests run as root, and a faulty engine
  // would otherwise turn /dev/null into a regular file for the whole machine.
  bool MoveIntoPlace(const std::string& from, const std::string& to) override {
    if (platform_.IsSpecialFile(to)) {
      replacedSpecialFile = true;
      return false;
    }
    return !refuseReplace && platform_.MoveIntoPlace(from, to);
  }
  void ShowMessage(const Message& message) override { messages.push_back(message); }

 private:
  NativePlatform platform_;
};

}  // namespace varnowel::test
