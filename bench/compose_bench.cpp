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

void BM_BlendLayer(benchmark::State& state) {
  const std::int32_t width = std::int32_t(state.range(0));
  std::vector<std::uint8_t> canvas(3 * std::size_t(width), 0xFF);
  std::vector<std::uint8_t> layer(canvas.size());
  for (std::size_t i = 0; i < layer.size(); ++i) layer[i] = (i / 150) % 3 ? 0xFF : std::uint8_t(i);
  for (auto _ : state) {
    BlendLayer(canvas.data(), layer.data(), width, 1, 30);
    benchmark::DoNotOptimize(canvas.data());
  }
  state.SetItemsProcessed(state.iterations() * width);
  state.SetBytesProcessed(state.iterations() * std::int64_t(canvas.size()));
}
BENCHMARK(BM_BlendLayer)->Arg(12000);

void BM_GrayscaleLayer(benchmark::State& state) {
  const std::int32_t width = std::int32_t(state.range(0));
  std::vector<std::uint8_t> layer(3 * std::size_t(width));
  for (auto _ : state) {
    for (std::size_t i = 0; i < layer.size(); ++i) layer[i] = std::uint8_t(i);
    GrayscaleLayer(layer.data(), width, 1);
    benchmark::DoNotOptimize(layer.data());
  }
  state.SetItemsProcessed(state.iterations() * width);
}
BENCHMARK(BM_GrayscaleLayer)->Arg(12000);

}  // namespace
}  // namespace varnowel::bench
