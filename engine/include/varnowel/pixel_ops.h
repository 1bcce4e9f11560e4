// The two pixel operations of a run, over buffers of rows of 3 x width bytes (blue, green,
// red) without fill bytes.
#pragma once

#include <cstdint>

namespace varnowel {

// Turns every pixel of `layer` to the truncated mean of its three bytes, in place.
void GrayscaleLayer(std::uint8_t* layer, std::int32_t width, std::int32_t height);

// Lays `layer` onto `canvas` in place: each byte becomes L + (V - L) x T / 100 (truncated
// toward zero) with T clamped to 0..100; pure white layer pixels leave the canvas as it is.
void BlendLayer(std::uint8_t* canvas, const std::uint8_t* layer, std::int32_t width,
                std::int32_t height, std::int32_t transparency);

// The same two operations one pixel at a time, byte for byte what the rules say. The
// operations above run 16 pixels at a time in SSE2 vectors where the build has them and use
// these for the pixels left over; the tests hold the fast ones to these exhaustively.
void GrayscaleLayerReference(std::uint8_t* layer, std::int32_t width, std::int32_t height);
void BlendLayerReference(std::uint8_t* canvas, const std::uint8_t* layer, std::int32_t width,
                         std::int32_t height, std::int32_t transparency);

}  // namespace varnowel
