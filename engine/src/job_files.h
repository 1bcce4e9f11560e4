// The files of one run: the checked layer streams and the output being written.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "layer_file.h"
#include "varnowel/composition.h"
#include "varnowel/host.h"
#include "varnowel/status.h"

namespace varnowel {

// A layer ready to be read: its stream, where its rows start and how it is laid down.
struct LayerStream {
  LayerFile file;
  std::int32_t transparency = 0;
  bool grayscale = false;
};

// The output stream. Unless the target is a device or pipe, it writes a temporary file
// beside the target; Commit moves it over the target, and destruction without Commit
// removes it.
class OutputFile {
 public:
  OutputFile(Platform& platform, std::string target);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Returns OutputOpenFailed when no file could be created for writing.
  Status Open();
  std::FILE* stream() const { return stream_; }
  // Closes the stream and puts the file in place. Returns OutputWriteFailed when closing
  // failed, OutputOpenFailed when the target could not be replaced.
  Status Commit();

 private:
  Platform& platform_;
  std::string target_;
  std::string writtenPath_;  // the temporary file, or the target when written in place
  bool inPlace_ = false;
  bool committed_ = false;
  std::FILE* stream_ = nullptr;
};

struct JobFiles {
  std::vector<LayerStream> layers;
  std::optional<OutputFile> output;
};

// Opens and checks every layer for a size x size picture, then opens the output. Faults in
// the order: a layer that does not open, sizes that differ, a header that is not supported,
// a file shorter than its rows, a picture too large, an output that does not open.
Status OpenJobFiles(Geometry size, std::span<const LayerSource> layers,
                    const std::string& outputPath, Platform& platform, JobFiles& files);

// Writes the headers, then the picture band by band: each band starts white, every layer's
// rows are read, grayed when asked and blended in order. Returns OutputWriteFailed when a
// write fails, LayerTruncated when a layer's rows cannot be read.
Status BlendAndWriteImage(Geometry size, std::span<LayerStream> layers, std::FILE* output);

}  // namespace varnowel
