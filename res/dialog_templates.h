#pragma once

#include <array>
#include <span>

#include "dialog_template.h"

namespace sordanel {

// The program's dialogs as laid out in dialog units.
extern const DialogTemplate kMainDialogTemplate;
extern const DialogTemplate kAboutTemplate;
extern const DialogTemplate kErrorTemplate;
extern const DialogTemplate kExitTemplate;
extern const DialogTemplate kRemarkTemplate;
extern const DialogTemplate kProgressTemplate;
extern const DialogTemplate kWarningTemplate;

// The controls of each tab page of the main dialog: "String & Bow", "Sound Box", "General/File".
extern const std::array<std::span<const int>, 3> kMainDialogPages;

// The system-menu entry that opens the About box.
inline constexpr const char* kAboutMenuText = "&About Sordanel...";

}  // namespace sordanel
