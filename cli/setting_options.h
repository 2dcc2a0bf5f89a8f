#pragma once

#include <functional>
#include <string>

#include "cli/option_parser.h"
#include "engine/generation_settings.h"
#include "engine/setting_table.h"

namespace sordanel {

// The renderer's option of a row of the settings table: what the help says of it is made from
// the row, and each value it takes is written into `settings` through the row. `also` runs after
// each value taken (a volume turns Maximize off, say).
OptionSpec SettingOption(const SettingRow& row, NoteSettings& settings,
                         std::function<void()> also = {});

// What a setting admits, for reading: "0.351..3.5", "10..150 cents in steps of 5",
// "low, high". The ends of a range are rounded inward, so that either may be typed back.
std::string AdmittedText(const SettingRow& row);
// A value of the setting for reading, in the renderer's own words for a choice.
std::string ValueText(const SettingRow& row, float value);

// A value typed for a real or listed setting: the float it stands for, or the refusal of
// `option`. A value is admitted when, rounded to the setting's float, it lies within the range.
float TypedValue(const SettingRow& row, const std::string& option, const std::string& text);

}  // namespace sordanel
