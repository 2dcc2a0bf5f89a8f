#include "cli/setting_options.h"

#include <string_view>

#include "cli/option_values.h"

namespace sordanel {

namespace {

std::string WithUnit(const SettingRow& row, const std::string& text) {
    return row.unit.empty() ? text : text + " " + std::string(row.unit);
}

std::string Joined(std::span<const char* const> words) {
    std::string joined;
    for (const char* word : words) {
        AppendToList(joined, word);
    }
    return joined;
}

// The end of a real range for reading: the nearest short number when the setting takes it,
// else the next one inward.
std::string ReadableEnd(const SettingRow& row, float end, Rounding inward) {
    const std::string nearest = ReadableNumber(end);
    const auto typed = static_cast<float>(*ParseReal(nearest));
    return row.Takes(typed) ? nearest : ReadableNumber(end, inward);
}

std::string WholeText(float value) {
    return std::to_string(static_cast<long>(value));
}

std::string ValueName(const SettingRow& row) {
    switch (row.kind) {
        case SettingKind::Real:
            return "X";
        case SettingKind::Whole:
            return "N";
        case SettingKind::Listed:
            return "HZ";
        case SettingKind::Choice:
            return row.id == SettingId::Note ? "NAME" : row.id == SettingId::Key ? "KEY" : "WORD";
        case SettingKind::Toggle:
            break;
    }
    return "";
}

// The index of the word `text` names, whatever its case; -1 when it names none.
int WordIndex(const SettingRow& row, const std::string& text) {
    const std::string wanted = CanonicalNoteName(text);
    for (std::size_t i = 0; i < row.words.size(); ++i) {
        if (CanonicalNoteName(row.words[i]) == wanted) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

float WholeValue(const SettingRow& row, const std::string& option, const std::string& text) {
    const auto value = ParseWhole<long>(text);
    if (!value) {
        Refuse(option, text, "is not a whole number", AdmittedText(row));
    }
    if (!row.Takes(static_cast<float>(*value)) ||
        *value != static_cast<long>(static_cast<float>(*value))) {
        Refuse(option, text, "is out of range", AdmittedText(row));
    }
    return static_cast<float>(*value);
}

float ChoiceValue(const SettingRow& row, const std::string& option, const std::string& text) {
    const int index = WordIndex(row, text);
    if (index < 0) {
        const std::string_view what = row.id == SettingId::Note  ? "is not a note"
                                      : row.id == SettingId::Key ? "is not a key"
                                                                 : "is not a choice";
        Refuse(option, text, std::string(what), AdmittedText(row));
    }
    return static_cast<float>(index);
}

}  // namespace

std::string AdmittedText(const SettingRow& row) {
    switch (row.kind) {
        case SettingKind::Real:
            return WithUnit(row, ReadableEnd(row, row.Low(), Rounding::Up) + ".." +
                                     ReadableEnd(row, row.High(), Rounding::Down));
        case SettingKind::Whole: {
            const std::string steps =
                row.step > 1 ? " in steps of " + std::to_string(row.step) : "";
            return WithUnit(row, WholeText(row.Low()) + ".." + WholeText(row.High())) + steps;
        }
        case SettingKind::Listed: {
            std::string offered;
            for (std::size_t i = 0; i < row.listedCount; ++i) {
                AppendToList(offered, ReadableNumber(row.listedAt(i)));
            }
            return WithUnit(row, offered);
        }
        case SettingKind::Choice:
            if (row.id == SettingId::Note) {
                // Lowest first, as a range of notes is written.
                return std::string(row.words.back()) + ".." + row.words.front() +
                       ", sharps only, e.g. C#4";
            }
            return Joined(row.words);
        case SettingKind::Toggle:
            break;
    }
    return "";
}

std::string ValueText(const SettingRow& row, float value) {
    switch (row.kind) {
        case SettingKind::Whole:
            return WithUnit(row, WholeText(value));
        case SettingKind::Choice:
            return row.words[static_cast<std::size_t>(value)];
        default:
            return WithUnit(row, ReadableNumber(value));
    }
}

float TypedValue(const SettingRow& row, const std::string& option, const std::string& text) {
    const auto value = ParseReal(text);
    if (!value) {
        Refuse(option, text, "is not a number", AdmittedText(row));
    }
    const auto stored = static_cast<float>(*value);
    if (!row.Takes(stored)) {
        Refuse(option, text,
               row.kind == SettingKind::Listed ? "is not an offered value" : "is out of range",
               AdmittedText(row));
    }
    return stored;
}

OptionSpec SettingOption(const SettingRow& row, NoteSettings& settings,
                         std::function<void()> also) {
    OptionSpec spec{
        .name = std::string(row.option),
        .valueName = ValueName(row),
        .values = AdmittedText(row),
        .defaultText = row.kind == SettingKind::Toggle ? "" : ValueText(row, row.Default()),
        .help = std::string(row.help)};
    const std::string option = spec.name;
    spec.take = [&row, &settings, also = std::move(also), option](const std::string& text) {
        float value = 0;
        switch (row.kind) {
            case SettingKind::Real:
            case SettingKind::Listed:
                value = TypedValue(row, option, text);
                break;
            case SettingKind::Whole:
                value = WholeValue(row, option, text);
                break;
            case SettingKind::Choice:
                value = ChoiceValue(row, option, text);
                break;
            case SettingKind::Toggle:
                // A flag turns the setting away from its default.
                value = row.Default() > 0.5f ? 0.0f : 1.0f;
                break;
        }
        row.access.write(settings, value);
        if (also) {
            also();
        }
    };
    return spec;
}

}  // namespace sordanel
