// Reading varnowel-compose's command line: which layers, with which settings, to which file.
#include "options.h"

#include <gtest/gtest.h>

#include <ostream>

namespace varnowel::cli {
namespace {

struct Layer {
  std::string path;
  std::int32_t transparency = 0;
  bool grayscale = false;
  bool operator==(const Layer&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Layer& layer) {
  return out << "{" << layer.path << ", t=" << layer.transparency << ", g=" << layer.grayscale
             << "}";
}

struct ParseCase {
  const char* name;
  std::vector<std::string> args;
  Action action;
  std::vector<Layer> layers;
  std::string output = kDefaultOutput;
  UsageFault fault = UsageFault::None;
  std::string argument = {};
};

std::ostream& operator<<(std::ostream& out, const ParseCase& c) { return out << c.name; }

const ParseCase kComposeCases[] = {
    {"OneLayerOpaqueToDefaultOutput", {"a.bmp"}, Action::Compose, {{"a.bmp"}}},
    {"OptionsApplyToTheNextLayerOnly",
     {"-t", "40", "-g", "a.bmp", "b.bmp"},
     Action::Compose,
     {{"a.bmp", 40, true}, {"b.bmp"}}},
    {"OptionsOnALaterLayerLeaveEarlierOnes",
     {"a.bmp", "-g", "b.bmp", "-t", "7", "c.bmp"},
     Action::Compose,
     {{"a.bmp"}, {"b.bmp", 0, true}, {"c.bmp", 7}}},
    {"AnyNumberOfLayersInOrder",
     {"a", "b", "c", "d", "-t", "100", "e"},
     Action::Compose,
     {{"a"}, {"b"}, {"c"}, {"d"}, {"e", 100}}},
    {"LongFormsWithSpaceAndEquals",
     {"--transparency", "0", "--grayscale", "a", "--transparency=100", "b", "--output=o.bmp"},
     Action::Compose,
     {{"a", 0, true}, {"b", 100}},
     "o.bmp"},
    {"ValueJoinedToShortOption", {"-t5", "a", "-oout.bmp"}, Action::Compose, {{"a", 5}}, "out.bmp"},
    {"LeadingZerosAreDecimal", {"-t", "010", "a"}, Action::Compose, {{"a", 10}}},
    {"OutputMayStandBetweenAnOptionAndItsLayer",
     {"-g", "-o", "x.bmp", "a"},
     Action::Compose,
     {{"a", 0, true}},
     "x.bmp"},
    {"OutputNameMayStartWithADash", {"-o", "-x.bmp", "a"}, Action::Compose, {{"a"}}, "-x.bmp"},
    {"DoubleDashEndsOptions",
     {"-g", "--", "-x", "--help", "-t"},
     Action::Compose,
     {{"-x", 0, true}, {"--help"}, {"-t"}}},
    {"LoneDashIsALayer", {"-"}, Action::Compose, {{"-"}}},
    {"HelpWinsOverMissingLayer", {"-g", "--help"}, Action::ShowHelp, {}},
    {"Version", {"a", "--version"}, Action::ShowVersion, {}},
};

const ParseCase kUsageCases[] = {
    {"NoArguments", {}, Action::UsageError, {}, kDefaultOutput, UsageFault::NoLayer},
    {"OnlyOutput", {"-o", "x.bmp"}, Action::UsageError, {}, kDefaultOutput, UsageFault::NoLayer},
    {"UnknownShort", {"-x", "a"}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::UnknownOption, "-x"},
    {"UnknownLong", {"a", "--gray"}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::UnknownOption, "--gray"},
    {"FlagWithValue", {"--grayscale=1", "a"}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::UnknownOption, "--grayscale=1"},
    {"FlagsNotBundled", {"-gt50", "a"}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::UnknownOption, "-gt50"},
    {"FaultBeforeHelpWins", {"-x", "--help"}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::UnknownOption, "-x"},
    {"TransparencyAbove100", {"-t", "101", "a"}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::BadTransparency, "101"},
    {"TransparencyNegative", {"-t", "-1", "a"}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::BadTransparency, "-1"},
    {"TransparencyWithSign", {"-t", "+5", "a"}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::BadTransparency, "+5"},
    {"TransparencyNotANumber", {"--transparency=5x", "a"}, Action::UsageError, {},
     kDefaultOutput, UsageFault::BadTransparency, "5x"},
    {"TransparencyEmpty", {"--transparency=", "a"}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::BadTransparency, ""},
    {"TransparencyHuge", {"-t", "99999999999999999999", "a"}, Action::UsageError, {},
     kDefaultOutput, UsageFault::BadTransparency, "99999999999999999999"},
    {"TransparencyWithoutValue", {"a", "-t"}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::MissingValue, "-t"},
    {"OutputWithoutValue", {"a", "--output"}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::MissingValue, "--output"},
    {"TransparencyTwiceForOneLayer", {"-t", "1", "--transparency", "2", "a"},
     Action::UsageError, {}, kDefaultOutput, UsageFault::TransparencyTwice, "--transparency"},
    {"OutputTwice", {"-o", "x", "a", "--output=y"}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::OutputTwice, "--output"},
    {"EmptyLayerName", {"a", ""}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::EmptyFileName},
    {"EmptyOutputName", {"-o", "", "a"}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::EmptyFileName},
    {"TrailingGrayscale", {"a", "-g"}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::OptionWithoutLayer, "-g"},
    {"TrailingTransparency", {"a", "-t", "5"}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::OptionWithoutLayer, "-t"},
    {"TrailingOptionsNameTheLast", {"a", "-t50", "-g"}, Action::UsageError, {}, kDefaultOutput,
     UsageFault::OptionWithoutLayer, "-g"},
    {"OptionBeforeDoubleDashWithNothingAfter", {"a", "-g", "--"}, Action::UsageError, {},
     kDefaultOutput, UsageFault::OptionWithoutLayer, "-g"},
};

class ParseOptionsTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseOptionsTest, ReadsTheCommandLine) {
  const ParseCase& c = GetParam();
  const Options options = ParseOptions(c.args);
  EXPECT_EQ(options.action, c.action);
  EXPECT_EQ(options.fault, c.fault);
  EXPECT_EQ(options.argument, c.argument);
  if (c.action != Action::Compose) return;
  std::vector<Layer> layers;
  for (const LayerSource& source : options.layers)
    layers.push_back({source.path, source.transparency, source.grayscale});
  EXPECT_EQ(layers, c.layers);
  EXPECT_EQ(options.outputPath, c.output);
}

std::string CaseName(const testing::TestParamInfo<ParseCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Compose, ParseOptionsTest, testing::ValuesIn(kComposeCases), CaseName);
INSTANTIATE_TEST_SUITE_P(UsageFaults, ParseOptionsTest, testing::ValuesIn(kUsageCases),
                         CaseName);

}  // namespace
}  // namespace varnowel::cli
