// Every text varnowel-compose prints: help, version, usage errors, failures, success.
#include "texts.h"

#include <initializer_list>
#include <utility>

namespace varnowel::cli {

namespace {

constexpr std::string_view kProgram = "varnowel-compose";

constexpr std::string_view kHelp =
    "Usage: varnowel-compose [-o FILE] [[-t N] [-g] LAYER]...\n"
    "Lays 24-bit BMP layers onto a white canvas, the first LAYER lowest, and writes\n"
    "the result as a 24-bit BMP file. Pure white pixels of a layer are see-through.\n"
    "All layers must have the same width and height.\n"
    "\n"
    "  -o, --output=FILE        write the result to FILE (default: fwrite.bmp in the\n"
    "                           current directory); at most once\n"
    "  -t, --transparency=N     transparency of the next LAYER in percent, an integer\n"
    "                           from 0 (opaque, the default) to 100 (invisible)\n"
    "  -g, --grayscale          turn the next LAYER to gray before laying it down\n"
    "      --                   end of options: every later word is a LAYER\n"
    "      --help               show this help and exit\n"
    "      --version            show the version and exit\n"
    "\n"
    "-t and -g apply to the one LAYER that follows them.\n"
    "\n"
    "On success prints \"wrote FILE\" and exits with status 0. Exit status 1: a\n"
    "layer or the output file could not be used (an existing output file is left\n"
    "as it was); 2: the command line is wrong.\n";

struct UsageFaultText {
  UsageFault fault;
  std::string_view text;  // {arg} stands for the word concerned
};

constexpr UsageFaultText kUsageFaultTexts[] = {
    {UsageFault::UnknownOption, "unknown option '{arg}'"},
    {UsageFault::MissingValue, "option '{arg}' needs a value"},
    {UsageFault::BadTransparency, "transparency '{arg}' is not an integer from 0 to 100"},
    {UsageFault::TransparencyTwice, "'{arg}': the transparency of one layer is given twice"},
    {UsageFault::OutputTwice, "'{arg}': the output file is given twice"},
    {UsageFault::EmptyFileName, "a file name is empty"},
    {UsageFault::OptionWithoutLayer, "'{arg}' has no LAYER after it"},
    {UsageFault::NoLayer, "no LAYER given"},
};

struct FaultText {
  Fault fault;
  // {file} the file concerned, {size} its size (or the picture's); {first} and {firstSize}
  // the layer it must match
  std::string_view text;
};

constexpr FaultText kFaultTexts[] = {
    {Fault::LayerNotFound, "{file}: cannot open the file"},
    {Fault::LayerUnsupported, "{file}: not a 24-bit uncompressed bottom-up BMP file"},
    {Fault::LayerTruncated, "{file}: the file is shorter than its pixel rows"},
    {Fault::SizesDiffer, "layers differ in size: {first} is {firstSize}, {file} is {size}"},
    {Fault::TooLarge, "{file}: a picture of {size} pixels is too large to compose"},
    {Fault::OutputOpenFailed, "{file}: cannot create the output file"},
    {Fault::OutputWriteFailed, "{file}: cannot write the output file"},
};

using Fields = std::initializer_list<std::pair<std::string_view, std::string_view>>;

// `pattern` with each {name} replaced by that field's value, in one pass, so a file name
// that itself holds braces is printed as it is.
std::string Fill(std::string_view pattern, Fields fields) {
  std::string text;
  for (std::size_t at = 0; at < pattern.size();) {
    const std::size_t open = pattern.find('{', at);
    const std::size_t close = pattern.find('}', open);
    if (close == std::string_view::npos) {
      text += pattern.substr(at);
      break;
    }
    text += pattern.substr(at, open - at);
    const std::string_view name = pattern.substr(open + 1, close - open - 1);
    for (const auto& [field, value] : fields) {
      if (field == name) text += value;
    }
    at = close + 1;
  }
  return text;
}

std::string SizeText(Geometry size) {
  return std::to_string(size.width) + " x " + std::to_string(size.height);
}

std::string Line(std::string_view text) {
  return std::string(kProgram) + ": " + std::string(text) + "\n";
}

}  // namespace

std::string_view HelpText() { return kHelp; }

std::string VersionText() { return std::string(kProgram) + " " VARNOWEL_VERSION "\n"; }

std::string UsageErrorText(UsageFault fault, std::string_view argument) {
  std::string text;
  for (const UsageFaultText& entry : kUsageFaultTexts) {
    if (entry.fault == fault) text = Line(Fill(entry.text, {{"arg", argument}}));
  }
  return text + "Try '" + std::string(kProgram) + " --help'.\n";
}

std::string FailureText(const ComposeReport& report) {
  for (const FaultText& entry : kFaultTexts) {
    if (entry.fault != report.status.fault) continue;
    return Line(Fill(entry.text, {{"file", report.status.path},
                                  {"size", SizeText(report.size)},
                                  {"first", report.firstLayer},
                                  {"firstSize", SizeText(report.firstSize)}}));
  }
  return Line("failed");
}

std::string SuccessText(const std::string& outputPath) { return "wrote " + outputPath + "\n"; }

}  // namespace varnowel::cli
