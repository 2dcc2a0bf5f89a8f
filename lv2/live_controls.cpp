#include "lv2/live_controls.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "engine/settings_rules.h"
#include "engine/settings_tables.h"
#include "lv2/voice_pool.h"

namespace sordanel::lv2 {

namespace {

constexpr float kShortestEnvelopeSeconds = 0.005f;
constexpr float kLongestEnvelopeSeconds = 20.0f;  // the longest note the window makes
constexpr double kBendSemitones = 2.0;

// A NaN becomes the range's bottom; std::clamp alone would let it through.
float Clamped(float value, float low, float high) {
    return value >= low ? std::min(value, high) : low;
}

std::int32_t Whole(float value, std::int32_t low, std::int32_t high) {
    return static_cast<std::int32_t>(
        std::lround(Clamped(value, static_cast<float>(low), static_cast<float>(high))));
}

float Read(const ControlPorts& ports, Port port, float low, float high) {
    return Clamped(*ports[port], low, high);
}

// The slider value at the top of a vertical slider or the right of a horizontal one, and at
// the other end: the range of a setting as the window offers it.
struct Range {
    float low, high;
};
Range Descending(float (*at)(int, int), int max) {
    return {at(max, max), at(0, max)};
}

// The widest table entry not above `widthHz`, then narrowed until the resonance allows it.
std::int32_t WidthIndex(float widthHz, std::int32_t freqHz) {
    const auto above = std::upper_bound(kResonanceWidthsHz.begin(), kResonanceWidthsHz.end(),
                                        static_cast<int>(std::lround(Clamped(widthHz, 0, 1000))));
    const auto index = std::max<std::int32_t>(
        0, static_cast<std::int32_t>(std::distance(kResonanceWidthsHz.begin(), above)) - 1);
    return WidthIndexAfterTypedFreq(freqHz, index);
}

// The enabled flag, F, dF and A ports of resonance 1 .. 4 (the first has no flag).
struct ResonancePorts {
    Port freq, width, amp;
};
constexpr std::array<ResonancePorts, 4> kResonancePorts = {{
    {kResonance1Freq, kResonance1Width, kResonance1Amp},
    {kResonance2Freq, kResonance2Width, kResonance2Amp},
    {kResonance3Freq, kResonance3Width, kResonance3Amp},
    {kResonance4Freq, kResonance4Width, kResonance4Amp},
}};
constexpr std::array<Port, 3> kResonanceOnPorts = {kResonance2On, kResonance3On, kResonance4On};

}  // namespace

void ReadNoteSettings(const ControlPorts& ports, GenerationSettings& settings) {
    const Range force = Descending(BowPressingForceAt, kBowSliderMax);
    const Range speed = Descending(BowSpeedAt, kBowSliderMax);
    const Range position = Descending(BowPositionAt, kBowSliderMax);
    const Range damping = Descending(StringDampingAt, kBowSliderMax);
    const Range friction = Descending(FrictionRatioAt, kBowSliderMax);
    settings.bowPressingForce = Read(ports, kBowPressingForce, force.low, force.high);
    settings.bowSpeed = Read(ports, kBowSpeed, speed.low, speed.high);
    settings.bowPosition = Read(ports, kBowPosition, position.low, position.high);
    settings.stringDamping = Read(ports, kStringDamping, damping.low, damping.high);
    settings.frictionRatio = Read(ports, kFrictionRatio, friction.low, friction.high);
    settings.stringToBoxRatio = Read(ports, kStringToBoxRatio, 0.0f, 1.0f);
    settings.detune = Whole(*ports[kDetune], -105, 105);
    settings.justIntonation = static_cast<Temperament>(Whole(*ports[kTemperament], 0, 1));
    settings.keyIndex = Whole(*ports[kKey], 0, 11);
    settings.quality = static_cast<Quality>(Whole(*ports[kQuality], 0, 1));
    settings.autocorrection = static_cast<AutocorrectionMode>(Whole(*ports[kPitchLock], 0, 2));

    for (std::size_t k = 0; k < kResonancePorts.size(); ++k) {
        const std::int32_t freq = Whole(*ports[kResonancePorts[k].freq], 40, 1500);
        settings.resonanceFreq[k] = freq;
        settings.resonanceWidthIndex[k] = WidthIndex(*ports[kResonancePorts[k].width], freq);
        settings.resonanceAmp[k] = Whole(*ports[kResonancePorts[k].amp], 1, 20);
    }
    for (std::size_t k = 0; k < kResonanceOnPorts.size(); ++k) {
        settings.resonanceOn[k] = *ports[kResonanceOnPorts[k]] > 0.5f;
    }
    settings.pseudorandomResonances = *ports[kPseudorandomOn] > 0.5f;
    settings.pseudorandomAmp = Whole(*ports[kPseudorandomAmp], 1, PseudorandomAmpMax());
}

LiveInputs ReadLiveInputs(const ControlPorts& ports, float bendRatio) {
    const Range force = Descending(BowPressingForceAt, kBowSliderMax);
    const Range speed = Descending(BowSpeedAt, kBowSliderMax);
    const Range damping = Descending(StringDampingAt, kBowSliderMax);
    const Range friction = Descending(FrictionRatioAt, kBowSliderMax);
    return {
        .bowPressingForce = Read(ports, kBowPressingForce, force.low, force.high),
        .bowSpeed = Read(ports, kBowSpeed, speed.low, speed.high),
        .stringDamping = Read(ports, kStringDamping, damping.low, damping.high),
        .frictionRatio = Read(ports, kFrictionRatio, friction.low, friction.high),
        .attackSeconds = Read(ports, kAttack, kShortestEnvelopeSeconds, kLongestEnvelopeSeconds),
        .releaseSeconds = Read(ports, kRelease, kShortestEnvelopeSeconds, kLongestEnvelopeSeconds),
        .vibratoOn = *ports[kVibratoOn] > 0.5f,
        .vibratoSpeedHz =
            Read(ports, kVibratoSpeed, kVibratoSpeedsHz.front(), kVibratoSpeedsHz.back()),
        .vibratoDepth = Whole(*ports[kVibratoDepth], 10, 150),
        .bendRatio = bendRatio,
    };
}

std::int32_t ReadVolumeDb(const ControlPorts& ports) {
    return Whole(*ports[kVolume], VolumeDbAt(kVolumeSliderMax), VolumeDbAt(0));
}

std::int32_t ReadVoiceLimit(const ControlPorts& ports) {
    return Whole(*ports[kVoices], 1, static_cast<std::int32_t>(VoicePool::kMaxVoices));
}

float BendRatio(std::int32_t wheel) {
    const double semitones = (wheel - 8192) / 8192.0 * kBendSemitones;
    return static_cast<float>(std::exp2(semitones / 12.0));
}

}  // namespace sordanel::lv2
