#include "dialog_templates.h"
#include "resource_paths.h"

namespace sordanel {

namespace {

using enum ControlKind;

constexpr ControlRow kExitControls[] = {
    {1, PushButton, "Si", 42, 54, 38, 14, kDefault},
    {2, PushButton, "Non", 108, 54, 36, 14},
    {kNoId, Label, "Sei sicuro di voler terminare l'applicazione?", 60, 19, 101, 18},
    {kNoId, Icon, kExitIconPath, 26, 16, 20, 20},
};

}  // namespace

const DialogTemplate kExitTemplate{"", 186, 75, false, kExitControls};

}  // namespace sordanel
