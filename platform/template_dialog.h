#pragma once

#include <QDialog>

#include "control_map.h"
#include "dialog_builder.h"

namespace sordanel {

// A dialog built from its template. Button 1 gives the OK command (accept) and button 2 the
// cancel command (reject), as do Enter on the default button and Escape.
class TemplateDialog : public QDialog {
    Q_OBJECT
public:
    explicit TemplateDialog(const DialogTemplate& layout,
                            const CustomControlMaker& makeCustom = {});

    const ControlMap& controls() const { return controls_; }

protected:
    ControlMap controls_;
};

}  // namespace sordanel
