// Peak memory of composing three large layers: memory must follow the width, not the height.
//
// Usage: varnowel_peak_rss [WIDTH HEIGHT]   (default 12000 x 9000)
// Writes three layers into a scratch folder under TMPDIR, composes them, removes the folder,
// and prints the process's peak resident set size. Exits 1 when it is 64 MiB or more.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "bench_layers.h"
#include "native_platform.h"
#include "varnowel/bmp_layout.h"
#include "varnowel/composition.h"

namespace {

constexpr long kLimitKiB = 64 * 1024;

long PeakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;  // KiB on Linux
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace varnowel;
  Geometry size{12000, 9000};
  if (argc == 3) {
    size = {std::atoi(argv[1]), std::atoi(argv[2])};
  } else if (argc != 1) {
    std::fprintf(stderr, "usage: %s [WIDTH HEIGHT]\n", argv[0]);
    return 2;
  }
  bench::ScratchFolder folder;
  std::vector<LayerSource> layers;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 3; ++i) {
    const std::string path = folder / ("layer" + std::to_string(i) + ".bmp");
    if (!bench::WriteBenchLayer(path, size.width, size.height, i)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    layers.push_back({path, i == 1 ? 50 : 0, i == 2});
  }
  const std::uint64_t layerBytes = bmp::FileSize(size.width, size.height);
  std::printf("layers: 3 x %d x %d, %.1f MB each, written in %.1f s\n", size.width, size.height,
              layerBytes / 1e6, Seconds(start));
  const long beforeKiB = PeakKiB();

  const std::string output = folder / "fwrite.bmp";
  NativePlatform platform;
  start = std::chrono::steady_clock::now();
  const Status status = ComposeLayers(size, layers, output, platform);
  const double composeSeconds = Seconds(start);
  const long peakKiB = PeakKiB();
  if (!status.ok() || std::filesystem::file_size(output) != layerBytes) {
    std::fprintf(stderr, "composition failed\n");
    return 1;
  }
  std::printf("composed in %.1f s\n", composeSeconds);
  std::printf("peak RSS before composing: %.1f MiB\n", beforeKiB / 1024.0);
  std::printf("peak RSS: %.1f MiB (limit %ld MiB)\n", peakKiB / 1024.0, kLimitKiB / 1024);
  return peakKiB < kLimitKiB ? 0 : 1;
}
