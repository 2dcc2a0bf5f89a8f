// The error dialog, raised on the user-interface thread and from a worker thread.

#include "show_error_dialog.h"

#include <QLabel>
#include <QtTest>
#include <atomic>
#include <thread>

#include "control_ids.h"
#include "dialog_answers.h"
#include "error_dialog.h"

namespace sordanel {

namespace {

CErrorDialog* OpenErrorDialog() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<CErrorDialog*>(window); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

QString MessageOf(const CErrorDialog& dialog) {
    return dialog.controls().Get<QLabel>(ids::kErrorMessage)->text();
}

}  // namespace

class ShowErrorDialogTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheMessageModallyOnTheUserInterfaceThread() {
        QString shown;
        bool modal = false;
        WhenModalOpens([&](QDialog& dialog) {
            shown = MessageOf(*qobject_cast<CErrorDialog*>(&dialog));
            modal = dialog.isModal();
            QCOMPARE(dialog.windowTitle(), QString("Error"));
            ButtonWithText(dialog, "OK")->click();
        });
        ShowErrorDialog("File path too long");
        QCOMPARE(shown, QString("File path too long"));
        QVERIFY(modal);
    }

    void workerWaitsWhileTheProgressDialogRunsOn() {
        QDialog progress;  // stands for the modal progress dialog of the failed run
        std::atomic<bool> returned{false};
        std::thread worker;
        QString shown;
        bool answerable = false;
        int progressTicks = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, &progress, [&] {
            ++progressTicks;
            if (CErrorDialog* error = OpenErrorDialog(); error && shown.isEmpty()) {
                shown = MessageOf(*error);
                answerable = QApplication::activeModalWidget() == error;
                QVERIFY(!returned);
                ButtonWithText(*error, "OK")->click();
            }
            if (returned) {
                progress.accept();
            }
        });
        QTimer::singleShot(0, &progress, [&] {
            worker = std::thread([&returned] {
                ShowErrorDialog("Error writing to WAVE file. Probably disk is full");
                returned = true;
            });
            tick.start(20);
        });
        progress.exec();
        worker.join();
        QCOMPARE(shown, QString("Error writing to WAVE file. Probably disk is full"));
        QVERIFY(answerable);
        QVERIFY(progressTicks > 1);
        QTRY_VERIFY(OpenErrorDialog() == nullptr);
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::ShowErrorDialogTest)
#include "show_error_dialog_test.moc"
