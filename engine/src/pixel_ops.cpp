// The two pixel operations of a run, grayscale conversion and blending onto the canvas: one
// pixel at a time for reference, and 16 pixels at a time in SSE2 vectors.
#include "varnowel/pixel_ops.h"

#include <algorithm>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace varnowel {

namespace {

constexpr std::uint8_t kWhite = 0xFF;

std::size_t PixelCount(std::int32_t width, std::int32_t height) {
  if (width < 1 || height < 1) return 0;
  return std::size_t(width) * std::size_t(height);
}

// T: percent of the canvas that shows through the layer; beyond 0..100 it would wrap bytes.
int ClampedTransparency(std::int32_t transparency) { return std::clamp(transparency, 0, 100); }

void GrayPixels(std::uint8_t* layer, std::size_t pixels) {
  for (std::size_t i = 0; i < 3 * pixels; i += 3) {
    const int sum = layer[i] + layer[i + 1] + layer[i + 2];  // 0..765
    const std::uint8_t gray = std::uint8_t(sum / 3);         // truncated mean, 0..255
    layer[i] = layer[i + 1] = layer[i + 2] = gray;
  }
}

void BlendPixels(std::uint8_t* canvas, const std::uint8_t* layer, std::size_t pixels, int t) {
  for (std::size_t i = 0; i < 3 * pixels; i += 3) {
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

#if defined(__SSE2__)

// A block is 16 pixels, 48 bytes, three vectors. Vector i holds bytes 16i .. 16i + 15 of the
// block, so the byte in lane j is the ((16i + j) mod 3)-th of its pixel.
constexpr std::size_t kBlockPixels = 16;
constexpr std::size_t kBlockBytes = 3 * kBlockPixels;

// Bits 0, 3, ..., 45: the first byte of each pixel in a 48-bit mask of a block's bytes.
constexpr std::uint64_t kPixelStarts = 0x249249249249;

__m128i Select(__m128i mask, __m128i ifSet, __m128i ifClear) {
  return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, ifClear));
}

__m128i Load(const std::uint8_t* bytes) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}

void Store(std::uint8_t* bytes, __m128i value) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), value);
}

// Bytes 0xFF where the first, or the last, byte of a pixel sits in vector i of a block.
struct PixelLanes {
  __m128i first;
  __m128i last;
};

PixelLanes LanesOfVector(int i) {
  alignas(16) std::uint8_t first[16];
  alignas(16) std::uint8_t last[16];
  for (int j = 0; j < 16; ++j) {
    first[j] = (16 * i + j) % 3 == 0 ? 0xFF : 0;
    last[j] = (16 * i + j) % 3 == 2 ? 0xFF : 0;
  }
  return {Load(first), Load(last)};
}

// The gray value of each byte's pixel. `own` holds the bytes, next1 / next2 the bytes one and
// two places on, prev1 / prev2 one and two places back: a first byte adds the next two, a
// middle byte its two neighbours, a last byte the previous two. Sums stay within 16-bit lanes
// (at most 765), and s / 3 is s x 21846 / 65536, exact for every s up to 765.
__m128i GrayVector(__m128i own, __m128i next1, __m128i next2, __m128i prev1, __m128i prev2,
                   const PixelLanes& lanes) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i third = _mm_set1_epi16(21846);
  const __m128i a = Select(lanes.last, prev2, next1);
  const __m128i b = Select(lanes.first, next2, prev1);
  const __m128i low = _mm_add_epi16(
      _mm_add_epi16(_mm_unpacklo_epi8(own, zero), _mm_unpacklo_epi8(a, zero)),
      _mm_unpacklo_epi8(b, zero));
  const __m128i high = _mm_add_epi16(
      _mm_add_epi16(_mm_unpackhi_epi8(own, zero), _mm_unpackhi_epi8(a, zero)),
      _mm_unpackhi_epi8(b, zero));
  return _mm_packus_epi16(_mm_mulhi_epu16(low, third), _mm_mulhi_epu16(high, third));
}

