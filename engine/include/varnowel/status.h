// The outcome of an engine operation: what went wrong first, and with which file.
#pragma once

#include <string>

namespace varnowel {

enum class Fault {
  None,
  LayerNotFound,       // a layer file does not open
  LayerUnsupported,    // not a bottom-up, uncompressed 24-bit BMP
  LayerTruncated,      // the file is shorter than the rows it declares
  SizesDiffer,         // layers of different width or height
  TooLarge,            // the picture does not fit a BMP file or memory
  OutputOpenFailed,    // the output file cannot be created
  OutputWriteFailed,   // writing or closing the output failed
};

struct Status {
  Fault fault = Fault::None;
  std::string path;  // the file concerned, when there is one

  bool ok() const { return fault == Fault::None; }
};

}  // namespace varnowel
