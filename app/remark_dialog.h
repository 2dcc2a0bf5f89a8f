#pragma once

#include "template_dialog.h"

namespace sordanel {

// Remarks about the string and bow settings, closed by its one long button.
class CRemarkDlg : public TemplateDialog {
    Q_OBJECT
public:
    CRemarkDlg();
};

}  // namespace sordanel
