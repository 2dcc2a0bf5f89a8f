#pragma once

#include <QDialog>

namespace sordanel {

// The exit question: "Si" gives the OK result, "Non" the cancel result.
class CExitDlg : public QDialog {
    Q_OBJECT
public:
    explicit CExitDlg(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace sordanel
