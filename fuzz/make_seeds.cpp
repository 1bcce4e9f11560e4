// Writes the fuzzers' seed corpora: small valid and broken BMP files for the header check, and
// compositions of them for the composition target.
//   make_seeds HEADER_FOLDER COMPOSITION_FOLDER
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "composition_input.h"
#include "scratch_folder.h"
#include "varnowel/bmp_layout.h"

using namespace varnowel;
using namespace varnowel::fuzz;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Seed {
  std::int32_t width = 3;
  std::int32_t height = 2;
  std::uint32_t infoSize = 40;  // 12, 40, 108 or 124
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  std::uint32_t colors = 0;     // colour table entries after the info header
  std::uint32_t gap = 0;        // further bytes before the rows
  bool topDown = false;
  std::size_t cutTo = SIZE_MAX;  // the file's length when shorter
  std::uint8_t tone = 0;         // added to every byte of the pattern, so that layers differ
};

void PutU16(Bytes& out, std::size_t at, std::uint16_t value) {
  out[at] = std::uint8_t(value);
  out[at + 1] = std::uint8_t(value >> 8);
}

void PutU32(Bytes& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = std::uint8_t(value >> (8 * i));
}

// The file for `seed`: the header the engine writes, changed where the seed departs from it,
// and rows of an asymmetric pattern with some white (see-through) pixels.
Bytes MakeBmp(const Seed& seed) {
  const auto header = bmp::MakeHeader(seed.width, seed.height);
  Bytes out(header.begin(), header.end());
  out.resize(14 + seed.infoSize, 0x11);  // the larger headers' further fields: filler
  const std::uint32_t offBits = 14 + seed.infoSize + 4 * seed.colors + seed.gap;
  PutU32(out, bmp::kOffsetPixelData, offBits);
  PutU32(out, bmp::kOffsetInfoSize, seed.infoSize);
  PutU32(out, bmp::kOffsetHeight, std::uint32_t(seed.topDown ? -seed.height : seed.height));
  if (seed.infoSize >= 40) {
    PutU16(out, bmp::kOffsetBitCount, seed.bitCount);
    PutU32(out, bmp::kOffsetCompression, seed.compression);
  }
  for (std::uint32_t i = 14 + seed.infoSize; i < offBits; ++i) out.push_back(std::uint8_t(i * 7));
  const std::size_t stride = (std::size_t(seed.width) * seed.bitCount + 31) / 32 * 4;
  for (std::int32_t row = 0; row < seed.height; ++row) {
    for (std::size_t i = 0; i < stride; ++i) {
      const bool white = (std::size_t(row) + i / 3) % 3 == 2;
      out.push_back(white ? 0xFF : std::uint8_t(row * 40 + i * 13 + seed.tone));
    }
  }
  PutU32(out, bmp::kOffsetFileSize, std::uint32_t(out.size()));
  if (seed.cutTo < out.size()) out.resize(seed.cutTo);
  return out;
}

void Save(const std::filesystem::path& folder, const std::string& name, const Bytes& bytes) {
  WriteFile((folder / name).string(), bytes);
}

void MakeHeaderSeeds(const std::filesystem::path& folder) {
  for (std::int32_t width = 1; width <= 5; ++width)  // every fill count
    for (std::int32_t height = 1; height <= 2; ++height)
      Save(folder, "plain-" + std::to_string(width) + "x" + std::to_string(height),
           MakeBmp({.width = width, .height = height}));
  Save(folder, "empty-width", MakeBmp({.width = 0, .height = 4}));
  Save(folder, "empty-height", MakeBmp({.width = 4, .height = 0}));
  Save(folder, "info-108", MakeBmp({.infoSize = 108}));
  Save(folder, "info-124", MakeBmp({.infoSize = 124}));
  Save(folder, "core-12", MakeBmp({.infoSize = 12}));
  Save(folder, "gap", MakeBmp({.gap = 10}));
  Save(folder, "top-down", MakeBmp({.topDown = true}));
  Save(folder, "bits-1", MakeBmp({.bitCount = 1, .colors = 2}));
  Save(folder, "bits-8", MakeBmp({.bitCount = 8, .colors = 4}));
  Save(folder, "bits-16", MakeBmp({.bitCount = 16}));
  Save(folder, "bits-32", MakeBmp({.bitCount = 32}));
  Save(folder, "rle-8", MakeBmp({.bitCount = 8, .compression = 1, .colors = 4}));
  Save(folder, "rle-4", MakeBmp({.bitCount = 4, .compression = 2, .colors = 4}));
  Save(folder, "bitfields-32", MakeBmp({.infoSize = 108, .bitCount = 32, .compression = 3}));
  // Cut short inside or right after each header field, and inside the rows.
  const int cuts[] = {0,  1,  2,  4,  6,  8,  10, 12, 14, 16, 18, 20, 22,
                      24, 26, 28, 29, 30, 34, 38, 42, 46, 50, 54, 57, 65};
  for (const int cut : cuts)
    Save(folder, "cut-" + std::to_string(cut), MakeBmp({.cutTo = std::size_t(cut)}));
  Save(folder, "cut-124-in-header", MakeBmp({.infoSize = 124, .cutTo = 100}));
  Save(folder, "one-byte-short", MakeBmp({.cutTo = MakeBmp({}).size() - 1}));
}

