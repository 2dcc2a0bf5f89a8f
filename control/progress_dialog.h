#pragma once

#include <atomic>

#include "progress_receiver.h"
#include "template_dialog.h"

namespace sordanel {

class CInstrumentPicture;

// The progress of a Generate: the instrument on its side, its body filling from left to right,
// and "Abort". The engine reports from its worker thread; in the normal mode it only leaves
// the newest fraction, which a 100 ms timer draws and which also ends the dialog once the
// engine has finished. Without a timer (abnormal mode) the worker draws itself and the user
// ends the dialog with "Close".
class CGenerDlg : public TemplateDialog, public ProgressReceiver {
    Q_OBJECT
public:
    static constexpr int kProgressTimerMs = 100;
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;

    // timerAvailable false makes the timer creation fail, as a system out of timers would.
    explicit CGenerDlg(bool timerAvailable = true);

    // Initialises and runs the dialog; kOk once the engine finished, kCancel after "Abort".
    int DoModal();

    // Worker thread: the newest fraction done, 0..1.
    void SetProgress(float fraction) override;
    // Worker thread: the engine ended other than by an abort.
    void GenerationFinished() override;

    bool abnormalMode() const { return noTimer; }
    CInstrumentPicture& instrumentPicture() const { return *picture; }

protected:
    void timerEvent(QTimerEvent* event) override;
    void accept() override;  // "Close"
    void reject() override;  // "Abort" and Escape
    void closeEvent(QCloseEvent* event) override;

private:
    void OnInitDialog();
    void OnTimer(int id);
    void OnAbort();
    void OnClose();
    void WaitUntilNotDrawing() const;

    CInstrumentPicture* picture;
    const bool timerAvailable_;
    // Shared with the worker: each thread writes its flag before it reads the other's.
    std::atomic<bool> active{false};
    std::atomic<bool> drawing{true};
    std::atomic<bool> noTimer{false};
    std::atomic<bool> finished{false};
    std::atomic<int> endResult{kOk};
    std::atomic<bool> closeEnabled{false};
    std::atomic<float> pendingProgress{-1.0f};
    int timerId = 0;
};

}  // namespace sordanel
