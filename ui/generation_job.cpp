// The buttons below the pages: "Generate" runs the engine on a worker thread behind the
// progress dialog, "Preview (Lo-Fi)" runs it here, "Listen" plays the finished file.

#include <QLabel>
#include <system_error>

#include "control_ids.h"
#include "event_wait.h"
#include "gen_warn_dialog.h"
#include "main_dialog.h"
#include "main_dialog_messages.h"
#include "progress_dialog.h"
#include "show_error_dialog.h"
#include "sound_engine.h"
#include "sound_player.h"
#include "wait_while_busy.h"

namespace sordanel {

namespace {

constexpr const char* kPreviewStarting = "Generating preview...";

}  // namespace

GenerationResult CMainDlg::GenerateSound(bool preview) {
    return engine_->GenerateSound(preview);
}

bool CMainDlg::ConfirmNewRunWhileBusy() {
    if (!job_.busy) {
        return true;
    }
    CGenWarnDlg warning;
    if (warning.exec() != QDialog::Accepted) {
        return false;
    }
    WaitWhileBusy(job_);
    return true;
}

void CMainDlg::GenerationThreadProc(CMainDlg* dialog) {
    dialog->GenerateSound(false);
}

bool CMainDlg::StartGenerationThread() {
    // The previous worker has returned from the engine (busy is clear); collect it.
    if (worker_.joinable()) {
        worker_.join();
    }
    try {
        worker_ = std::thread(GenerationThreadProc, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CMainDlg::OnGenerate() {
    if (!ConfirmNewRunWhileBusy()) {
        return;
    }
    if (settings_.outputPath.empty()) {
        BrowseOutputFile();
        if (settings_.outputPath.empty()) {
            return;
        }
    }
    job_.outputValid = false;
    job_.abortRequested = false;
    job_.busy = true;
    runSettings_ = settings_;

    CGenerDlg progress(progressTimerAvailable_);
    job_.progressDialog = &progress;
    job_.progressOpen = true;
    job_.progressInUse = false;
    if (!StartGenerationThread()) {
        job_.progressOpen = false;
        job_.busy = false;
        ShowErrorDialog(kWorkerRefusedMessage);
        return;
    }
    if (progress.DoModal() != CGenerDlg::kOk) {
        job_.abortRequested = true;
    }
    job_.progressOpen = false;
    // The worker may be inside a call to the dialog; it must have left before it goes.
    WaitServicingEvents([this] { return !job_.progressInUse; });
}

void CMainDlg::OnPreview() {
    if (!ConfirmNewRunWhileBusy()) {
        return;
    }
    job_.abortRequested = false;
    job_.busy = true;
    runSettings_ = settings_;
    auto* status = controls_.Get<QLabel>(ids::kPreviewStatus);
    status->setText(QString::fromUtf8(kPreviewStarting));
    status->show();
    status->setText(QString::fromUtf8(kPreviewStarting));
    status->repaint();
    GenerateSound(true);
    status->hide();
}

void CMainDlg::OnListen() {
    if (job_.outputValid) {
        player_.PlayFile(settings_.outputPath);
    }
}

}  // namespace sordanel
