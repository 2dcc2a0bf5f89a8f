#pragma once

#include <QApplication>

namespace sordanel {

// The application: its name, icon, and the main dialog as the one window of its life. The
// program ends when that dialog has ended, not when its window is hidden.
class CSoundApp : public QApplication {
    Q_OBJECT
public:
    CSoundApp(int& argc, char** argv);
};

}  // namespace sordanel