// Grays whole blocks from the start of `layer` and returns how many pixels it did. A block
// reads two bytes past its end, so the last pixels are left to GrayPixels.
std::size_t GrayBlocks(std::uint8_t* layer, std::size_t pixels) {
  if (pixels < kBlockPixels) return 0;
  const std::size_t blocks = (3 * pixels - 2) / kBlockBytes;
  const PixelLanes lanes[3] = {LanesOfVector(0), LanesOfVector(1), LanesOfVector(2)};
  for (std::size_t b = 0; b < blocks; ++b) {
    std::uint8_t* p = layer + b * kBlockBytes;
    const __m128i own0 = Load(p);
    const __m128i own1 = Load(p + 16);
    const __m128i own2 = Load(p + 32);
    // White stays white: a see-through block is left as it is.
    const __m128i all = _mm_and_si128(_mm_and_si128(own0, own1), own2);
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(all, _mm_set1_epi8(-1))) == 0xFFFF) continue;
    // Every byte is read before any is written: vector 1 and 2 look back into the vector
    // before them. Vector 0 starts a pixel, so what it looks back at is its own.
    const __m128i gray0 = GrayVector(own0, Load(p + 1), Load(p + 2), _mm_slli_si128(own0, 1),
                                     _mm_slli_si128(own0, 2), lanes[0]);
    const __m128i gray1 = GrayVector(own1, Load(p + 17), Load(p + 18), Load(p + 15),
                                     Load(p + 14), lanes[1]);
    const __m128i gray2 = GrayVector(own2, Load(p + 33), Load(p + 34), Load(p + 31),
                                     Load(p + 30), lanes[2]);
    Store(p, gray0);
    Store(p + 16, gray1);
    Store(p + 32, gray2);
  }
  return blocks * kBlockPixels;
}

// L + (V - L) x T / 100 truncated toward zero, for each of 16 bytes. The step |V - L| x T / 100
// is taken in 16-bit lanes as |V - L| x K / 65536 with K = ceil(T x 65536 / 100): for
// |V - L| <= 255 the error stays below 0.004, smaller than the 0.01 that a quotient by 100
// lies from the next integer, so the quotient is exact. Its sign is then that of V - L.
__m128i BlendVector(__m128i canvas, __m128i layer, __m128i k) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i up = _mm_subs_epu8(canvas, layer);    // V - L where the canvas is above
  const __m128i down = _mm_subs_epu8(layer, canvas);  // L - V where it is below
  const __m128i distance = _mm_or_si128(up, down);
  const __m128i step = _mm_packus_epi16(_mm_mulhi_epu16(_mm_unpacklo_epi8(distance, zero), k),
                                        _mm_mulhi_epu16(_mm_unpackhi_epi8(distance, zero), k));
  // 0xFF where the step goes down: (step ^ 0xFF) - 0xFF is -step.
  const __m128i negate = _mm_cmpeq_epi8(up, zero);
  return _mm_add_epi8(layer, _mm_sub_epi8(_mm_xor_si128(step, negate), negate));
}

// 0xFF in the bytes whose bit is set in `bits` (the low 16).
__m128i BytesOfBits(std::uint64_t bits) {
  __m128i spread = _mm_cvtsi32_si128(int(bits & 0xFFFF));
  spread = _mm_unpacklo_epi8(spread, spread);  // bits 0-7 twice, then bits 8-15 twice
  spread = _mm_unpacklo_epi16(spread, spread);
  spread = _mm_unpacklo_epi32(spread, spread);  // bits 0-7 in lanes 0-7, bits 8-15 in 8-15
  const __m128i bit = _mm_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128);
  return _mm_cmpeq_epi8(_mm_and_si128(spread, bit), bit);
}

