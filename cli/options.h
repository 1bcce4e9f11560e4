// The command line of varnowel-compose, read into the layers to compose and the output path.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "varnowel/composition.h"

namespace varnowel::cli {

inline constexpr const char* kDefaultOutput = "fwrite.bmp";

enum class Action { Compose, ShowHelp, ShowVersion, UsageError };

// What is wrong with a command line; `Options::argument` holds the word concerned.
enum class UsageFault {
  None,
  UnknownOption,       // argument: the option as written
  MissingValue,        // argument: the option that needs a value
  BadTransparency,     // argument: the value given
  TransparencyTwice,   // argument: the second transparency option
  OutputTwice,         // argument: the second output option
  EmptyFileName,       // an empty LAYER or output name
  OptionWithoutLayer,  // argument: the last per-layer option, with no LAYER after it
  NoLayer,
};

struct Options {
  Action action = Action::Compose;
  std::vector<LayerSource> layers;  // in the order given, the first lowest
  std::string outputPath = kDefaultOutput;
  UsageFault fault = UsageFault::None;
  std::string argument;
};

// Reads `args` (the words after the program name). Per-layer options (-t, -g) apply to the
// next LAYER alone; -o may stand anywhere, once. --help and --version win when they come
// before any fault. Never touches the file system.
Options ParseOptions(std::span<const std::string> args);

}  // namespace varnowel::cli
