#pragma once

#include <QDialog>

namespace sordanel {

// The About box: name, version and what the program is.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace sordanel
