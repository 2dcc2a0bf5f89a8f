#pragma once

// The grid of bows the pitch lock is judged on: every combination of the lowest, the default
// and the highest bow force, bow speed, bow position, string damping and friction ratio.

#include <array>

#include "engine/generation_settings.h"
#include "engine/settings_rules.h"

namespace sordanel::testing {

inline constexpr int kBowGridSettings = 243;  // 3^5

// Setting i counts in base 3 through the five bow values, the friction ratio fastest: digit 0
// the slider's bottom (the lowest value), 1 its default position, 2 its top. The rest is base.
inline GenerationSettings BowGridSetting(const GenerationSettings& base, int i) {
    std::array<int, 5> digit{};
    for (int& d : digit) {
        d = i % 3;
        i /= 3;
    }
    const auto position = [](int d, int defaultPosition) {
        return d == 0 ? kBowSliderMax : d == 1 ? defaultPosition : 0;
    };
    GenerationSettings s = base;
    s.bowPressingForce =
        BowPressingForceAt(position(digit[4], kSliderDefaults.bowPressingForce), kBowSliderMax);
    s.bowSpeed = BowSpeedAt(position(digit[3], kSliderDefaults.bowSpeed), kBowSliderMax);
    s.bowPosition = BowPositionAt(position(digit[2], kSliderDefaults.bowPosition), kBowSliderMax);
    s.stringDamping =
        StringDampingAt(position(digit[1], kSliderDefaults.stringDamping), kBowSliderMax);
    s.frictionRatio =
        FrictionRatioAt(position(digit[0], kSliderDefaults.frictionRatio), kBowSliderMax);
    return s;
}

}  // namespace sordanel::testing
