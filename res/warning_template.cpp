#include "dialog_templates.h"

namespace sordanel {

namespace {

using enum ControlKind;

constexpr ControlRow kWarningControls[] = {
    {1, PushButton, "Invisible OK", 25, 66, 50, 14, kHidden},
    {2, PushButton, "Try Again Later", 26, 94, 61, 14, kDefault},
    {1131, PushButton, "Proceed", 125, 94, 63, 14},
    {1132, PushButton, "I'm ready to face the consequences", 114, 62, 93, 25,
     kMultiLine | kDisabled},
    {1133, Icon, "", 25, 23, 21, 20},
    {kNoId, Label,
     "For unknown reasons the previous sound generation has not finished yet. It is strongly "
     "recommended that you wait for it to end. Otherwise the program may crash or work "
     "improperly.",
     65, 12, 133, 47},
};

}  // namespace

const DialogTemplate kWarningTemplate{"Warning", 214, 115, true, kWarningControls};

}  // namespace sordanel
