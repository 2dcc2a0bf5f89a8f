#pragma once

#include <QApplication>

namespace sordanel {

// The application: runs the main dialog once, for the program's whole life.
class CSoundApp : public QApplication {
    Q_OBJECT
public:
    CSoundApp(int& argc, char** argv);
    // Runs the main dialog until the user leaves it; the program's exit status.
    int InitInstance();
};

}  // namespace sordanel
