#include "control/gen_warn_dlg.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "control/alert_sound.h"
#include "platform/dialog_controls.h"
#include "platform/dialog_units.h"

namespace sordanel {

CGenWarnDlg::CGenWarnDlg(QWidget* parent) : QDialog(parent) {
    const DialogUnits units = SetUpFixedDialog(*this, QStringLiteral("Warning"), 214, 115, true);
    QPushButton* later = MakeButton(QStringLiteral("Try Again Later"), this);
    later->setDefault(true);
    units.Place(later, 26, 94, 61, 14);
    connect(later, &QPushButton::clicked, this, &QDialog::reject);
    proceed_ = MakeButton(QStringLiteral("Proceed"), this);
    units.Place(proceed_, 125, 94, 63, 14);
    connect(proceed_, &QPushButton::clicked, this, &CGenWarnDlg::OnProceed);
    ready_ = MakeButton(QStringLiteral("I'm ready to face the consequences"), this, true);
    units.Place(ready_, 114, 62, 93, 25);
    ready_->setEnabled(false);
    connect(ready_, &QPushButton::clicked, this, &QDialog::accept);
    QLabel* icon = MakeIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32), this);
    icon->move(units.ToPixels(25, 23, 21, 20).topLeft());
    units.Place(MakeLabel(QStringLiteral("For unknown reasons the previous sound generation has "
                                         "not finished yet. It is strongly recommended that you "
                                         "wait for it to end. Otherwise the program may crash or "
                                         "work improperly."),
                          this),
                65, 12, 133, 47);
}

void CGenWarnDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlayAlertSound();
}

void CGenWarnDlg::OnProceed() {
    ready_->setEnabled(true);
    proceed_->setEnabled(false);
}

}  // namespace sordanel
