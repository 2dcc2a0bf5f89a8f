#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace sordanel {

// Every refused value reads the same way: the option, the value as typed, why, and what the
// option admits. Throws UsageError.
[[noreturn]] void Refuse(const std::string& option, const std::string& value,
                         const std::string& why, const std::string& admitted);

// `text` with each control character shown as its code, so that a message quoting what the
// user typed stays one line.
std::string EscapeControls(std::string_view text);

// Appends `item` to a list written as text, after `separator` unless it is the first.
void AppendToList(std::string& list, std::string_view item, std::string_view separator = ", ");

// How a number is rounded for reading: to the nearest, or inward from the end of a range, so
// that the number read is one the range admits.
enum class Rounding { Nearest, Up, Down };

// A number for reading: at most four significant digits, without trailing zeros ("0.351",
// "3.5", "0.0002513", "20").
std::string ReadableNumber(double value, Rounding rounding = Rounding::Nearest);

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

// Note and key names as the tables hold them, whatever case they were typed in: "c#4" is C#4.
std::string CanonicalNoteName(std::string_view text);

}  // namespace sordanel
