#pragma once

#include <array>
#include <cstdint>

namespace sordanel {

inline constexpr std::size_t kWaveHeaderBytes = 44;

// The header of a mono 16-bit 44100 Hz PCM WAVE file of totalSamples samples. It is complete
// before any sample is written and never patched afterwards.
std::array<std::uint8_t, kWaveHeaderBytes> BuildWaveHeader(std::uint32_t totalSamples);

}  // namespace sordanel
