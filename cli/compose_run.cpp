// One run of varnowel-compose on the engine: check the layers, measure them, compose.
#include "compose_run.h"

#include <algorithm>

#include "varnowel/layer_format.h"

namespace varnowel::cli {

namespace {

// The size of the one layer named `path` among `layers`, as the engine reads it.
Geometry SizeOf(std::span<const LayerSource> layers, const std::string& path) {
  Geometry size;
  const auto layer = std::find_if(layers.begin(), layers.end(),
                                  [&](const LayerSource& source) { return source.path == path; });
  if (layer != layers.end()) MeasureLayers(std::span(&*layer, 1), size);
  return size;
}

}  // namespace

ComposeReport RunCompose(std::span<const LayerSource> layers, const std::string& outputPath,
                         Platform& platform) {
  ComposeReport report;
  for (const LayerSource& layer : layers) {
    const LayerFormat format = ReadLayerFormat(layer.path);
    if (format.fault != Fault::None) {
      report.status = {format.fault, layer.path};
      return report;
    }
  }
  report.status = MeasureLayers(layers, report.size);
  if (report.status.ok()) report.status = ComposeLayers(report.size, layers, outputPath, platform);

  if (report.status.fault == Fault::SizesDiffer) {
    report.firstLayer = layers.front().path;
    report.firstSize = SizeOf(layers, report.firstLayer);
    report.size = SizeOf(layers, report.status.path);
  } else if (report.status.fault == Fault::TooLarge) {
    report.status.path = layers.front().path;
  }
  return report;
}

}  // namespace varnowel::cli
