#pragma once

#include <QDialog>

namespace sordanel {

// Remarks about the string and bow settings, closed by its one long button.
class CRemarkDlg : public QDialog {
    Q_OBJECT
public:
    explicit CRemarkDlg(QWidget* parent = nullptr);
};

}  // namespace sordanel
