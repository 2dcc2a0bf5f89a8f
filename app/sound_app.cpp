#include "app/sound_app.h"

#include "platform/resource_image.h"
#include "res/resource_paths.h"

namespace sordanel {

CSoundApp::CSoundApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Sordanel"));
    setApplicationVersion(QStringLiteral(SORDANEL_VERSION));
    setDesktopFileName(QStringLiteral("sordanel"));
    setWindowIcon(ResourceIcon(QString::fromUtf8(kAppIconPath)));
    // An exit confirmed while a run drains hides the window first; the program ends with the
    // dialog.
    setQuitOnLastWindowClosed(false);
}

}  // namespace sordanel