struct Layer {
  Bytes bytes;
  std::int32_t transparency = 0;
  bool grayscale = false;
  std::uint32_t holeBytes = 0;
};

void SaveComposition(const std::filesystem::path& folder, const std::string& name,
                     const std::vector<Layer>& layers, OutputKind output = OutputKind::NewFile) {
  for (const EntryKind entry : {EntryKind::General, EntryKind::Record}) {
    CompositionInput input{output, entry, {}};
    for (const Layer& layer : layers)
      input.layers.push_back({layer.transparency, layer.grayscale, layer.holeBytes, layer.bytes});
    Save(folder, name + (entry == EntryKind::General ? "-general" : "-record"),
         EncodeCompositionInput(input));
  }
}

void MakeCompositionSeeds(const std::filesystem::path& folder) {
  const Bytes plain = MakeBmp({});
  const Bytes odd = MakeBmp({.width = 5, .height = 3});
  SaveComposition(folder, "one", {{plain}});
  SaveComposition(folder, "one-odd-gray", {{odd, 0, true}});
  SaveComposition(folder, "two-half", {{plain}, {MakeBmp({.infoSize = 108, .tone = 90}), 50}});
  SaveComposition(folder, "three", {{plain, 0},
                                    {MakeBmp({.infoSize = 124, .tone = 60}), 30, true},
                                    {MakeBmp({.gap = 8, .tone = 150}), 70}});
  SaveComposition(folder, "clamped", {{plain, -20}, {MakeBmp({.tone = 200}), 120, true}});
  SaveComposition(folder, "sizes-differ", {{plain}, {odd}});
  SaveComposition(folder, "second-cut", {{plain}, {MakeBmp({.cutTo = 60})}});
  SaveComposition(folder, "third-top-down", {{plain}, {plain}, {MakeBmp({.topDown = true})}});
  SaveComposition(folder, "second-eight-bit", {{plain}, {MakeBmp({.bitCount = 8, .colors = 4})}});
  SaveComposition(folder, "header-only", {{MakeBmp({.width = 4, .height = 0})}});
  // A 64 x 64 layer whose rows lie in a hole: many rows for few input bytes.
  Bytes large = MakeBmp({.width = 64, .height = 64, .cutTo = 54});
  SaveComposition(folder, "large-hole", {{large, 0, false, 64 * 192}, {large, 40, true, 64 * 192}});
  // 40 x 40: rows of 120 bytes, the second layer's last 3800 bytes in its hole (black).
  SaveComposition(folder, "hole-over-pattern",
                  {{MakeBmp({.width = 40, .height = 40})},
                   {MakeBmp({.width = 40, .height = 40, .cutTo = 1054, .tone = 77}), 40, true,
                    8 * kHoleBlock}});
  SaveComposition(folder, "over-earlier", {{plain}, {plain, 50}}, OutputKind::EarlierResult);
  SaveComposition(folder, "over-first-layer", {{plain}, {MakeBmp({.infoSize = 108}), 25}},
                  OutputKind::FirstLayer);
  SaveComposition(folder, "over-last-layer", {{plain}, {MakeBmp({.tone = 33}), 60, true}},
                  OutputKind::LastLayer);
  SaveComposition(folder, "failed-over-layer", {{plain}, {MakeBmp({.cutTo = 70})}},
                  OutputKind::FirstLayer);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_seeds HEADER_FOLDER COMPOSITION_FOLDER\n");
    return 2;
  }
  for (int i = 1; i < 3; ++i) std::filesystem::create_directories(argv[i]);
  MakeHeaderSeeds(argv[1]);
  MakeCompositionSeeds(argv[2]);
  return 0;
}
