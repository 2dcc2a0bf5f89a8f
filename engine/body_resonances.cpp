#include "engine/body_resonances.h"

#include "engine/settings_tables.h"

namespace sordanel {

namespace {

// The five fixed resonances added by "pseudorandom resonances": always the same.
struct BuiltInResonance {
    float freqHz;
    float widthHz;
    float levelFactor;  // of the pseudorandom amplitude, in dB
};
constexpr std::array<BuiltInResonance, 5> kBuiltInResonances = {{
    {343, 30, 0.63f},
    {587, 26, 0.9f},
    {780, 56, 1.1f},
    {962, 61, 0.86f},
    {1252, 130, 0.54f},
}};

}  // namespace

BodyResonances ActiveResonances(const NoteSettings& settings) {
    BodyResonances body;
    auto appendUser = [&](std::size_t i) {
        const auto widthIndex = static_cast<std::size_t>(settings.resonanceWidthIndex[i]);
        body.list[body.count++] = {static_cast<float>(settings.resonanceFreq[i]),
                                   static_cast<float>(kResonanceWidthsHz[widthIndex]),
                                   static_cast<float>(settings.resonanceAmp[i])};
    };
    appendUser(0);  // the first resonance has no switch
    for (std::size_t i = 1; i < 4; ++i) {
        if (settings.resonanceOn[i - 1]) {
            appendUser(i);
        }
    }
    if (settings.pseudorandomResonances) {
        for (const BuiltInResonance& r : kBuiltInResonances) {
            body.list[body.count++] = {
                r.freqHz, r.widthHz,
                static_cast<float>(settings.pseudorandomAmp * double{r.levelFactor})};
        }
    }
    return body;
}

}  // namespace sordanel
