#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace sordanel {

class CInstrumentPicture;

// The progress of a Generate: the instrument on its side, its body filling from left to right,
// and "Abort". Everything here runs on the user-interface thread: the GenerationJob hands the
// worker's reports over as queued signals. A 100 ms timer draws the newest fraction and ends
// the dialog after the engine's end or "Abort", so the last fraction is drawn first. Should no
// timer be had, every report is drawn at once and the user ends the dialog with "Close".
class CGenerDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kProgressTimerMs = 100;

    explicit CGenerDlg(QWidget* parent = nullptr);

    // The newest fraction done, 0..1.
    void SetProgress(float fraction);
    // The engine ended other than by an abort.
    void GenerationFinished();

    bool abnormalMode() const { return noTimer; }
    CInstrumentPicture& instrumentPicture() const { return *picture; }
    QPushButton* closeButton() const { return close_; }
    QPushButton* abortButton() const { return abort_; }
    QLabel* abnormalModeText() const { return abnormalText_; }
    QLabel* abnormalModeIcon() const { return abnormalIcon_; }

protected:
    // The progress timer's id, or 0 when the system has no timer to give.
    virtual int StartProgressTimer();
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void accept() override;  // "Close"
    void reject() override;  // "Abort" and Escape
    void closeEvent(QCloseEvent* event) override;

private:
    void OnInitDialog();
    void OnAbort();
    void OnClose();

    CInstrumentPicture* picture;
    QPushButton* close_;
    QPushButton* abort_;
    QLabel* abnormalIcon_;
    QLabel* abnormalText_;
    bool initialised_ = false;
    bool noTimer = false;
    bool finished = false;
    int endResult = Accepted;
    bool closeEnabled = false;
    float pendingProgress = -1.0f;  // negative: nothing new to draw
    int timerId = 0;
};

}  // namespace sordanel
