#include "cli/option_values.h"

#include <cmath>
#include <cstdio>

#include "cli/option_parser.h"

namespace sordanel {

void Refuse(const std::string& option, const std::string& value, const std::string& why,
            const std::string& admitted) {
    throw UsageError(option + ": \"" + value + "\" " + why + "; admitted: " + admitted);
}

std::string EscapeControls(std::string_view text) {
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

void AppendToList(std::string& list, std::string_view item, std::string_view separator) {
    if (!list.empty()) {
        list.append(separator);
    }
    list.append(item);
}

std::string ReadableNumber(double value, Rounding rounding) {
    constexpr int kDigits = 4;
    if (value == 0 || !std::isfinite(value)) {
        return value == 0 ? "0" : std::to_string(value);
    }
    // Scaled so that the digits kept stand before the point, where they are rounded as asked.
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const double scale = std::pow(10.0, kDigits - 1 - exponent);
    const double scaled = value * scale;
    const double rounded = rounding == Rounding::Up     ? std::ceil(scaled)
                           : rounding == Rounding::Down ? std::floor(scaled)
                                                        : std::round(scaled);
    char text[32];
    std::snprintf(text, sizeof text, "%.*g", kDigits, rounded / scale);
    return text;
}

std::optional<double> ParseReal(std::string_view text) {
    const auto value = ParseWhole<double>(text);
    if (!value || !std::isfinite(*value)) {
        return std::nullopt;
    }
    return value;
}

std::string CanonicalNoteName(std::string_view text) {
    std::string name(text);
    for (char& c : name) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return name;
}

}  // namespace sordanel
