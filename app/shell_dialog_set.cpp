#include "app/shell_dialog_set.h"

#include "app/about_dlg.h"
#include "app/exit_dlg.h"
#include "app/remark_dlg.h"

namespace sordanel {

void ShellDialogSet::ShowAbout() {
    CAboutDlg about;
    about.exec();
}

void ShellDialogSet::ShowRemarks() {
    CRemarkDlg remarks;
    remarks.exec();
}

bool ShellDialogSet::ConfirmExit() {
    CExitDlg question;
    return question.exec() == QDialog::Accepted;
}

}  // namespace sordanel
