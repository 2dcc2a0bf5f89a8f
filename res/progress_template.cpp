#include "dialog_templates.h"

namespace sordanel {

namespace {

using enum ControlKind;

constexpr ControlRow kProgressControls[] = {
    {1, PushButton, "Close", 143, 121, 50, 14, kHidden | kDisabled},
    {2, PushButton, "Abort", 207, 121, 50, 14, kDefault},
    {1128, Custom, "", 39, 39, 182, 59},
    {1135, Icon, "", 14, 9, 21, 20, kHidden},
    {1136, Label,
     "An error occured. The program is now working in an abnormal mode and may crash. This "
     "window won't close automatically after finishing generation, so press the 'Close' button "
     "then.",
     39, 7, 212, 24, kHidden},
};

}  // namespace

const DialogTemplate kProgressTemplate{"Sordanel - Generating Sound", 264, 142, false,
                                       kProgressControls};

}  // namespace sordanel
