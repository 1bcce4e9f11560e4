// The general composition: any number of layer files onto a white canvas, to any output path.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "varnowel/host.h"
#include "varnowel/status.h"

namespace varnowel {

struct LayerSource {
  std::string path;
  std::int32_t transparency = 0;  // percent; 0 opaque, 100 invisible; clamped to 0..100
  bool grayscale = false;
};

struct Geometry {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// Opens every layer and reads its size. Returns ok with the common size in `size` (left as it
// is for no layers), or the first fault: a layer that does not open, has no readable size,
// or differs in size from the first.
Status MeasureLayers(std::span<const LayerSource> layers, Geometry& size);

// Composes `layers` (the first lowest) onto a white canvas of `size` and writes a 24-bit BMP
// to `outputPath`. Every layer is opened and checked before the output is touched; the output
// is written beside the target and replaces it only when complete, so on failure an existing
// file keeps its content. An existing output that is not a regular file is written in place.
Status ComposeLayers(Geometry size, std::span<const LayerSource> layers,
                     const std::string& outputPath, Platform& platform);

}  // namespace varnowel
