#include "engine/settings_text.h"

#include <algorithm>
#include <charconv>

#include "engine/setting_table.h"
#include "engine/settings_tables.h"

namespace sordanel {

namespace {

std::string_view Head(std::string_view text, std::size_t maxChars) {
    return text.substr(0, std::min(text.size(), maxChars));
}

std::string Formatted(float value, std::chars_format format, int precision) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::int32_t TypedResonanceFreq(std::string_view text) {
    std::int32_t value = 0;
    for (char c : Head(text, kTypedFreqMaxChars)) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + (c - '0');  // at most seven digits: no overflow
    }
    const SettingRow& freq = Setting(SettingId::Resonance1Freq);
    return std::clamp(value, static_cast<std::int32_t>(freq.Low()),
                      static_cast<std::int32_t>(freq.High()));
}

std::optional<float> TypedDuration(std::string_view text) {
    std::string_view rest = Head(text, kTypedDurationMaxChars);
    while (!rest.empty() &&
           (rest.front() == ' ' || rest.front() == '\t' || rest.front() == '\n' ||
            rest.front() == '\r' || rest.front() == '\f' || rest.front() == '\v')) {
        rest.remove_prefix(1);
    }
    if (!rest.empty() && rest.front() == '+') {
        rest.remove_prefix(1);
    }
    double parsed = 0.0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), parsed);
    if (error == std::errc::result_out_of_range) {
        // Beyond what a double holds: far above the longest duration, or far below anything.
        const std::string_view number(rest.data(), static_cast<std::size_t>(end - rest.data()));
        const bool tiny = number.find("e-") != number.npos || number.find("E-") != number.npos;
        parsed = number.front() == '-' || tiny ? 0.0 : 1e30;
    } else if (error != std::errc{}) {
        parsed = 0.0;
    }
    const auto seconds = static_cast<float>(parsed);
    // Not a number is no duration either: it would pass every comparison below.
    if (!(seconds > 0.0000001f)) {
        return std::nullopt;
    }
    const SettingRow& duration = Setting(SettingId::Duration);
    return std::clamp(seconds, duration.Low(), duration.High());
}

int DurationSliderPosition(float seconds) {
    const int last = static_cast<int>(kDurationStepsSec.size()) - 1;
    for (int i = 0; i < last; ++i) {
        const float midpoint = (kDurationStepsSec[static_cast<std::size_t>(i)] +
                                kDurationStepsSec[static_cast<std::size_t>(i) + 1]) /
                               2;
        if (midpoint > seconds) {
            return i;
        }
    }
    return last;
}

std::string FormatSigned(std::int32_t value) {
    std::string text = std::to_string(value);
    if (value > 0) {
        text.insert(text.begin(), '+');
    }
    return text;
}

std::string FormatDuration(float seconds) {
    return Formatted(seconds, std::chars_format::general, 4);
}

std::string FormatTenths(float value) {
    return Formatted(value, std::chars_format::fixed, 1);
}

}  // namespace sordanel
