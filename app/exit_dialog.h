#pragma once

#include "template_dialog.h"

namespace sordanel {

// The exit question: "Si" gives the OK result, "Non" the cancel result.
class CExitDlg : public TemplateDialog {
    Q_OBJECT
public:
    CExitDlg();

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace sordanel
