#include "app/exit_dlg.h"

#include <QLabel>
#include <QPushButton>

#include "control/alert_sound.h"
#include "platform/dialog_controls.h"
#include "platform/dialog_units.h"
#include "platform/resource_image.h"
#include "res/resource_paths.h"

namespace sordanel {

CExitDlg::CExitDlg(QWidget* parent) : QDialog(parent) {
    const DialogUnits units = SetUpFixedDialog(*this, QString(), 186, 75, false);
    QPushButton* yes = MakeButton(QStringLiteral("Si"), this);
    yes->setDefault(true);
    units.Place(yes, 42, 54, 38, 14);
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    QPushButton* no = MakeButton(QStringLiteral("Non"), this);
    units.Place(no, 108, 54, 36, 14);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
    units.Place(MakeLabel(QStringLiteral("Sei sicuro di voler terminare l'applicazione?"), this),
                60, 19, 101, 18);
    MakeIcon(ResourceImage(QString::fromUtf8(kExitIconPath), {32, 32}), this)
        ->move(units.ToPixels(26, 16, 0, 0).topLeft());
}

void CExitDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlayAlertSound();
}

}  // namespace sordanel
