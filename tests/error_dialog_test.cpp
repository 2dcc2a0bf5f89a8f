// The error dialog: its message, its stop sign and its one way out.

#include "control/error_dialog.h"

#include <QLabel>
#include <QtTest>

#include "tests/dialog_answers.h"

namespace sordanel {

class ErrorDialogTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheMessageModallyUntilOk() {
        CErrorDialog dialog("File path too long");
        QString shown;
        bool modal = false;
        WhenModalOpens([&](QDialog& opened) {
            shown = dialog.message()->text();
            modal = opened.isModal() && &opened == &dialog;
            ButtonWithText(opened, "OK")->click();
        });
        dialog.exec();
        QCOMPARE(dialog.windowTitle(), QString("Error"));
        QCOMPARE(shown, QString("File path too long"));
        QVERIFY(modal);
        QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::ErrorDialogTest)
#include "error_dialog_test.moc"
