#include "option_values.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <cstdio>

namespace sordanel {

void Refuse(const std::string& option, const std::string& value, const std::string& why,
            const std::string& admitted) {
    throw CLI::ValidationError(option, "\"" + value + "\" " + why + "; admitted: " + admitted);
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
