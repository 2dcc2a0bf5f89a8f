// The main window as a user meets it: its frame, its pages, its defaults and its ways out.

#include "main_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>
#include <memory>
#include <set>
#include <vector>

#include "control_ids.h"
#include "dialog_answers.h"
#include "dialog_templates.h"
#include "dialog_units.h"
#include "error_dialog.h"
#include "gen_warn_dialog.h"
#include "shell_dialog_set.h"
#include "sound_player.h"
#include "tab_control.h"

namespace sordanel {

namespace {

const QString kExitQuestion = "Sei sicuro di voler terminare l'applicazione?";

// Remembers what it was asked to do instead of playing.
class RecordingPlayer : public SoundPlayer {
public:
    void PlayImage(const std::uint8_t*, std::size_t) override {}
    void PlayFile(const std::string&) override {}
    void Stop() override { ++stops; }
    int stops = 0;
};

// Answers the next modal dialog with the button showing `answer`, and returns what it asked.
std::shared_ptr<QString> AnswerWith(const QString& answer) {
    auto question = std::make_shared<QString>();
    WhenModalOpens([question, answer](QDialog& dialog) {
        for (auto* label : dialog.findChildren<QLabel*>()) {
            *question += label->text();
        }
        ButtonWithText(dialog, answer)->click();
    });
    return question;
}

}  // namespace

class MainDialogTest : public QObject {
    Q_OBJECT
private:
    ShellDialogSet shellDialogs_;
    RecordingPlayer player_;
    std::unique_ptr<CMainDlg> window_;

