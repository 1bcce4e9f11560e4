// Throughput of the composition: three layer files to one result file, and the blend of one row.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "bench_layers.h"
#include "native_platform.h"
#include "varnowel/bmp_layout.h"
#include "varnowel/composition.h"
#include "varnowel/pixel_ops.h"

namespace varnowel::bench {
namespace {

// Three layers of one size, written once per process and shared by every run of that size.
struct LayerSet {
  ScratchFolder folder;
  std::vector<LayerSource> layers;
};

const LayerSet& LayersOfSize(std::int32_t width, std::int32_t height) {
  static std::map<std::pair<std::int32_t, std::int32_t>, std::unique_ptr<LayerSet>> sets;
  auto& set = sets[{width, height}];
  if (!set) {
    set = std::make_unique<LayerSet>();
    for (int i = 0; i < 3; ++i) {
      const std::string path = set->folder / ("layer" + std::to_string(i) + ".bmp");
      if (!WriteBenchLayer(path, width, height, i)) std::abort();
      // Opaque, half see-through and grayed: every path of the blend is taken.
      set->layers.push_back({path, i == 1 ? 50 : 0, i == 2});
    }
  }
  return *set;
}

void BM_ComposeLayers(benchmark::State& state) {
  const Geometry size{std::int32_t(state.range(0)), std::int32_t(state.range(1))};
  const LayerSet& set = LayersOfSize(size.width, size.height);
  const std::string output = set.folder / "fwrite.bmp";
  NativePlatform platform;
  for (auto _ : state) {
    const Status status = ComposeLayers(size, set.layers, output, platform);
    if (!status.ok()) state.SkipWithError("composition failed");
  }
  const auto pixels = std::int64_t(size.width) * size.height;
  state.SetItemsProcessed(state.iterations() * pixels);
  // Three layer files read and one result written per run.
  state.SetBytesProcessed(state.iterations() * 4 *
                          std::int64_t(bmp::FileSize(size.width, size.height)));
}
BENCHMARK(BM_ComposeLayers)
    ->Args({640, 480})
    ->Args({1920, 1080})
    ->Args({4000, 3000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One row of 12000 pixels in the benchmark layers' make-up: shades, a third of them white in
// runs of 50 pixels.
std::vector<std::uint8_t> KernelRow(std::int32_t width) {
  std::vector<std::uint8_t> row(3 * std::size_t(width));
  for (std::size_t i = 0; i < row.size(); ++i)
    row[i] = (i / 150) % 3 == 0 ? 0xFF : std::uint8_t(i / 7 + 40 * (i % 3));
  return row;
}

using BlendFunction = void (*)(std::uint8_t*, const std::uint8_t*, std::int32_t, std::int32_t,
                               std::int32_t);
using GrayFunction = void (*)(std::uint8_t*, std::int32_t, std::int32_t);

// Bytes per second count the layer's bytes: the canvas is read and written as many.
template <BlendFunction blend>
void BM_Blend(benchmark::State& state) {
  const std::int32_t width = std::int32_t(state.range(0));
  const std::vector<std::uint8_t> layer = KernelRow(width);
  std::vector<std::uint8_t> canvas(layer.size(), 0x80);
  for (auto _ : state) {
    blend(canvas.data(), layer.data(), width, 1, 30);
    benchmark::DoNotOptimize(canvas.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * width);
  state.SetBytesProcessed(state.iterations() * std::int64_t(layer.size()));
}
BENCHMARK_TEMPLATE(BM_Blend, BlendLayer)->Name("BlendLayer")->Arg(12000);
BENCHMARK_TEMPLATE(BM_Blend, BlendLayerReference)->Name("BlendLayerReference")->Arg(12000);

// Graying a gray row again costs what the first time does: no refill between runs.
template <GrayFunction gray>
void BM_Gray(benchmark::State& state) {
  const std::int32_t width = std::int32_t(state.range(0));
  std::vector<std::uint8_t> layer = KernelRow(width);
  for (auto _ : state) {
    gray(layer.data(), width, 1);
    benchmark::DoNotOptimize(layer.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * width);
  state.SetBytesProcessed(state.iterations() * std::int64_t(layer.size()));
}
BENCHMARK_TEMPLATE(BM_Gray, GrayscaleLayer)->Name("GrayscaleLayer")->Arg(12000);
BENCHMARK_TEMPLATE(BM_Gray, GrayscaleLayerReference)->Name("GrayscaleLayerReference")->Arg(12000);

}  // namespace
}  // namespace varnowel::bench
