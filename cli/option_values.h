#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace sordanel {

// A value range of an option in the setting's own unit.
struct RealRange {
    double low;
    double high;
};

inline constexpr RealRange kBowForceRange{0.35091, 3.5};
inline constexpr RealRange kBowSpeedRange{0.060155, 0.6};

// Every refused value reads the same way: the option, the value as typed, why, and what the
// option admits. Throws the command-line parser's validation error.
[[noreturn]] void Refuse(const std::string& option, const std::string& value,
                         const std::string& why, const std::string& admitted);

std::string FormatNumber(double value);    // "%g"
std::string FormatRange(RealRange range);  // "low..high"

// A whole decimal number, with an optional sign; nothing else may follow it.
template <class Number>
std::optional<Number> ParseWhole(std::string_view text) {
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// A finite decimal number, read the same way whatever the locale.
std::optional<double> ParseReal(std::string_view text);

// A number of `range`, or the refusal of `option`.
double RealIn(const std::string& option, const std::string& text, RealRange range);

}  // namespace sordanel
