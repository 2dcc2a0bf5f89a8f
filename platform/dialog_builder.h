#pragma once

#include <functional>

#include "control_map.h"
#include "dialog_template.h"

class QDialog;

namespace sordanel {

// Makes the control of a Custom row; the builder places it.
using CustomControlMaker = std::function<QWidget*(const ControlRow& row, QWidget* parent)>;

// Gives `dialog` the caption, font and fixed size of `layout` and creates its controls in
// order, placed by converting dialog units with the dialog font. Radio buttons form one group
// from a kGroup row to the next. Returns the controls that have an id.
ControlMap BuildDialog(QDialog& dialog, const DialogTemplate& layout,
                       const CustomControlMaker& makeCustom = {});

}  // namespace sordanel
