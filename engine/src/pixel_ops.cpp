// The two pixel operations of a run: grayscale conversion and blending onto the canvas.
#include "varnowel/pixel_ops.h"

#include <algorithm>
#include <cstddef>

namespace varnowel {

namespace {

constexpr std::uint8_t kWhite = 0xFF;

std::size_t BufferBytes(std::int32_t width, std::int32_t height) {
  if (width < 1 || height < 1) return 0;
  return std::size_t(3) * std::size_t(width) * std::size_t(height);
}

}  // namespace

void GrayscaleLayer(std::uint8_t* layer, std::int32_t width, std::int32_t height) {
  const std::size_t bytes = BufferBytes(width, height);
  for (std::size_t i = 0; i < bytes; i += 3) {
    const int sum = layer[i] + layer[i + 1] + layer[i + 2];  // 0..765
    const std::uint8_t gray = std::uint8_t(sum / 3);         // truncated mean, 0..255
    layer[i] = layer[i + 1] = layer[i + 2] = gray;
  }
}

void BlendLayer(std::uint8_t* canvas, const std::uint8_t* layer, std::int32_t width,
                std::int32_t height, std::int32_t transparency) {
  // T: percent of the canvas that shows through the layer; beyond 0..100 it would wrap bytes.
  const int t = std::clamp(transparency, 0, 100);
  const std::size_t bytes = BufferBytes(width, height);
  for (std::size_t i = 0; i < bytes; i += 3) {
    if (layer[i] == kWhite && layer[i + 1] == kWhite && layer[i + 2] == kWhite) continue;
    for (std::size_t c = i; c < i + 3; ++c) {
      // L: the layer byte, V: the canvas byte; L + (V - L) x T / 100, truncated toward zero,
      // so a result between two integers rounds toward the layer's value.
      const int l = layer[c];
      const int v = canvas[c];
      canvas[c] = std::uint8_t(l + (v - l) * t / 100);
    }
  }
}

}  // namespace varnowel
