#include <iostream>

#include "app/command_line.h"
#include "app/shell_dialog_set.h"
#include "app/sound_app.h"
#include "platform/files/process_start.h"
#include "platform/shared_sound_player.h"
#include "ui/main_dlg.h"

int main(int argc, char** argv) {
    sordanel::PrepareProcessForFiles();
    if (const auto answered = sordanel::AnswerCommandLine(argc, argv, std::cout)) {
        return *answered;
    }
    sordanel::CSoundApp application(argc, argv);
    sordanel::ShellDialogSet shellDialogs;
    sordanel::CMainDlg window(shellDialogs, sordanel::SharedSoundPlayer());
    if (!window.started()) {
        return 1;
    }
    QObject::connect(&window, &QDialog::finished, &application, &QCoreApplication::quit);
    window.show();
    return application.exec();
}
