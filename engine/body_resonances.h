#pragma once

#include <array>
#include <cstddef>

#include "engine/generation_settings.h"

namespace sordanel {

// One resonance of the body as the user or the built-in set gives it.
struct ResonanceSpec {
    float freqHz;
    float widthHz;
    float amplitudeDb;
};

// The body's resonances of one run, in the order the bank is built: the first, the enabled
// second to fourth, then the five built-in ones.
struct BodyResonances {
    static constexpr std::size_t kMax = 9;
    std::array<ResonanceSpec, kMax> list{};
    std::size_t count = 0;
};

BodyResonances ActiveResonances(const NoteSettings& settings);

}  // namespace sordanel
