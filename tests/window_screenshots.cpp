// Saves a picture of each page of the main window, for the README. Run it through
// scripts/take-screenshots, which gives it a virtual screen.

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTabWidget>
#include <QTimer>

#include "app/shell_dialog_set.h"
#include "platform/shared_sound_player.h"
#include "ui/main_dlg.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    // The names' prefix, so that a second run at another scale keeps the first pictures.
    const QString prefix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("window");
    QDir().mkpath(folder);

    sordanel::ShellDialogSet shellDialogs;
    sordanel::CMainDlg window(shellDialogs, sordanel::SharedSoundPlayer());
    if (!window.started()) {
        return 1;
    }
    window.show();
    const char* names[] = {"string-bow", "sound-box", "general-file"};
    bool saved = true;
    for (int page = 0; page < 3; ++page) {
        window.tabs().setCurrentIndex(page);
        // Let the window settle; quitting the application would ask the exit question.
        QEventLoop settle;
        QTimer::singleShot(300, &settle, &QEventLoop::quit);
        settle.exec();
        const QString name = QStringLiteral("%1/%2-%3.png").arg(folder, prefix, names[page]);
        saved = window.grab().save(name) && saved;
    }
    return saved ? 0 : 1;
}
