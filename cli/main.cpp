// varnowel-compose: lays BMP layers onto a white canvas from the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "compose_run.h"
#include "native_platform.h"
#include "options.h"
#include "texts.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Exit statuses, as --help states them.
constexpr int kWritten = 0;
constexpr int kFileFault = 1;
constexpr int kUsageFault = 2;

void Print(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace varnowel::cli;
#ifdef _WIN32
  // The texts are UTF-8 (the manifest makes that the program's code page); a console shows
  // them in its own code page unless told otherwise. Redirected output gets the bytes as they are.
  SetConsoleOutputCP(CP_UTF8);
#endif
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const Options options = ParseOptions(args);
  switch (options.action) {
    case Action::ShowHelp:
      Print(stdout, HelpText());
      return kWritten;
    case Action::ShowVersion:
      Print(stdout, VersionText());
      return kWritten;
    case Action::UsageError:
      Print(stderr, UsageErrorText(options.fault, options.argument));
      return kUsageFault;
    case Action::Compose:
      break;
  }
  varnowel::NativePlatform platform;
  const ComposeReport report = RunCompose(options.layers, options.outputPath, platform);
  if (!report.status.ok()) {
    Print(stderr, FailureText(report));
    return kFileFault;
  }
  Print(stdout, SuccessText(options.outputPath));
  return kWritten;
}
