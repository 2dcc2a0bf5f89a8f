#include "progress_dialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimerEvent>
#include <thread>

#include "control_ids.h"
#include "dialog_templates.h"
#include "event_wait.h"
#include "instrument_picture.h"

namespace sordanel {

namespace {

QWidget* MakeLyingPicture(const ControlRow&, QWidget* parent) {
    return new CInstrumentPicture(true, 2, parent);
}

}  // namespace

CGenerDlg::CGenerDlg(bool timerAvailable)
    : TemplateDialog(kProgressTemplate, MakeLyingPicture),
      picture(controls_.Get<CInstrumentPicture>(ids::kProgressPicture)),
      timerAvailable_(timerAvailable) {}

int CGenerDlg::DoModal() {
    OnInitDialog();
    return exec();
}

void CGenerDlg::OnInitDialog() {
    picture->PrepareImage();
    pendingProgress = 0.0f;  // the first tick draws the empty picture
    timerId = timerAvailable_ ? startTimer(kProgressTimerMs) : 0;
    if (timerId == 0) {
        noTimer = true;
        picture->DrawInstrument(0.0f);
        controls_.Get<QLabel>(ids::kProgressIcon)
            ->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
        controls_.Find(ids::kProgressIcon)->show();
        controls_.Find(ids::kAbnormalModeText)->show();
        controls_.Find(kOk)->show();
    }
    active = true;
    drawing = false;
}

void CGenerDlg::SetProgress(float fraction) {
    drawing = true;
    if (noTimer) {
        if (active) {
            picture->DrawInstrument(fraction);
        }
    } else {
        pendingProgress = fraction;
    }
    drawing = false;
}

void CGenerDlg::GenerationFinished() {
    if (!noTimer) {
        endResult = kOk;
        finished = true;
        return;
    }
    if (active) {
        active = false;
        while (drawing) {
            std::this_thread::yield();  // only the end of the dialog's own start can hold it
        }
        // The buttons belong to the user-interface thread; the dialog outlives this call
        // because the job waits for the end report to return before destroying it.
        QMetaObject::invokeMethod(
            this,
            [this] {
                controls_.Find(kOk)->setEnabled(true);
                controls_.Find(kCancel)->setEnabled(false);
            },
            Qt::QueuedConnection);
        closeEnabled = true;
    }
}

void CGenerDlg::timerEvent(QTimerEvent* event) {
    OnTimer(event->timerId());
}

void CGenerDlg::OnTimer(int id) {
    if (id == timerId && pendingProgress >= 0.0f && !drawing) {
        drawing = true;
        picture->DrawInstrument(pendingProgress.exchange(-1.0f));
        drawing = false;
    }
    if (id == timerId && finished) {
        killTimer(timerId);
        timerId = 0;
        active = false;
        WaitUntilNotDrawing();
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
    endResult = kCancel;
    if (noTimer) {
        active = false;
        WaitUntilNotDrawing();
        done(kCancel);
        return;
    }
    finished = true;
}

void CGenerDlg::OnClose() {
    if (!(noTimer && closeEnabled)) {
        return;
    }
    active = false;
    closeEnabled = false;
    WaitUntilNotDrawing();
    done(kOk);
}

void CGenerDlg::WaitUntilNotDrawing() const {
    WaitServicingEvents([this] { return !drawing; });
}

}  // namespace sordanel
