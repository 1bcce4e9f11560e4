// One run of varnowel-compose on the engine: check the layers, measure them, compose.
#pragma once

#include <span>
#include <string>

#include "varnowel/composition.h"
#include "varnowel/host.h"
#include "varnowel/status.h"

namespace varnowel::cli {

// The outcome of a run, with what its message needs to say.
struct ComposeReport {
  Status status;  // ok, or the first fault; a picture too large names the first layer
  Geometry size;  // the picture's size; for SizesDiffer the size of status.path
  std::string firstLayer;  // for SizesDiffer: the layer the others must match
  Geometry firstSize;
};

// Checks the format of every layer first (so a wrong file is told as such, not as a size
// mismatch), then their sizes, then composes `layers` into `outputPath`. On failure an
// existing output file is left as it was. `layers` holds one layer or more.
ComposeReport RunCompose(std::span<const LayerSource> layers, const std::string& outputPath,
                         Platform& platform);

}  // namespace varnowel::cli
