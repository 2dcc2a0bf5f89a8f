#include "app/about_dlg.h"

#include <QLabel>
#include <QPushButton>

#include "platform/dialog_controls.h"
#include "platform/dialog_units.h"
#include "platform/resource_image.h"
#include "res/resource_paths.h"

namespace sordanel {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    const DialogUnits units =
        SetUpFixedDialog(*this, QStringLiteral("About Sordanel"), 235, 79, true);
    MakeIcon(ResourceImage(QString::fromUtf8(kAppIconPath), {32, 32}), this)
        ->move(units.ToPixels(11, 17, 0, 0).topLeft());
    QLabel* name =
        MakeLabel(QStringLiteral("Sordanel Ver. " SORDANEL_VERSION), this, /*centred=*/true);
    name->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    units.Place(name, 39, 10, 84, 10);
    units.Place(MakeLabel(QStringLiteral("String instrument sound generator"), this), 40, 22, 111,
                8);
    units.Place(MakeLabel(QStringLiteral("(C) 2026 the Sordanel authors"), this), 40, 37, 119, 8);
    units.Place(MakeLabel(QStringLiteral("The Sordanel team"), this), 40, 48, 68, 8);
    units.Place(MakeLabel(QStringLiteral("Questions and ideas: see the README"), this), 40, 60, 125,
                8);
    QPushButton* ok = MakeButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    units.Place(ok, 178, 24, 37, 32);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace sordanel
