#include "dialog_templates.h"

namespace sordanel {

namespace {

using enum ControlKind;

constexpr ControlRow kRemarkControls[] = {
    {kNoId, Label,
     "1. The parameters are measured relatively to string length and weight so that they give "
     "the same timbre for all note frequencies",
     17, 9, 216, 24},
    {kNoId, Label,
     "2. Lowering the bow speed has the same effect as raising the bow pressing force, except "
     "for the change in volume",
     17, 34, 220, 24},
    {kNoId, Label,
     "3. If you are getting some weird sounds (and that isn't what you want), try setting "
     "parameters close to the default values",
     17, 58, 219, 24},
    {kNoId, Label,
     "4. When the frequency autocorrection is switched off, the genera- ted frequency may be "
     "slightly inaccurate; real time autocorrection may cause a strange vibration",
     17, 82, 219, 24},
    {1, PushButton,
     "Now I possess comprehensive knowledge about these settings and therefore I am willing to "
     "close this dialog",
     66, 115, 121, 37, kDefault | kMultiLine},
};

}  // namespace

const DialogTemplate kRemarkTemplate{"Remarks about string & bow settings", 253, 166, true,
                                     kRemarkControls};

}  // namespace sordanel