    QWidget* Control(int id) const { return window_->controls().Find(id); }
    QString TextOf(int id) const { return window_->controls().Get<QLineEdit>(id)->text(); }
    void ShowPage(int page) {
        window_->controls().Get<TabControl>(ids::kTabs)->setCurrentIndex(page);
    }

private slots:
    void init() {
        window_ = std::make_unique<CMainDlg>(shellDialogs_, player_);
        QVERIFY(window_->InitDialog());
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void opensWithItsCaptionIconAndFixedSize() {
        QCOMPARE(window_->windowTitle(), QString("Sordanel"));
        QVERIFY(!window_->windowIcon().isNull());
        const QSize size = DialogUnits(DialogFont()).ToPixels(479, 271);
        QCOMPARE(window_->size(), size);
        QCOMPARE(window_->minimumSize(), size);
        QCOMPARE(window_->maximumSize(), size);
        QVERIFY(window_->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(window_->windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void eachPageShowsExactlyItsControls() {
        const int alwaysShown[] = {ids::kTabs,   ids::kPicture, ids::kPreview, ids::kGenerate,
                                   ids::kListen, ids::kExit,    ids::kAbout};
        const int neverShown[] = {ids::kOk, ids::kPreviewStatus, ids::kNoteListPlace,
                                  ids::kKeyListPlace};
        for (const int page : {1, 2, 0, 2}) {
            ShowPage(page);
            for (int other = 0; other < 3; ++other) {
                for (const int id : kMainDialogPages[other]) {
                    QVERIFY2(Control(id)->isVisible() == (other == page),
                             qPrintable(QString("control %1 on page %2").arg(id).arg(page)));
                }
            }
            for (const int id : alwaysShown) {
                QVERIFY(Control(id)->isVisible());
            }
            for (const int id : neverShown) {
                QVERIFY(!Control(id)->isVisible());
            }
        }
    }

    void startsWithEveryDefaultShown() {
        QCOMPARE(window_->controls().Get<QComboBox>(ids::kNoteList)->currentText(), QString("C5"));
        QCOMPARE(window_->controls().Get<QComboBox>(ids::kNoteList)->count(), kNoteCount);
        QCOMPARE(window_->controls().Get<QComboBox>(ids::kKeyList)->currentText(), QString("C"));
        QVERIFY(!Control(ids::kKeyList)->isEnabled());
        QCOMPARE(TextOf(ids::kDetune), QString("0"));
        QCOMPARE(TextOf(ids::kVibratoSpeed), QString("9.0"));
        QCOMPARE(TextOf(ids::kVibratoDepth), QString("20"));
        QVERIFY(!Control(ids::kVibratoSpeed)->isEnabled());
        const char* shown[4][3] = {
            {"280", "20", "9"}, {"415", "16", "8"}, {"212", "13", "9"}, {"515", "30", "6"}};
        for (int r = 0; r < 4; ++r) {
            QCOMPARE(TextOf(ids::kResonanceFreq[r]), QString(shown[r][0]));
            QCOMPARE(TextOf(ids::kResonanceWidth[r]), QString(shown[r][1]));
            QCOMPARE(TextOf(ids::kResonanceAmp[r]), QString(shown[r][2]));
            QCOMPARE(Control(ids::kResonanceFreq[r])->isEnabled(), r < 2);
        }
        QCOMPARE(TextOf(ids::kPseudorandomAmp), QString("4"));
        QCOMPARE(TextOf(ids::kVolumeText), QString("+2"));
        QVERIFY(!Control(ids::kVolume)->isEnabled());
        QCOMPARE(TextOf(ids::kDurationText), QString("0.8"));
        QCOMPARE(TextOf(ids::kOutputPath), QString("Choose or enter a path and a file name"));

        const GenerationSettings& settings = window_->settings();
        QCOMPARE(settings.noteIndex, 28);
        QCOMPARE(settings.c4Index, 40);
        // The published values are rounded.
        QVERIFY(qAbs(settings.bowPressingForce - 1.5648) < 1e-4);
        QVERIFY(qAbs(settings.bowSpeed - 0.10690) < 1e-5);
        QVERIFY(qAbs(settings.bowPosition - 0.17) < 1e-5);
        QVERIFY(qAbs(settings.stringDamping - 0.0015823) < 1e-7);
        QVERIFY(qAbs(settings.frictionRatio - 0.2205) < 1e-4);
        QVERIFY(qAbs(settings.t1Ratio - 0.14) < 1e-5);
        QVERIFY(qAbs(settings.t2Ratio - 0.29) < 1e-5);
        QCOMPARE(settings.autocorrection, AutocorrectionMode::Precalculated);
        QCOMPARE(settings.justIntonation, Temperament::Equal);
        QVERIFY(settings.maximize && settings.pseudorandomResonances);
        QCOMPARE(settings.volumeDb, 2);
        QCOMPARE(settings.duration, 0.8f);
        QVERIFY(settings.outputPath.empty());
        QVERIFY(!settings.tempDir.empty() && settings.tempDir.back() == '/');
    }

    void radioGroupsAreIndependent() {
        qobject_cast<QAbstractButton*>(Control(ids::kJustIntonation))->click();
        QVERIFY(qobject_cast<QAbstractButton*>(Control(ids::kPrecalculated))->isChecked());
        QCOMPARE(window_->settings().justIntonation, Temperament::Just);
        QCOMPARE(window_->settings().autocorrection, AutocorrectionMode::Precalculated);
        QVERIFY(Control(ids::kKeyList)->isEnabled());
    }

    void enterInATextBoxNeverClosesTheWindow() {
        ShowPage(2);
        QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        auto* duration = window_->controls().Get<QLineEdit>(ids::kDurationText);
        duration->setFocus();
        QTRY_VERIFY(duration->hasFocus());
        QTest::keyClick(duration, Qt::Key_Return);
        QTest::keyClick(window_.get(), Qt::Key_Enter);
        QVERIFY(window_->isVisible());
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
        window_->job().previewSound = {1, 2, 3};
        window_->job().previewValid = true;
        const auto question = AnswerWith("Non");
        if (way == "Exit") {
            qobject_cast<QAbstractButton*>(Control(ids::kExit))->click();
        } else if (way == "Escape") {
            QTest::keyClick(window_.get(), Qt::Key_Escape);
        } else {
            window_->close();
        }
        QCOMPARE(*question, kExitQuestion);
        QVERIFY(window_->isVisible());
        // The preview is gone all the same: the next one is synthesised anew.
        QVERIFY(window_->job().previewSound.empty());
        QVERIFY(!window_->job().previewValid);
        QCOMPARE(player_.stops, 1);
        player_.stops = 0;
    }

    void siEndsTheWindow() {
        AnswerWith("Si");
        window_->close();
        QVERIFY(!window_->isVisible());
        QCOMPARE(window_->result(), int(QDialog::Rejected));
    }

    void whileARunIsBusyExitWarnsInstead() {
        window_->job().busy = true;
        const auto question = AnswerWith("Try Again Later");
        window_->close();
        QVERIFY(question->startsWith("For unknown reasons"));
        QVERIFY(window_->isVisible());
        QVERIFY(!window_->job().abortRequested);

        WhenModalOpens([](QDialog& dialog) {
            ButtonWithText(dialog, "Proceed")->click();
            ButtonWithText(dialog, "I'm ready to face the consequences")->click();
        });
        window_->close();
        QVERIFY(!window_->isVisible());
        // The run still reads the settings: it is told to stop before the window goes.
        QVERIFY(window_->job().abortRequested);
        window_->job().busy = false;
    }

    void aboutAndRemarksOpenAndChangeNoSetting() {
        GenerationSettings& settings = window_->settings();
        JobState& job = window_->job();
        job.previewValid = true;
        job.outputValid = true;
        const float force = settings.bowPressingForce;

        auto about = AnswerWith("OK");
        qobject_cast<QAbstractButton*>(Control(ids::kAbout))->click();
        QVERIFY(about->contains("Sordanel Ver. 1.0"));

        QAction* menuEntry = window_->windowMenu()->actions().last();
        QCOMPARE(menuEntry->text(), QString("&About Sordanel..."));
        about = AnswerWith("OK");
        menuEntry->trigger();
        QVERIFY(about->contains("String instrument sound generator"));

        const auto remarks = AnswerWith(
            "Now I possess comprehensive knowledge about these settings and therefore I am "
            "willing to close this dialog");
        qobject_cast<QAbstractButton*>(Control(ids::kShowRemarks))->click();
        QVERIFY(remarks->contains("genera- ted frequency"));

        QVERIFY(job.previewValid);
        QVERIFY(job.outputValid);
        QCOMPARE(settings.bowPressingForce, force);
    }

    void aNoteListWithoutC4EndsTheStart() {
        const std::vector<const char*> names = {"E7", "D7", "C7", ""};
        CMainDlg broken(shellDialogs_, player_, names);
        const auto message = AnswerWith("OK");
        QCOMPARE(broken.DoModal(), int(QDialog::Rejected));
        QCOMPARE(*message, QString("Internal Error: Note C4 not found in the list"));
        QCOMPARE(broken.settings().c4Index, -1);
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::MainDialogTest)
#include "main_dialog_test.moc"
