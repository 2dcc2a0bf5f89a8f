// The progress dialog of a Generate, driven as the GenerationJob drives it: the timer-driven
// normal mode and the abnormal mode of a system without a timer to give.

#include "control/gener_dlg.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "control/instrument_picture.h"

namespace sordanel {

namespace {

// A progress dialog on a system that has no timer left.
class TimerlessGenerDlg : public CGenerDlg {
protected:
    int StartProgressTimer() override { return 0; }
};

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
        QTimer::singleShot(30, &dialog, [&] {
            dialog.SetProgress(0.3f);
            dialog.SetProgress(0.7f);
            dialog.GenerationFinished();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(!dialog.abnormalMode());
        QVERIFY(dialog.closeButton()->isHidden());
        QCOMPARE(dialog.instrumentPicture().image(), DrawnAt(0.7f));
    }

    void abortEndsAtTheNextTickWithCancel() {
        CGenerDlg dialog;
        bool visibleAfterTheClick = false;
        QTimer::singleShot(30, &dialog, [&] {
            dialog.abortButton()->click();
            visibleAfterTheClick = dialog.isVisible();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY2(visibleAfterTheClick, "the tick, not the click, ends the dialog");
    }

    void escapeIsAbortAndEnterIsIgnored() {
        CGenerDlg dialog;
        bool visibleAfterEnter = false;
        QTimer::singleShot(30, &dialog, [&] {
            QTest::keyClick(&dialog, Qt::Key_Enter);
            QTest::keyClick(&dialog, Qt::Key_Escape);
            visibleAfterEnter = dialog.isVisible();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(visibleAfterEnter);
    }

    void anEndReportAfterAbortButBeforeTheTickWins() {
        CGenerDlg dialog;
        QTimer::singleShot(30, &dialog, [&] {
            dialog.abortButton()->click();
            dialog.GenerationFinished();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    }

    void withoutATimerEveryReportIsDrawnAndOnlyCloseEndsTheFinishedRun() {
        TimerlessGenerDlg dialog;
        QImage atStart, atHalf;
        bool closeShownDisabled = false, endedEarly = false;
        QTimer::singleShot(30, &dialog, [&] {
            atStart = dialog.instrumentPicture().image();
            closeShownDisabled =
                dialog.closeButton()->isVisible() && !dialog.closeButton()->isEnabled();
            dialog.SetProgress(0.5f);
            atHalf = dialog.instrumentPicture().image();
            dialog.closeButton()->click();  // still disabled: nothing happens
            dialog.GenerationFinished();
        });
        QTimer::singleShot(300, &dialog, [&] {
            endedEarly = !dialog.isVisible();
            dialog.closeButton()->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(dialog.abnormalMode());
        QVERIFY(closeShownDisabled);
        QVERIFY2(!endedEarly, "a finished run waits for Close");
        QVERIFY(!dialog.abortButton()->isEnabled());
        QVERIFY(!dialog.abnormalModeIcon()->pixmap().isNull());
        QVERIFY(dialog.abnormalModeText()->text().startsWith(
            "An error occured. The program is now working in an abnormal mode and may crash."));
        QCOMPARE(atStart, DrawnAt(0.0f));
        QCOMPARE(atHalf, DrawnAt(0.5f));
    }

    void withoutATimerAbortEndsAtOnce() {
        TimerlessGenerDlg dialog;
        bool visibleAfterTheClick = true;
        QTimer::singleShot(30, &dialog, [&] {
            dialog.abortButton()->click();
            visibleAfterTheClick = dialog.isVisible();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(!visibleAfterTheClick);
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::ProgressDialogTest)
#include "gener_dlg_test.moc"
