// How one fuzz input describes a composition: which layer files, their settings, the output.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace varnowel::fuzz {

// Byte 0 is the control byte:
//   (control & 3) % 3 + 1   the number of layers, 1 to 3
//   (control >> 2) & 3      the output: 0 a new file, 1 an earlier result that exists,
//                           2 the first layer's file, 3 the last layer's file
//   (control >> 4) & 1      0 the general entry (as varnowel-compose runs it), 1 the
//                           record's geometry check and run (as the dialog runs them)
// Then for each layer a 4-byte prefix and its file's bytes:
//   transparency            signed byte, -128 to 127 (the engine clamps it)
//   flags                   bit 0 grayscale; bits 1 to 7 a hole of that many 512-byte blocks
//                           added to the file's end, so that large rows cost no input bytes
//   length                  16 bits, little-endian: the file's bytes that follow, cut to
//                           what the input still holds
enum class OutputKind { NewFile, EarlierResult, FirstLayer, LastLayer };
enum class EntryKind { General, Record };

struct LayerInput {
  std::int32_t transparency = 0;
  bool grayscale = false;
  std::uint32_t holeBytes = 0;
  std::span<const std::uint8_t> bytes;
};

struct CompositionInput {
  OutputKind output = OutputKind::NewFile;
  EntryKind entry = EntryKind::General;
  std::vector<LayerInput> layers;  // 1 to 3
};

inline constexpr std::uint32_t kHoleBlock = 512;

// Reads an input of any length; an empty one gives one empty layer.
CompositionInput ParseCompositionInput(std::span<const std::uint8_t> data);

// The bytes that ParseCompositionInput reads back as `input` (1 to 3 layers), for the seeds.
std::vector<std::uint8_t> EncodeCompositionInput(const CompositionInput& input);

}  // namespace varnowel::fuzz
