#include "engine/wave_header.h"

#include <cstring>

namespace sordanel {

namespace {

void Put32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void Put16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

}  // namespace

std::array<std::uint8_t, kWaveHeaderBytes> BuildWaveHeader(std::uint32_t totalSamples) {
    const std::uint32_t dataBytes = 2 * totalSamples;
    std::array<std::uint8_t, kWaveHeaderBytes> h{};
    std::memcpy(&h[0], "RIFF", 4);
    Put32(&h[4], dataBytes + 36);
    std::memcpy(&h[8], "WAVE", 4);
    std::memcpy(&h[12], "fmt ", 4);
    Put32(&h[16], 16);     // format chunk size
    Put16(&h[20], 1);      // PCM
    Put16(&h[22], 1);      // one channel
    Put32(&h[24], 44100);  // samples per second
    Put32(&h[28], 88200);  // bytes per second
    Put16(&h[32], 2);      // bytes per sample frame
    Put16(&h[34], 16);     // bits per sample
    std::memcpy(&h[36], "data", 4);
    Put32(&h[40], dataBytes);
    return h;
}

}  // namespace sordanel
