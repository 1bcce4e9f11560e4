// How one fuzz input describes a composition: reading it, and writing it for the seeds.
#include "composition_input.h"

#include <algorithm>

namespace varnowel::fuzz {

CompositionInput ParseCompositionInput(std::span<const std::uint8_t> data) {
  CompositionInput input;
  const std::uint8_t control = data.empty() ? 0 : data[0];
  input.output = OutputKind((control >> 2) & 3);
  input.entry = EntryKind((control >> 4) & 1);
  std::size_t at = data.empty() ? 0 : 1;
  const int count = (control & 3) % 3 + 1;
  for (int i = 0; i < count; ++i) {
    // Missing prefix bytes read as 0.
    auto next = [&]() -> std::uint8_t { return at < data.size() ? data[at++] : 0; };
    LayerInput layer;
    layer.transparency = std::int8_t(next());
    const std::uint8_t flags = next();
    layer.grayscale = (flags & 1) != 0;
    layer.holeBytes = std::uint32_t(flags >> 1) * kHoleBlock;
    std::size_t length = next();
    length |= std::size_t(next()) << 8;
    length = std::min(length, data.size() - at);
    layer.bytes = data.subspan(at, length);
    at += length;
    input.layers.push_back(layer);
  }
  return input;
}

std::vector<std::uint8_t> EncodeCompositionInput(const CompositionInput& input) {
  std::vector<std::uint8_t> out;
  const int count = int(input.layers.size());
  out.push_back(std::uint8_t((count - 1) | int(input.output) << 2 | int(input.entry) << 4));
  for (int i = 0; i < count; ++i) {
    const LayerInput& layer = input.layers[std::size_t(i)];
    out.push_back(std::uint8_t(std::int8_t(layer.transparency)));
    const std::uint32_t holeBlocks = std::min<std::uint32_t>(layer.holeBytes / kHoleBlock, 127);
    out.push_back(std::uint8_t((layer.grayscale ? 1 : 0) | holeBlocks << 1));
    const std::size_t length = std::min<std::size_t>(layer.bytes.size(), 0xFFFF);
    out.push_back(std::uint8_t(length));
    out.push_back(std::uint8_t(length >> 8));
    out.insert(out.end(), layer.bytes.begin(), layer.bytes.begin() + std::ptrdiff_t(length));
  }
  return out;
}

}  // namespace varnowel::fuzz
