// Saves a picture of each page of the main window, for the README. Run it through
// scripts/take-screenshots, which gives it a virtual screen.

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTimer>

#include "control_ids.h"
#include "main_dialog.h"
#include "shared_sound_player.h"
#include "shell_dialog_set.h"
#include "tab_control.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QDir().mkpath(folder);

    sordanel::ShellDialogSet shellDialogs;
    sordanel::CMainDlg window(shellDialogs, sordanel::SharedSoundPlayer());
    if (!window.InitDialog()) {
        return 1;
    }
    window.show();
    auto* tabs = window.controls().Get<sordanel::TabControl>(sordanel::ids::kTabs);
    const char* names[] = {"window-string-bow.png", "window-sound-box.png",
                           "window-general-file.png"};
    bool saved = true;
    for (int page = 0; page < 3; ++page) {
        tabs->setCurrentIndex(page);
        // Let the window settle; quitting the application would ask the exit question.
        QEventLoop settle;
        QTimer::singleShot(300, &settle, &QEventLoop::quit);
        settle.exec();
        saved = window.grab().save(folder + QLatin1Char('/') + QLatin1String(names[page])) && saved;
    }
    return saved ? 0 : 1;
}
