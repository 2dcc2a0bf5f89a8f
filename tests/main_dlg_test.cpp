// The main window as a user meets it: its frame, its pages, its defaults and its ways out.

#include "ui/main_dlg.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QtTest>
#include <memory>
#include <vector>

#include "control/instrument_picture.h"
#include "platform/dialog_units.h"
#include "tests/dialog_answers.h"
#include "tests/window_driver.h"

namespace sordanel {

namespace {

const QString kExitQuestion = "Sei sicuro di voler terminare l'applicazione?";

// Answers the next modal dialog with the button showing `answer`, and returns what it asked.
std::shared_ptr<QString> AnswerWith(const QString& answer) {
    auto question = std::make_shared<QString>();
    WhenModalOpens([question, answer](QDialog& dialog) {
        for (auto* label : dialog.findChildren<QLabel*>()) {
            *question += label->text();
        }
        if (QAbstractButton* button = ButtonWithText(dialog, answer)) {
            button->click();
        } else {
            dialog.reject();  // the check of what was asked fails the test
        }
    });
    return question;
}

}  // namespace

class MainDialogTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<WindowDriver> user_;

    CMainDlg& window() { return user_->window(); }
    const GenerationSettings& settings() { return user_->settings(); }

private slots:
    void init() {
        user_ = std::make_unique<WindowDriver>();
        QVERIFY(user_->Open());
    }
    void cleanup() { user_.reset(); }

