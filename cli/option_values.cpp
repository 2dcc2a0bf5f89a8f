#include "cli/option_values.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <cstdio>

namespace sordanel {

namespace {

// `text` with each control character shown as its code, so that it cannot break a line.
std::string Printable(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02x", byte);
            shown += code;
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace

void Refuse(const std::string& option, const std::string& value, const std::string& why,
            const std::string& admitted) {
    // A refusal is one line, whatever the value and the names made from it hold.
    throw CLI::ValidationError(option,
                               Printable("\"" + value + "\" " + why + "; admitted: " + admitted));
}

std::string FormatNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string FormatRange(RealRange range) {
    return FormatNumber(range.low) + ".." + FormatNumber(range.high);
}

std::optional<double> ParseReal(std::string_view text) {
    const auto value = ParseWhole<double>(text);
    if (!value || !std::isfinite(*value)) {
        return std::nullopt;
    }
    return value;
}

double RealIn(const std::string& option, const std::string& text, RealRange range) {
    const auto value = ParseReal(text);
    if (!value) {
        Refuse(option, text, "is not a number", FormatRange(range));
    }
    if (*value < range.low || *value > range.high) {
        Refuse(option, text, "is out of range", FormatRange(range));
    }
    return *value;
}

}  // namespace sordanel
