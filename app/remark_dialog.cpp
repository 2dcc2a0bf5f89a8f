#include "remark_dialog.h"

#include "dialog_templates.h"

namespace sordanel {

CRemarkDlg::CRemarkDlg() : TemplateDialog(kRemarkTemplate) {}

}  // namespace sordanel