    void opensWithItsCaptionIconAndFixedSize() {
        QCOMPARE(window().windowTitle(), QString("Sordanel"));
        QVERIFY(!window().windowIcon().isNull());
        const QSize content = DialogUnits(window().font()).ToPixels(479, 271);
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        // The whole window, in a font made smaller where the screen has no room for it.
        QCOMPARE(window().size(), content);
        QVERIFY(content.width() < screen.width() && content.height() < screen.height());
        QVERIFY(window().font().pointSizeF() <= DialogFont().pointSizeF());
        QCOMPARE(window().minimumSize(), window().maximumSize());
        QVERIFY(window().windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(window().windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void theButtonsBelowStayOnEveryPage() {
        for (const int page : {1, 2, 0}) {
            user_->ShowPage(page);
            for (QWidget* always : std::initializer_list<QWidget*>{
                     &window().picture(), window().previewButton(), window().generateButton(),
                     window().listenButton(), window().exitButton(), window().aboutButton()}) {
                QVERIFY(always->isVisible());
            }
            QVERIFY(!window().previewStatus()->isVisible());
            QCOMPARE(user_->bowPage().isVisible(), page == 0);
            QCOMPARE(user_->boxPage().isVisible(), page == 1);
            QCOMPARE(user_->generalPage().isVisible(), page == 2);
        }
        QCOMPARE(window().tabs().tabText(0), QString("String && Bow"));
        QCOMPARE(window().tabs().tabText(1), QString("Sound Box"));
        QCOMPARE(window().tabs().tabText(2), QString("General/File"));
    }

    void startsWithEveryDefaultShown() {
        QCOMPARE(user_->bow().noteList->currentText(), QString("C5"));
        QCOMPARE(user_->bow().noteList->count(), kNoteCount);
        QCOMPARE(user_->bow().keyList->currentText(), QString("C"));
        QVERIFY(!user_->bow().keyList->isEnabled());
        QCOMPARE(user_->bow().detune->text(), QString("0"));
        QCOMPARE(user_->bow().vibratoSpeed->text(), QString("9.0"));
        QCOMPARE(user_->bow().vibratoDepth->text(), QString("20"));
        QVERIFY(!user_->bow().vibratoSpeed->isEnabled());
        QVERIFY(user_->bow().equalTemperament->isChecked());
        QVERIFY(user_->bow().precalculated->isChecked());
        const char* shown[4][3] = {
            {"280", "20", "9"}, {"415", "16", "8"}, {"212", "13", "9"}, {"515", "30", "6"}};
        for (int r = 0; r < 4; ++r) {
            QCOMPARE(user_->box().resonance[r].freq.box->text(), QString(shown[r][0]));
            QCOMPARE(user_->box().resonance[r].width.box->text(), QString(shown[r][1]));
            QCOMPARE(user_->box().resonance[r].amp.box->text(), QString(shown[r][2]));
            QCOMPARE(user_->box().resonance[r].freq.box->isEnabled(), r < 2);
        }
        QCOMPARE(user_->box().pseudorandomAmp.box->text(), QString("4"));
        QCOMPARE(user_->general().volumeText->text(), QString("+2"));
        QVERIFY(!user_->general().volume->isEnabled());
        QCOMPARE(user_->general().durationText->text(), QString("0.8"));
        QVERIFY(user_->general().outputPath->text().isEmpty());
        QVERIFY(!window().listenButton()->isEnabled());
        QVERIFY(!window().listenButton()->toolTip().isEmpty());

        QCOMPARE(settings().noteIndex, 28);
        QCOMPARE(settings().c4Index, 40);
        // The published values are rounded.
        QVERIFY(qAbs(settings().bowPressingForce - 1.5648) < 1e-4);
        QVERIFY(qAbs(settings().bowSpeed - 0.10690) < 1e-5);
        QVERIFY(qAbs(settings().bowPosition - 0.17) < 1e-5);
        QVERIFY(qAbs(settings().stringDamping - 0.0015823) < 1e-7);
        QVERIFY(qAbs(settings().frictionRatio - 0.2205) < 1e-4);
        QVERIFY(qAbs(settings().t1Ratio - 0.14) < 1e-5);
        QVERIFY(qAbs(settings().t2Ratio - 0.29) < 1e-5);
        QVERIFY(qAbs(settings().stringToBoxRatio - 0.461538) < 1e-6);
        QCOMPARE(settings().autocorrection, AutocorrectionMode::Precalculated);
        QCOMPARE(settings().justIntonation, Temperament::Equal);
        QVERIFY(!settings().vibratoOn);
        QCOMPARE(settings().vibratoSpeedIndex, 23);
        QCOMPARE(settings().vibratoDepth, 20);
        QCOMPARE(settings().detune, 0);
        QCOMPARE(settings().resonanceOn, (std::array<bool, 3>{true, false, false}));
        QVERIFY(settings().maximize && settings().pseudorandomResonances);
        QCOMPARE(settings().pseudorandomAmp, 4);
        QCOMPARE(settings().quality, Quality::Low);
        QCOMPARE(settings().volumeDb, 2);
        QCOMPARE(settings().duration, 0.8f);
        QVERIFY(settings().outputPath.empty());
        QVERIFY(!settings().tempDir.empty() && settings().tempDir.back() == '/');
    }

    void radioGroupsAreIndependent() {
        user_->Click(user_->bow().justIntonation);
        QVERIFY(user_->bow().precalculated->isChecked());
        QCOMPARE(settings().justIntonation, Temperament::Just);
        QCOMPARE(settings().autocorrection, AutocorrectionMode::Precalculated);
        QVERIFY(user_->bow().keyList->isEnabled());
    }

    void aChangeOnAnyPageMakesThePreviewStaleButAPathDoesNot() {
        user_->Preview();
        QVERIFY(user_->job().previewValid());
        user_->Type(user_->general().outputPath, "/tmp/elsewhere.wav");
        QVERIFY(user_->job().previewValid());
        user_->Step(user_->box().resonance[0].amp.step, 1);
        QVERIFY(!user_->job().previewValid());
        user_->Preview();
        user_->SlideTo(user_->bow().t1Ratio, 4);
        QVERIFY(!user_->job().previewValid());
        user_->Preview();
        user_->Click(user_->general().maximize);
        QVERIFY(!user_->job().previewValid());
    }

    void enterInATextBoxNeverClosesTheWindow() {
        user_->ShowPage(2);
        auto* duration = user_->general().durationText;
        user_->Focus(duration);
        QTest::keyClick(duration, Qt::Key_Return);
        QTest::keyClick(&window(), Qt::Key_Enter);
        QVERIFY(window().isVisible());
        QVERIFY(!duration->hasFocus());  // Enter commits what was typed by taking the focus
    }

    void everyWayOutAsksTheSameQuestionAndNonKeepsTheWindow_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("Exit") << "Exit";
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("close box") << "close box";
    }
    void everyWayOutAsksTheSameQuestionAndNonKeepsTheWindow() {
        QFETCH(QString, way);
        user_->Preview();
        QVERIFY(user_->job().previewValid());
        const int stops = user_->player().stops;
        const auto question = AnswerWith("Non");
        if (way == "Exit") {
            window().exitButton()->click();
        } else if (way == "Escape") {
            QTest::keyClick(&window(), Qt::Key_Escape);
        } else {
            window().close();
        }
        QCOMPARE(*question, kExitQuestion);
        QVERIFY(window().isVisible());
        // The preview is gone all the same: the next one is synthesised anew.
        QVERIFY(user_->job().previewSound().empty());
        QVERIFY(!user_->job().previewValid());
        QCOMPARE(user_->player().stops, stops + 1);
    }

    void siEndsTheWindow() {
        AnswerWith("Si");
        window().close();
        QVERIFY(!window().isVisible());
        QCOMPARE(window().result(), int(QDialog::Rejected));
    }

    void aboutAndRemarksOpenAndChangeNoSetting() {
        user_->Preview();
        const float force = settings().bowPressingForce;

        auto about = AnswerWith("OK");
        window().aboutButton()->click();
        QVERIFY(about->contains("Sordanel Ver. " SORDANEL_VERSION));

        QAction* menuEntry = window().windowMenu()->actions().last();
        QCOMPARE(menuEntry->text(), QString("&About Sordanel..."));
        about = AnswerWith("OK");
        menuEntry->trigger();
        QVERIFY(about->contains("String instrument sound generator"));

        const auto remarks = AnswerWith(
            "Now I possess comprehensive knowledge about these settings and therefore I am "
            "willing to close this dialog");
        user_->Click(user_->bow().showRemarks);
        QVERIFY(remarks->contains("genera- ted frequency"));

        QVERIFY(user_->job().previewValid());
        QCOMPARE(settings().bowPressingForce, force);
    }

    void aNoteListWithoutC4EndsTheStart() {
        const std::vector<const char*> names = {"E7", "D7", "C7", ""};
        ShellDialogSet shellDialogs;
        testing::RecordingPlayer player;
        const auto message = AnswerWith("OK");
        CMainDlg broken(shellDialogs, player, names);
        QVERIFY(!broken.started());
        QCOMPARE(*message, QString("Internal Error: Note C4 not found in the list"));
        QCOMPARE(broken.settings().c4Index, -1);
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::MainDialogTest)
#include "main_dlg_test.moc"