// Blends whole blocks from the start and returns how many pixels it did; t is 0..99.
std::size_t BlendBlocks(std::uint8_t* canvas, const std::uint8_t* layer, std::size_t pixels,
                        int t) {
  const __m128i k = _mm_set1_epi16(std::int16_t((t * 65536 + 99) / 100));
  const __m128i white = _mm_set1_epi8(-1);
  const std::size_t blocks = pixels / kBlockPixels;
  for (std::size_t b = 0; b < blocks; ++b) {
    const std::uint8_t* l = layer + b * kBlockBytes;
    std::uint8_t* v = canvas + b * kBlockBytes;
    const __m128i layer0 = Load(l);
    const __m128i layer1 = Load(l + 16);
    const __m128i layer2 = Load(l + 32);
    const __m128i white0 = _mm_cmpeq_epi8(layer0, white);
    const __m128i white1 = _mm_cmpeq_epi8(layer1, white);
    const __m128i white2 = _mm_cmpeq_epi8(layer2, white);
    const __m128i allWhite = _mm_and_si128(_mm_and_si128(white0, white1), white2);
    if (_mm_movemask_epi8(allWhite) == 0xFFFF) continue;  // all see-through
    const __m128i canvas0 = Load(v);
    const __m128i canvas1 = Load(v + 16);
    const __m128i canvas2 = Load(v + 32);
    __m128i blended0 = BlendVector(canvas0, layer0, k);
    __m128i blended1 = BlendVector(canvas1, layer1, k);
    __m128i blended2 = BlendVector(canvas2, layer2, k);
    // Most blocks that are not all white hold no byte 0xFF at all, so no white pixel.
    const __m128i anyWhite = _mm_or_si128(_mm_or_si128(white0, white1), white2);
    if (_mm_movemask_epi8(anyWhite) != 0) {
      // One bit per byte of the block that is 0xFF, then one per pixel whose three are.
      const std::uint64_t whiteBytes = std::uint64_t(unsigned(_mm_movemask_epi8(white0))) |
                                       std::uint64_t(unsigned(_mm_movemask_epi8(white1))) << 16 |
                                       std::uint64_t(unsigned(_mm_movemask_epi8(white2))) << 32;
      // Starts 3 bits apart, so x 7 sets the three bits of each white pixel without carries.
      const std::uint64_t keep =
          (whiteBytes & (whiteBytes >> 1) & (whiteBytes >> 2) & kPixelStarts) * 7;
      blended0 = Select(BytesOfBits(keep), canvas0, blended0);
      blended1 = Select(BytesOfBits(keep >> 16), canvas1, blended1);
      blended2 = Select(BytesOfBits(keep >> 32), canvas2, blended2);
    }
    Store(v, blended0);
    Store(v + 16, blended1);
    Store(v + 32, blended2);
  }
  return blocks * kBlockPixels;
}

#else

// Without SSE2 the one-pixel versions do all the work.
std::size_t GrayBlocks(std::uint8_t*, std::size_t) { return 0; }
std::size_t BlendBlocks(std::uint8_t*, const std::uint8_t*, std::size_t, int) { return 0; }

#endif

}  // namespace

void GrayscaleLayer(std::uint8_t* layer, std::int32_t width, std::int32_t height) {
  const std::size_t pixels = PixelCount(width, height);
  const std::size_t done = GrayBlocks(layer, pixels);
  GrayPixels(layer + 3 * done, pixels - done);
}

void BlendLayer(std::uint8_t* canvas, const std::uint8_t* layer, std::int32_t width,
                std::int32_t height, std::int32_t transparency) {
  const int t = ClampedTransparency(transparency);
  if (t == 100) return;  // the canvas shows through entirely
  const std::size_t pixels = PixelCount(width, height);
  const std::size_t done = BlendBlocks(canvas, layer, pixels, t);
  BlendPixels(canvas + 3 * done, layer + 3 * done, pixels - done, t);
}

void GrayscaleLayerReference(std::uint8_t* layer, std::int32_t width, std::int32_t height) {
  GrayPixels(layer, PixelCount(width, height));
}

void BlendLayerReference(std::uint8_t* canvas, const std::uint8_t* layer, std::int32_t width,
                         std::int32_t height, std::int32_t transparency) {
  BlendPixels(canvas, layer, PixelCount(width, height), ClampedTransparency(transparency));
}

}  // namespace varnowel
