#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sordanel {

// How settings are typed into and shown in text boxes. Numbers are read and written with a
// '.' decimal point whatever the user's locale, so a value shown can always be typed back.

inline constexpr std::size_t kTypedFreqMaxChars = 7;
inline constexpr std::size_t kTypedDurationMaxChars = 29;
inline constexpr std::size_t kOutputPathMaxChars = 390;

// A resonance frequency typed into its F box: the value of the leading decimal digits of the
// first 7 characters (0 without any), clamped to the setting's range.
std::int32_t TypedResonanceFreq(std::string_view text);

// A duration typed into its box: a decimal number read from the first 29 characters (leading
// blanks allowed, reading stops at the first character that does not fit), in single
// precision, clamped to the setting's range. Nothing when it is not a positive number.
std::optional<float> TypedDuration(std::string_view text);

// The duration slider's position nearest to `seconds`; a midpoint goes to the upper step.
int DurationSliderPosition(float seconds);

std::string FormatSigned(std::int32_t value);  // "+5", "0", "-12"
std::string FormatDuration(float seconds);     // four significant digits: "0.8", "1.234", "20"
std::string FormatTenths(float value);         // one decimal: "9.0", "0.5"

}  // namespace sordanel
