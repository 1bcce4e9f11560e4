// A host for the engine tests: the real platform underneath, messages kept for inspection.
#pragma once

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
  std::vector<Message> messages;

  std::optional<std::string> CurrentDirectory() override {
    return currentDirectory ? currentDirectory : platform_.CurrentDirectory();
  }
  std::optional<std::string> CreateTemporaryFileBeside(const std::string& target) override {
    return platform_.CreateTemporaryFileBeside(target);
  }
  bool IsSpecialFile(const std::string& target) override {
    return platform_.IsSpecialFile(target);
  }
  bool ReplaceFile(const std::string& from, const std::string& to) override {
    return !refuseReplace && platform_.ReplaceFile(from, to);
  }
  void ShowMessage(const Message& message) override { messages.push_back(message); }

 private:
  NativePlatform platform_;
};

}  // namespace varnowel::test
