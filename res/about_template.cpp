#include "dialog_templates.h"
#include "resource_paths.h"

namespace sordanel {

namespace {

using enum ControlKind;

constexpr ControlRow kAboutControls[] = {
    {kNoId, Icon, kAppIconPath, 11, 17, 21, 20},
    {kNoId, Label, "Sordanel Ver. 1.0", 39, 10, 84, 10, kCentred | kBorder},
    {kNoId, Label, "String instrument sound generator", 40, 22, 111, 8},
    {kNoId, Label, "(C) 2026 the Sordanel authors", 40, 37, 119, 8},
    {kNoId, Label, "The Sordanel team", 40, 48, 68, 8},
    {kNoId, Label, "Questions and ideas: see the README", 40, 60, 125, 8},
    {1, PushButton, "OK", 178, 24, 37, 32, kDefault},
};

}  // namespace

const DialogTemplate kAboutTemplate{"About Sordanel", 235, 79, true, kAboutControls};

}  // namespace sordanel
