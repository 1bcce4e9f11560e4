// The format test of one layer file, as the front ends run it before composing.
#pragma once

#include <cstdint>
#include <string>

#include "varnowel/status.h"

namespace varnowel {

struct LayerFormat {
  Fault fault = Fault::None;   // None, LayerNotFound or LayerUnsupported
  std::int32_t bitCount = 0;   // the stored biBitCount, 0 when the file has none to read
};

// Opens `path` and checks its header: a "BM" file with biSize >= 40, 24 bits per pixel, no
// compression and a size that is not negative. Does not look at the rows.
LayerFormat ReadLayerFormat(const std::string& path);

}  // namespace varnowel
