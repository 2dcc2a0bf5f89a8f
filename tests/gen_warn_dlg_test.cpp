// The unfinished-generation warning: only "Proceed" followed by "I'm ready to face the
// consequences" lets the caller go on.

#include "control/gen_warn_dlg.h"

#include <QtTest>

#include "tests/dialog_answers.h"

namespace sordanel {

class GenWarnDialogTest : public QObject {
    Q_OBJECT
private slots:
    void opensInItsFirstState() {
        CGenWarnDlg warning;
        QCOMPARE(warning.windowTitle(), QString("Warning"));
        QVERIFY(ButtonWithText(warning, "Proceed")->isEnabled());
        QVERIFY(!ButtonWithText(warning, "I'm ready to face the consequences")->isEnabled());
    }

    void proceedThenReadyGivesOk() {
        CGenWarnDlg warning;
        bool proceedUsedUp = false;
        WhenModalOpens([&](QDialog& dialog) {
            ButtonWithText(dialog, "Proceed")->click();
            proceedUsedUp = !ButtonWithText(dialog, "Proceed")->isEnabled();
            ButtonWithText(dialog, "I'm ready to face the consequences")->click();
        });
        QCOMPARE(warning.exec(), int(QDialog::Accepted));
        QVERIFY(proceedUsedUp);
    }

    void everyOtherWayOutCancels_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("Try Again Later") << "Try Again Later";
        QTest::newRow("Proceed, then the close box") << "Proceed, close box";
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("Enter") << "Enter";
    }
    void everyOtherWayOutCancels() {
        QFETCH(QString, way);
        CGenWarnDlg warning;
        WhenModalOpens([way](QDialog& dialog) {
            if (way == "Try Again Later") {
                ButtonWithText(dialog, way)->click();
            } else if (way == "Escape") {
                QTest::keyClick(&dialog, Qt::Key_Escape);
            } else if (way == "Enter") {
                QTest::keyClick(&dialog, Qt::Key_Return);
            } else {
                ButtonWithText(dialog, "Proceed")->click();
                dialog.close();
            }
        });
        QCOMPARE(warning.exec(), int(QDialog::Rejected));
    }

    void startsAgainInItsFirstStateAtTheNextShowing() {
        {
            CGenWarnDlg first;
            WhenModalOpens([](QDialog& dialog) {
                ButtonWithText(dialog, "Proceed")->click();
                dialog.close();
            });
            first.exec();
        }
        CGenWarnDlg next;
        QVERIFY(ButtonWithText(next, "Proceed")->isEnabled());
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::GenWarnDialogTest)
#include "gen_warn_dlg_test.moc"
