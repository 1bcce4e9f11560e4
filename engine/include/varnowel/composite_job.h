// The job record shared by the dialog front end and the compositing engine, and the run on it.
#pragma once

#include <cstdint>
#include <string>

#include "varnowel/host.h"
#include "varnowel/status.h"

namespace varnowel {

inline constexpr int kLayerCount = 3;
inline constexpr int kTextSize = 256;

// One record per process, zero-filled at start. Per-layer values count only while
// enabled[i] is 1; texts are NUL-terminated in the process code page.
struct CompositeJob {
  char layerPath[kLayerCount][kTextSize];
  std::int32_t transparency[kLayerCount];
  std::int32_t enabled[kLayerCount];
  std::int32_t bitDepth[kLayerCount];
  char workDir[kTextSize];
  char outputPath[kTextSize];
  std::int32_t width[kLayerCount];
  std::int32_t height[kLayerCount];
  std::int32_t grayscale[kLayerCount];
};

// Where a run writes: "fwrite.bmp" in the current directory, or a preview file named by the
// front end.
enum class TargetKind { Result, Preview };
struct Target {
  TargetKind kind = TargetKind::Result;
  std::string previewPath;  // used by TargetKind::Preview only
};

// Reads width and height of every enabled layer into the record and compares them.
// Returns 0 with the common size in width/height (left as they are when no layer is on),
// or -1 after showing its message through the host: a layer that does not open or has no
// readable size, or two layers whose sizes differ.
int ReadLayerGeometry(CompositeJob& job, std::int32_t& width, std::int32_t& height, Host& host);

// Composes the enabled layers of the record onto a white width x height canvas and writes
// the target. Writes workDir (result target) and outputPath. On failure the engine's message
// has been shown through the host and an existing output file is untouched.
Status RunComposition(std::int32_t width, std::int32_t height, CompositeJob& job,
                      const Target& target, Host& host);

}  // namespace varnowel
