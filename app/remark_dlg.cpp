#include "app/remark_dlg.h"

#include <QLabel>
#include <QPushButton>

#include "platform/dialog_controls.h"
#include "platform/dialog_units.h"

namespace sordanel {

CRemarkDlg::CRemarkDlg(QWidget* parent) : QDialog(parent) {
    const DialogUnits units = SetUpFixedDialog(
        *this, QStringLiteral("Remarks about string & bow settings"), 253, 166, true);
    units.Place(MakeLabel(QStringLiteral("1. The parameters are measured relatively to string "
                                         "length and weight so that they give the same timbre "
                                         "for all note frequencies"),
                          this),
                17, 9, 216, 24);
    units.Place(MakeLabel(QStringLiteral("2. Lowering the bow speed has the same effect as raising "
                                         "the bow pressing force, except for the change in volume"),
                          this),
                17, 34, 220, 24);
    units.Place(MakeLabel(QStringLiteral("3. If you are getting some weird sounds (and that isn't "
                                         "what you want), try setting parameters close to the "
                                         "default values"),
                          this),
                17, 58, 219, 24);
    units.Place(
        MakeLabel(QStringLiteral("4. When the frequency autocorrection is switched off, the "
                                 "genera- ted frequency may be slightly inaccurate; real "
                                 "time autocorrection may cause a strange vibration"),
                  this),
        17, 82, 219, 24);
    QPushButton* ok = MakeButton(QStringLiteral("Now I possess comprehensive knowledge about these "
                                                "settings and therefore I am willing to close this "
                                                "dialog"),
                                 this, true);
    ok->setDefault(true);
    units.Place(ok, 66, 115, 121, 37);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace sordanel
