// The engine's message texts: one table, Japanese as the dialog shows them.
#include "varnowel/messages.h"

namespace varnowel {

namespace {

struct MessageText {
  Fault fault;
  const char* text;
  const char* caption;
};

constexpr MessageText kMessages[] = {
    {Fault::LayerNotFound, "%sが見つかりません.", "File Open Error"},
    {Fault::LayerUnsupported, "現在対応していません", "File Error"},
    {Fault::LayerTruncated, "%sの読み込みに失敗しました。", "File Error"},
    {Fault::SizesDiffer, "画像の幅高さが異なるため合成できません", "Error"},
    {Fault::TooLarge, "画像が大きすぎるため合成できません", "Error"},
    {Fault::OutputOpenFailed, "file open error", "File Open Error"},
    {Fault::OutputWriteFailed, "file write error", "File Error"},
};

}  // namespace

Message MessageFor(const Status& status) {
  for (const MessageText& entry : kMessages) {
    if (entry.fault == status.fault) return {entry.text, entry.caption, status.path};
  }
  return {};
}

std::string FormatMessageText(const Message& message) {
  std::string text = message.text;
  const auto at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, message.path);
  return text;
}

}  // namespace varnowel
