// Writes the three layer files of bench/compare: layer0.bmp, layer1.bmp and layer2.bmp.
//
// Usage: varnowel_make_layers FOLDER WIDTH HEIGHT
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_layers.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s FOLDER WIDTH HEIGHT\n", argv[0]);
    return 2;
  }
  const std::int32_t width = std::atoi(argv[2]);
  const std::int32_t height = std::atoi(argv[3]);
  for (int i = 0; i < 3; ++i) {
    const std::string path = std::string(argv[1]) + "/layer" + std::to_string(i) + ".bmp";
    if (!varnowel::bench::WriteBenchLayer(path, width, height, i)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
