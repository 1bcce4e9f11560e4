// The engine's host in the dialog program: its messages in task-modal boxes, files through
// the Win32 platform.
#pragma once

#include "native_platform.h"
#include "varnowel/host.h"

class Win32Host final : public varnowel::Host {
 public:
  void ShowMessage(const varnowel::Message& message) override;
  std::optional<std::string> CurrentDirectory() override;
  std::optional<std::string> CreateTemporaryFileBeside(const std::string& target) override;
  bool IsSpecialFile(const std::string& target) override;
  bool MoveIntoPlace(const std::string& from, const std::string& to) override;

 private:
  varnowel::NativePlatform platform_;
};
