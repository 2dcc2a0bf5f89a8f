#include "dialog_templates.h"

namespace sordanel {

namespace {

using enum ControlKind;

constexpr ControlRow kErrorControls[] = {
    {1, PushButton, "OK", 68, 62, 50, 14, kDefault},
    {1028, Label, "Error", 55, 19, 112, 29},
    {1029, Icon, "", 19, 23, 20, 20},
};

}  // namespace

const DialogTemplate kErrorTemplate{"Error", 186, 90, false, kErrorControls};

}  // namespace sordanel
