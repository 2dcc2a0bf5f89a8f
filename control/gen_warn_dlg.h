#pragma once

#include <QDialog>

class QPushButton;

namespace sordanel {

// Shown when a new generation, a preview or the exit is asked for while the previous run has
// not returned. Going on takes two clicks: "Proceed", then "I'm ready to face the
// consequences", which gives the OK result; "Try Again Later", Escape and the close box cancel.
class CGenWarnDlg : public QDialog {
    Q_OBJECT
public:
    explicit CGenWarnDlg(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnProceed();

    QPushButton* proceed_;
    QPushButton* ready_;
};

}  // namespace sordanel
