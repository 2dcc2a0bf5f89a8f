#include "control/gener_dlg.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimerEvent>

#include "control/instrument_picture.h"
#include "platform/dialog_controls.h"
#include "platform/dialog_units.h"

namespace sordanel {

CGenerDlg::CGenerDlg(QWidget* parent) : QDialog(parent) {
    const DialogUnits units =
        SetUpFixedDialog(*this, QStringLiteral("Sordanel - Generating Sound"), 264, 142, false);
    close_ = MakeButton(QStringLiteral("Close"), this);
    units.Place(close_, 143, 121, 50, 14);
    close_->hide();
    close_->setEnabled(false);
    connect(close_, &QPushButton::clicked, this, &CGenerDlg::accept);
    abort_ = MakeButton(QStringLiteral("Abort"), this);
    abort_->setDefault(true);
    units.Place(abort_, 207, 121, 50, 14);
    connect(abort_, &QPushButton::clicked, this, &CGenerDlg::reject);
    picture = new CInstrumentPicture(true, 2, this);
    units.Place(picture, 39, 39, 182, 59);
    abnormalIcon_ = MakeIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32), this);
    abnormalIcon_->move(units.ToPixels(14, 9, 21, 20).topLeft());
    abnormalIcon_->hide();
    abnormalText_ = MakeLabel(
        QStringLiteral("An error occured. The program is now working in an abnormal mode and may "
                       "crash. This window won't close automatically after finishing generation, "
                       "so press the 'Close' button then."),
        this);
    units.Place(abnormalText_, 39, 7, 212, 24);
    abnormalText_->hide();
}

int CGenerDlg::StartProgressTimer() {
    return startTimer(kProgressTimerMs);
}

void CGenerDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!initialised_) {
        initialised_ = true;
        OnInitDialog();
    }
}

void CGenerDlg::OnInitDialog() {
    picture->PrepareImage();
    pendingProgress = 0.0f;  // the first tick draws the empty picture
    timerId = StartProgressTimer();
    if (timerId == 0) {
        noTimer = true;
        picture->DrawInstrument(0.0f);
        abnormalIcon_->show();
        abnormalText_->show();
        close_->show();
    }
}

void CGenerDlg::SetProgress(float fraction) {
    if (noTimer) {
        picture->DrawInstrument(fraction);
    } else {
        pendingProgress = fraction;
    }
}

void CGenerDlg::GenerationFinished() {
    if (noTimer) {
        close_->setEnabled(true);
        abort_->setEnabled(false);
        closeEnabled = true;
        return;
    }
    endResult = Accepted;
    finished = true;
}

void CGenerDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timerId) {
        QDialog::timerEvent(event);
        return;
    }
    if (pendingProgress >= 0.0f) {
        picture->DrawInstrument(pendingProgress);
        pendingProgress = -1.0f;
    }
    if (finished) {
        killTimer(timerId);
        timerId = 0;
        done(endResult);
    }
}

void CGenerDlg::reject() {
    OnAbort();
}

void CGenerDlg::accept() {
    OnClose();
}

void CGenerDlg::closeEvent(QCloseEvent* event) {
    // The caption has no close box; a window manager's close still means "Abort".
    event->ignore();
    OnAbort();
}

void CGenerDlg::OnAbort() {
    closeEnabled = false;
    endResult = Rejected;
    if (noTimer) {
        done(Rejected);
        return;
    }
    finished = true;
}

void CGenerDlg::OnClose() {
    if (noTimer && closeEnabled) {
        closeEnabled = false;
        done(Accepted);
    }
}

}  // namespace sordanel
