// The progress dialog of a Generate, driven as the engine drives it from its worker thread:
// the timer-driven normal mode and the abnormal mode without a timer.

#include "progress_dialog.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QtTest>
#include <thread>

#include "control_ids.h"
#include "instrument_picture.h"

namespace sordanel {

namespace {

// Runs `work` on a thread of its own, as the engine's worker would, and waits for it.
void OnWorker(const std::function<void()>& work) {
    std::thread worker(work);
    worker.join();
}

QAbstractButton* Button(CGenerDlg& dialog, int id) {
    return dialog.controls().Get<QAbstractButton>(id);
}

// The picture as it looks with the body filled up to `fraction`.
QImage DrawnAt(float fraction) {
    CGenerDlg reference;
    reference.instrumentPicture().PrepareImage();
    reference.instrumentPicture().DrawInstrument(fraction);
    return reference.instrumentPicture().image();
}

}  // namespace

class ProgressDialogTest : public QObject {
    Q_OBJECT
private slots:
    void normalModeDrawsTheLastReportAndEndsWithOkAfterTheEnd() {
        CGenerDlg dialog;
        QTimer::singleShot(30, [&] {
            OnWorker([&] {
                dialog.SetProgress(0.3f);
                dialog.SetProgress(0.7f);
                dialog.GenerationFinished();
            });
        });
        QCOMPARE(dialog.DoModal(), CGenerDlg::kOk);
        QVERIFY(!dialog.abnormalMode());
        QCOMPARE(dialog.instrumentPicture().image(), DrawnAt(0.7f));
    }

    void abortEndsAtTheNextTickWithCancel() {
        CGenerDlg dialog;
        QElapsedTimer clock;
        QTimer::singleShot(30, [&] {
            clock.start();
            Button(dialog, CGenerDlg::kCancel)->click();
            QVERIFY2(dialog.isVisible(), "the tick, not the click, ends the dialog");
        });
        QCOMPARE(dialog.DoModal(), CGenerDlg::kCancel);
        QVERIFY(clock.elapsed() < 2000);
    }

    void anEndReportAfterAbortButBeforeTheTickWins() {
        CGenerDlg dialog;
        QTimer::singleShot(30, [&] {
            Button(dialog, CGenerDlg::kCancel)->click();
            OnWorker([&] { dialog.GenerationFinished(); });
        });
        QCOMPARE(dialog.DoModal(), CGenerDlg::kOk);
    }

    void withoutATimerTheWorkerDrawsAndOnlyCloseEndsTheFinishedRun() {
        CGenerDlg dialog(false);
        QTimer::singleShot(30, [&] {
            QVERIFY(dialog.abnormalMode());
            QVERIFY(dialog.controls().Find(ids::kProgressIcon)->isVisible());
            QVERIFY(!dialog.controls().Get<QLabel>(ids::kProgressIcon)->pixmap().isNull());
            QVERIFY(dialog.controls().Get<QLabel>(ids::kAbnormalModeText)->isVisible());
            QVERIFY(dialog.controls()
                        .Get<QLabel>(ids::kAbnormalModeText)
                        ->text()
                        .startsWith("An error occured. The program is now working in an "
                                    "abnormal mode and may crash."));
            QVERIFY(Button(dialog, CGenerDlg::kOk)->isVisible());
            QVERIFY(!Button(dialog, CGenerDlg::kOk)->isEnabled());
            QCOMPARE(dialog.instrumentPicture().image(), DrawnAt(0.0f));

            OnWorker([&] { dialog.SetProgress(0.5f); });
            QCOMPARE(dialog.instrumentPicture().image(), DrawnAt(0.5f));
            Button(dialog, CGenerDlg::kOk)->click();  // still disabled: nothing happens
            OnWorker([&] { dialog.GenerationFinished(); });
        });
        QTimer::singleShot(300, [&] {
            QVERIFY2(dialog.isVisible(), "a finished run waits for Close");
            QVERIFY(Button(dialog, CGenerDlg::kOk)->isEnabled());
            QVERIFY(!Button(dialog, CGenerDlg::kCancel)->isEnabled());
            Button(dialog, CGenerDlg::kOk)->click();
        });
        QCOMPARE(dialog.DoModal(), CGenerDlg::kOk);
    }

    void withoutATimerAbortEndsAtOnce() {
        CGenerDlg dialog(false);
        QTimer::singleShot(30, [&] {
            Button(dialog, CGenerDlg::kCancel)->click();
            QVERIFY(!dialog.isVisible());
        });
        QCOMPARE(dialog.DoModal(), CGenerDlg::kCancel);
    }

    void withoutATimerAnEndBeforeTheStartLeavesOnlyAbort() {
        CGenerDlg dialog(false);
        OnWorker([&] { dialog.GenerationFinished(); });
        QTimer::singleShot(100, [&] {
            QVERIFY(Button(dialog, CGenerDlg::kOk)->isVisible());
            QVERIFY(!Button(dialog, CGenerDlg::kOk)->isEnabled());
            Button(dialog, CGenerDlg::kCancel)->click();
        });
        QCOMPARE(dialog.DoModal(), CGenerDlg::kCancel);
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::ProgressDialogTest)
#include "progress_dialog_test.moc"
