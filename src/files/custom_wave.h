#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/scope.h"

namespace qvx {

// Custom waves for the generator: raw files (.dcg or any other; two bytes a point, high
// byte first) and CSV files of codes 0..4095. A load fills GenTable up to GenLastIndex
// and switches the generator to CUSTOM.
void customsave(Scope& s);
void customload(Scope& s);
void Customcsvload(Scope& s);

std::string customWaveBytes(const GeneratorState& s);

// The decoders: the output codes (0..4095) a raw or CSV custom wave holds, at most
// 65535 of them. Every file decodes, an empty one to no points. They touch no state.
std::vector<std::int16_t> decodeRawWave(std::string_view bytes);
std::vector<std::int16_t> decodeCsvWave(std::string_view text);

// The bytes a raw custom wave of these codes holds.
std::string rawWaveBytes(const std::vector<std::int16_t>& codes);

// Puts decoded points into the generator table and switches the generator to CUSTOM.
void applyWave(Scope& s, const std::vector<std::int16_t>& codes);

// The most a custom load reads: 65535 points of raw bytes, or a CSV file of 65535
// items of any reasonable width.
inline constexpr std::size_t kRawWaveReadLimit = 2 * 65535;
inline constexpr std::size_t kCsvWaveReadLimit = 65535 * 64;

// Copies channel A, B, C or D (0..3) into the custom wave: as many points as the buffer
// size kept when GENERATOR was entered, played at the capture's rate.
void copyChannelToCustom(const TimebaseState& timebase, GeneratorState& gen,
                         const SampleBuffers& bufs, int channel);

}  // namespace qvx
