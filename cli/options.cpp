// The command line of varnowel-compose, read into the layers to compose and the output path.
#include "options.h"

#include <optional>
#include <string_view>

namespace varnowel::cli {

namespace {

enum class OptionKind { Output, Transparency, Grayscale, Help, Version };

struct OptionSpec {
  std::string_view shortName;  // empty when there is no short form
  std::string_view longName;
  OptionKind kind;
  bool takesValue;
};

constexpr OptionSpec kOptionSpecs[] = {
    {"-o", "--output", OptionKind::Output, true},
    {"-t", "--transparency", OptionKind::Transparency, true},
    {"-g", "--grayscale", OptionKind::Grayscale, false},
    {"", "--help", OptionKind::Help, false},
    {"", "--version", OptionKind::Version, false},
};

// One option word as written: "-t 50", "-t50", "--transparency 50" or "--transparency=50".
struct OptionWord {
  const OptionSpec* spec = nullptr;
  std::string_view name;                  // the option's name as written, without a value
  std::optional<std::string_view> value;  // a value written in the same word
};

std::optional<OptionWord> MatchOption(std::string_view word) {
  for (const OptionSpec& spec : kOptionSpecs) {
    if (word.starts_with("--")) {
      const std::string_view name = word.substr(0, word.find('='));
      if (name != spec.longName) continue;
      if (name.size() == word.size()) return OptionWord{&spec, name, std::nullopt};
      if (!spec.takesValue) return std::nullopt;
      return OptionWord{&spec, name, word.substr(name.size() + 1)};
    }
    if (spec.shortName.empty() || !word.starts_with(spec.shortName)) continue;
    const std::string_view name = word.substr(0, spec.shortName.size());
    if (name.size() == word.size()) return OptionWord{&spec, name, std::nullopt};
    if (!spec.takesValue) return std::nullopt;
    return OptionWord{&spec, name, word.substr(name.size())};
  }
  return std::nullopt;
}

// A whole number from 0 to 100 in decimal digits, leading zeros allowed, no sign.
std::optional<std::int32_t> ParsePercent(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::int32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 100) return std::nullopt;
  }
  return value;
}

// A result that composes nothing: help, version or a usage fault.
Options Only(Action action, UsageFault fault = UsageFault::None, std::string_view argument = {}) {
  Options options;
  options.action = action;
  options.fault = fault;
  options.argument = argument;
  return options;
}

Options Failed(UsageFault fault, std::string_view argument) {
  return Only(Action::UsageError, fault, argument);
}

}  // namespace

Options ParseOptions(std::span<const std::string> args) {
  Options options;
  LayerSource pending;              // what the per-layer options so far say of the next LAYER
  std::string_view pendingOption;   // the last per-layer option not yet used by a LAYER
  bool pendingTransparency = false;
  bool outputGiven = false;
  bool optionsEnded = false;

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    const bool isOption = !optionsEnded && word.size() > 1 && word[0] == '-';
    if (!isOption) {
      if (word.empty()) return Failed(UsageFault::EmptyFileName, word);
      pending.path = word;
      options.layers.push_back(pending);
      pending = LayerSource{};
      pendingOption = {};
      pendingTransparency = false;
      continue;
    }
    if (word == "--") {
      optionsEnded = true;
      continue;
    }
    const std::optional<OptionWord> option = MatchOption(word);
    if (!option) return Failed(UsageFault::UnknownOption, word);

    std::string_view value;
    if (option->spec->takesValue) {
      if (option->value) {
        value = *option->value;
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        return Failed(UsageFault::MissingValue, option->name);
      }
    }

    switch (option->spec->kind) {
      case OptionKind::Help:
        return Only(Action::ShowHelp);
      case OptionKind::Version:
        return Only(Action::ShowVersion);
      case OptionKind::Output:
        if (outputGiven) return Failed(UsageFault::OutputTwice, option->name);
        if (value.empty()) return Failed(UsageFault::EmptyFileName, value);
        options.outputPath = value;
        outputGiven = true;
        break;
      case OptionKind::Transparency: {
        if (pendingTransparency) return Failed(UsageFault::TransparencyTwice, option->name);
        const std::optional<std::int32_t> percent = ParsePercent(value);
        if (!percent) return Failed(UsageFault::BadTransparency, value);
        pending.transparency = *percent;
        pendingTransparency = true;
        pendingOption = word;
        break;
      }
      case OptionKind::Grayscale:
        pending.grayscale = true;
        pendingOption = word;
        break;
    }
  }

  if (!pendingOption.empty()) return Failed(UsageFault::OptionWithoutLayer, pendingOption);
  if (options.layers.empty()) return Failed(UsageFault::NoLayer, {});
  return options;
}

}  // namespace varnowel::cli
