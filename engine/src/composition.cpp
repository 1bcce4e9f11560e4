// The general composition: any number of layer files onto a white canvas, to any output path.
#include "varnowel/composition.h"

#include <new>
#include <stdexcept>

#include "job_files.h"

namespace varnowel {

Status MeasureLayers(std::span<const LayerSource> layers, Geometry& size) {
  bool first = true;
  for (const LayerSource& source : layers) {
    LayerFile layer;
    if (OpenLayerFile(source.path, layer) != Fault::None)
      return {Fault::LayerNotFound, source.path};
    if (!layer.HasSize()) return {Fault::LayerUnsupported, source.path};
    const Geometry own{layer.Width(), layer.Height()};
    if (first) {
      size = own;
      first = false;
    } else if (own.width != size.width || own.height != size.height) {
      return {Fault::SizesDiffer, source.path};
    }
  }
  return {};
}

Status ComposeLayers(Geometry size, std::span<const LayerSource> layers,
                     const std::string& outputPath, Platform& platform) {
  try {
    JobFiles files;
    Status status = OpenJobFiles(size, layers, outputPath, platform, files);
    if (status.ok()) status = BlendAndWriteImage(size, files.layers, files.output->stream());
    if (status.fault == Fault::OutputWriteFailed) status.path = outputPath;
    if (!status.ok()) return status;
    // Layers are closed first: one of them may be the very file being replaced.
    files.layers.clear();
    return files.output->Commit();
  } catch (const std::bad_alloc&) {
    return {Fault::TooLarge, {}};
  } catch (const std::length_error&) {  // a band larger than the address space
    return {Fault::TooLarge, {}};
  }
}

}  // namespace varnowel
