// A host for the fuzzers: the real platform, and the engine's messages counted, not shown.
#pragma once

#include "native_platform.h"
#include "varnowel/host.h"

namespace varnowel::fuzz {

class QuietHost final : public Host {
 public:
  int messagesShown = 0;

  std::optional<std::string> CurrentDirectory() override { return platform_.CurrentDirectory(); }
  std::optional<std::string> CreateTemporaryFileBeside(const std::string& target) override {
    return platform_.CreateTemporaryFileBeside(target);
  }
  bool IsSpecialFile(const std::string& target) override {
    return platform_.IsSpecialFile(target);
  }
  bool MoveIntoPlace(const std::string& from, const std::string& to) override {
    return platform_.MoveIntoPlace(from, to);
  }
  void ShowMessage(const Message&) override { ++messagesShown; }

 private:
  NativePlatform platform_;
};

}  // namespace varnowel::fuzz
