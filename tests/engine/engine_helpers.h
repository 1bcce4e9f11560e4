// Helpers shared by the engine tests: layer files on disk, a folder's names, a record's rows.
#pragma once

#include <cstring>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "bmp_fixture.h"
#include "varnowel/composite_job.h"

namespace varnowel::test {

// Failure messages show pixels as (blue, green, red).
inline void PrintTo(const Pixel& pixel, std::ostream* out) {
  *out << "(" << int(pixel.blue) << ", " << int(pixel.green) << ", " << int(pixel.red) << ")";
}

// Writes `picture` as a BMP file named `name` in `dir` and returns its path.
inline std::string WriteLayer(const TempDir& dir, const std::string& name, const Picture& picture,
                              const BmpVariant& variant = {}) {
  const std::string path = dir / name;
  WriteBytes(path, EncodeBmp(picture, variant));
  return path;
}

// Switches layer `index` of the record on with the given settings, as the dialog's commands do.
inline void EnableLayer(CompositeJob& job, int index, const std::string& path,
                        std::int32_t transparency = 0, bool grayscale = false) {
  EXPECT_LT(path.size(), std::size_t(kTextSize)) << "test path too long for the record";
  std::strncpy(job.layerPath[index], path.c_str(), kTextSize - 1);
  job.layerPath[index][kTextSize - 1] = '\0';
  job.enabled[index] = 1;
  job.transparency[index] = transparency;
  job.grayscale[index] = grayscale ? 1 : 0;
}

}  // namespace varnowel::test
