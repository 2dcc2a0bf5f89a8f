#include "control/error_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "control/alert_sound.h"
#include "platform/dialog_controls.h"
#include "platform/dialog_units.h"

namespace sordanel {

CErrorDialog::CErrorDialog(const QString& text, QWidget* parent) : QDialog(parent) {
    const DialogUnits units = SetUpFixedDialog(*this, QStringLiteral("Error"), 186, 90, false);
    QPushButton* ok = MakeButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    units.Place(ok, 68, 62, 50, 14);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    message_ = MakeLabel(text, this);
    units.Place(message_, 55, 19, 112, 29);
    QLabel* icon = MakeIcon(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32), this);
    icon->move(units.ToPixels(19, 23, 20, 20).topLeft());
}

void CErrorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlayAlertSound();
}

}  // namespace sordanel
