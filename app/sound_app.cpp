#include "sound_app.h"

#include "main_dialog.h"
#include "resource_image.h"
#include "resource_paths.h"
#include "shared_sound_player.h"
#include "shell_dialog_set.h"

namespace sordanel {

CSoundApp::CSoundApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Sordanel"));
    setDesktopFileName(QStringLiteral("sordanel"));
    setWindowIcon(ResourceIcon(QString::fromUtf8(kAppIconPath)));
}

int CSoundApp::InitInstance() {
    ShellDialogSet shellDialogs;
    CMainDlg mainDialog(shellDialogs, SharedSoundPlayer());
    mainDialog.DoModal();
    return 0;
}

}  // namespace sordanel
