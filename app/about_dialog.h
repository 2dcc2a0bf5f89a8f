#pragma once

#include "template_dialog.h"

namespace sordanel {

// The About box: name, version and what the program is.
class CAboutDlg : public TemplateDialog {
    Q_OBJECT
public:
    CAboutDlg();
};

}  // namespace sordanel
