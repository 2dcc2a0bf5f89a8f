#include "shell_dialog_set.h"

#include "about_dlg.h"
#include "exit_dlg.h"
#include "remark_dlg.h"

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
