#pragma once

#include "template_dialog.h"

namespace sordanel {

// Shown when a new generation, a preview or the exit is asked for while the previous run has
// not returned. Going on takes two clicks: "Proceed", then "I'm ready to face the
// consequences", which gives the OK result; "Try Again Later", Escape and the close box cancel.
class CGenWarnDlg : public TemplateDialog {
    Q_OBJECT
public:
    CGenWarnDlg();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnProceed();
    void OnReady();
};

}  // namespace sordanel
