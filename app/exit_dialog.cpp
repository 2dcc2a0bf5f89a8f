#include "exit_dialog.h"

#include "alert_sound.h"
#include "dialog_templates.h"

namespace sordanel {

CExitDlg::CExitDlg() : TemplateDialog(kExitTemplate) {}

void CExitDlg::showEvent(QShowEvent* event) {
    TemplateDialog::showEvent(event);
    PlayAlertSound();
}

}  // namespace sordanel
