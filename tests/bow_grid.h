#pragma once

// The grid of bows the pitch lock is judged on: every combination of the lowest, the default
// and the highest bow force, bow speed, bow position, string damping and friction ratio.

#include <array>

#include "engine/generation_settings.h"
#include "engine/setting_table.h"

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
    // Vertical sliders have their largest value at the top, position 0.
    const auto value = [](SettingId id, int d) {
        const int bottom = SliderPositions(id);
        const int p = d == 0 ? bottom : d == 1 ? SliderDefaultPosition(id) : 0;
        return SliderValueAt(id, p, bottom);
    };
    GenerationSettings s = base;
    s.bowPressingForce = value(SettingId::BowPressingForce, digit[4]);
    s.bowSpeed = value(SettingId::BowSpeed, digit[3]);
    s.bowPosition = value(SettingId::BowPosition, digit[2]);
    s.stringDamping = value(SettingId::StringDamping, digit[1]);
    s.frictionRatio = value(SettingId::FrictionRatio, digit[0]);
    return s;
}

}  // namespace sordanel::testing
