#include <iostream>

#include "command_line.h"
#include "main_dlg.h"
#include "process_start.h"
#include "shared_sound_player.h"
#include "shell_dialog_set.h"
#include "sound_app.h"

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
