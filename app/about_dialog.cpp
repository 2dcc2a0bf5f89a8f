#include "about_dialog.h"

#include "dialog_templates.h"

namespace sordanel {

CAboutDlg::CAboutDlg() : TemplateDialog(kAboutTemplate) {}

}  // namespace sordanel
