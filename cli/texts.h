// Every text varnowel-compose prints: help, version, usage errors, failures, success.
#pragma once

#include <string>
#include <string_view>

#include "compose_run.h"
#include "options.h"

namespace varnowel::cli {

// Each text ends with a newline.
std::string_view HelpText();
std::string VersionText();
// The fault, then a hint to --help.
std::string UsageErrorText(UsageFault fault, std::string_view argument);
// One line naming the file concerned. `report.status` must not be ok.
std::string FailureText(const ComposeReport& report);
std::string SuccessText(const std::string& outputPath);

}  // namespace varnowel::cli
