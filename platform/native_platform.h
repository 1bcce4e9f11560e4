// The engine's file-system services on the platform the program is built for.
#pragma once

#include "varnowel/host.h"

namespace varnowel {

class NativePlatform final : public Platform {
 public:
  std::optional<std::string> CurrentDirectory() override;
  bool IsSpecialFile(const std::string& target) override;
  std::optional<std::string> CreateTemporaryFileBeside(const std::string& target) override;
  bool MoveIntoPlace(const std::string& from, const std::string& to) override;
};

}  // namespace varnowel
