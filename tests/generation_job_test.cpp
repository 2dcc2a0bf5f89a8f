// Generate, Abort, Preview and Listen from the main window, with the real engine writing real
// files into a private folder and SDL's disk driver standing in for the loudspeaker. Run under
// ThreadSanitizer too: the worker and the user-interface thread meet in every case here.

#include <sndfile.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/shell_dialog_set.h"
#include "control/error_dialog.h"
#include "control/gener_dlg.h"
#include "control/generation_job.h"
#include "platform/sdl_sound_player.h"
#include "platform/step_value_box.h"
#include "platform/up_down_control.h"
#include "platform/vertical_slider.h"
#include "tests/dialog_answers.h"
#include "tests/render_process.h"
#include "ui/general_page.h"
#include "ui/main_dlg.h"
#include "ui/sound_box_page.h"
#include "ui/string_bow_page.h"

namespace sordanel {

namespace {

namespace fs = std::filesystem;

constexpr int kRunTimeoutMs = 120000;

std::vector<char> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Presses the button showing `text` in the next modal dialog and keeps what it said.
void AnswerNextDialog(const QString& text, QString* seen = nullptr) {
    WhenModalOpens([text, seen](QDialog& dialog) {
        if (seen != nullptr) {
            for (auto* label : dialog.findChildren<QLabel*>())
                *seen += label->text();
        }
        if (QAbstractButton* button = ButtonWithText(dialog, text)) {
            button->click();
        } else {
            dialog.reject();  // the check of what was seen fails the test
        }
    });
}

// Goes on through the warning: "Proceed", then "I'm ready to face the consequences".
void ConfirmNextWarning() {
    WhenModalOpens([](QDialog& warning) {
        ButtonWithText(warning, "Proceed")->click();
        ButtonWithText(warning, "I'm ready to face the consequences")->click();
    });
}

}  // namespace

class GenerationJobTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir folder_;
    fs::path played_;
    std::unique_ptr<SdlSoundPlayer> player_;
    ShellDialogSet shellDialogs_;
    std::unique_ptr<CMainDlg> window_;
    QMetaObject::Connection firstProgress_;  // see OnFirstProgress

    GenerationSettings& Settings() { return window_->settings(); }
    GenerationJob& Job() { return window_->job(); }
    std::string PathIn(const char* name) const { return folder_.filePath(name).toStdString(); }
    void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    bool AwaitReturn() {
        return QTest::qWaitFor([this] { return !Job().busy(); }, kRunTimeoutMs);
    }
    // Runs `act` on the run's first progress report only. Reports queued before the slot is
    // disconnected still arrive (a run that skips ahead reports twice at once), so the slot
    // checks that it is still connected. The slot is destroyed on the worker thread that
    // reported last, so it holds nothing that needs destroying.
    template <class Act>
    void OnFirstProgress(CGenerDlg& dialog, Act act) {
        firstProgress_ = connect(&Job(), &GenerationJob::progressed, &dialog, [this, act] {
            if (!firstProgress_) {
                return;
            }
            QObject::disconnect(firstProgress_);
            firstProgress_ = QMetaObject::Connection();
            act();
        });
    }
    // Starts a long Generate into `name` and aborts it from its progress dialog once it has
    // reported progress; the engine is then still finishing its block (E7 at High quality takes
    // many steps per block).
    void GenerateAndAbortALongNote(const char* name) {
        Settings().outputPath = PathIn(name);
        Settings().quality = Quality::High;
        Settings().noteIndex = 0;
        Settings().duration = 20.0f;
        WhenOpens<CGenerDlg>([this](CGenerDlg& dialog) {
            OnFirstProgress(dialog, [&dialog] { ButtonWithText(dialog, "Abort")->click(); });
        });
        Click(window_->generateButton());
    }
    // Starts a Generate into a missing folder and aborts it while the worker waits for its
    // error to be answered: the run stays busy, draining, until the returned error dialog is
    // answered with "OK".
    CErrorDialog* GenerateAFailingRunAndAbortIt() {
        Settings().outputPath = PathIn("missing/note.wav");
        CErrorDialog* waiting = nullptr;
        WhenOpens<CGenerDlg>([&waiting](CGenerDlg& progress) {
            WhenOpens<CErrorDialog>([&waiting, &progress](CErrorDialog& error) {
                waiting = &error;
                ButtonWithText(progress, "Abort")->click();
            });
        });
        Click(window_->generateButton());
        return waiting;
    }
    // Nothing of a run stays in the output folder or the temporary folder but finished files.
    QStringList Leftovers() const {
        QStringList names = QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden);
        names += QDir(QString::fromStdString(window_->settings().tempDir))
                     .entryList({"sd*.tmp"}, QDir::Files);
        return names;
    }

private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        played_ = fs::path(folder_.path().toStdString()).parent_path() /
                  ("sordanel-heard-" + std::to_string(::getpid()) + ".raw");
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QByteArray::fromStdString(played_.string()));
        player_ = std::make_unique<SdlSoundPlayer>();
    }
    void init() {
        window_ = std::make_unique<CMainDlg>(shellDialogs_, *player_);
        QVERIFY(window_->started());
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() {
        AwaitReturn();
        window_.reset();
        for (const QString& name : QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden)) {
            QFile::remove(folder_.filePath(name));
        }
    }
    void cleanupTestCase() {
        player_.reset();
        fs::remove(played_);
    }

    void generateWritesTheNoteAndListenPlaysIt() {
        Settings().outputPath = PathIn("note.wav");
        QVERIFY(!window_->listenButton()->isEnabled());
        Click(window_->generateButton());
        QVERIFY(AwaitReturn());
        QVERIFY(Job().outputValid());
        QVERIFY(window_->listenButton()->isEnabled());

        SF_INFO info{};
        SNDFILE* file = sf_open(Settings().outputPath.c_str(), SFM_READ, &info);
        QVERIFY(file != nullptr);
        sf_close(file);
        QCOMPARE(info.samplerate, 44100);
        QCOMPARE(info.channels, 1);
        QCOMPARE(info.frames, sf_count_t{35280});
        QCOMPARE(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        QCOMPARE(Leftovers(), QStringList{"note.wav"});

        Click(window_->listenButton());
        const std::vector<char> wave = ReadAll(Settings().outputPath);
        const std::vector<char> samples(wave.begin() + 44, wave.begin() + 44 + 4000);
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                const std::vector<char> heard = ReadAll(played_);
                return std::search(heard.begin(), heard.end(), samples.begin(), samples.end()) !=
                       heard.end();
            }(),
            5000);

        // Another path: nothing to play there until a Generate made it.
        QLineEdit* outputPath = window_->generalPage().controls().outputPath;
        outputPath->setFocus();
        QTest::keyClicks(outputPath, "x");
        QTest::keyClick(outputPath, Qt::Key_Return);
        QVERIFY(!Job().outputValid());
        QVERIFY(!window_->listenButton()->isEnabled());
        QVERIFY(window_->listenButton()->toolTip().contains("Generate"));
    }

    void theWindowsDefaultNoteIsTheRenderersDefaultByteForByte() {
        Settings().outputPath = PathIn("window.wav");
        Click(window_->generateButton());
        QVERIFY(AwaitReturn());
        QVERIFY(Job().outputValid());

        const testing::RenderProcess renderer(fs::path(PathIn("renderer")));
        const std::string rendered = PathIn("renderer/render.wav");
        const testing::Outcome outcome = renderer.Run({"-o", rendered});
        QCOMPARE(outcome.exitCode, 0);
        const std::string fromWindow = testing::Contents(Settings().outputPath);
        QCOMPARE(fromWindow.size(), std::size_t{44 + 2 * 35280});
        QVERIFY(fromWindow == testing::Contents(rendered));
        fs::remove_all(PathIn("renderer"));
    }

    void anAbortedRunDrainsBehindTheWarningAndLeavesNothing() {
        GenerateAndAbortALongNote("long.wav");
        QVERIFY(AwaitReturn());
        QVERIFY(!Job().outputValid());
        QVERIFY(!window_->listenButton()->isEnabled());
        QCOMPARE(Leftovers(), QStringList{});

        // Aborted while its error waits for an answer, a run stays busy: each new run and the
        // exit ask first, and "Try Again Later" keeps everything as it was.
        QSignalSpy finished(&Job(), &GenerationJob::finished);
        CErrorDialog* error = GenerateAFailingRunAndAbortIt();
        QVERIFY(error != nullptr);
        QVERIFY(Job().busy());
        for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
                 window_->generateButton(), window_->previewButton(), window_->exitButton()}) {
            QString warning;
            AnswerNextDialog("Try Again Later", &warning);
            button->click();
            QVERIFY2(warning.contains("has not finished yet"), qPrintable(button->text()));
        }
        QVERIFY(window_->isVisible());
        QVERIFY(Job().busy());
        ButtonWithText(*error, "OK")->click();
        QVERIFY(AwaitReturn());
        QCOMPARE(finished.count(), 0);  // the dialog had gone: no end to report to it
        QVERIFY(!Job().outputValid());
        QCOMPARE(Leftovers(), QStringList{});
    }

    void aConfirmedGenerateWaitsForTheDrainingRunBeforeItStarts() {
        CErrorDialog* error = GenerateAFailingRunAndAbortIt();
        QVERIFY(error != nullptr);
        Settings().outputPath = PathIn("again.wav");
        // Long enough that the new run is still going when its progress dialog is seen.
        Settings().duration = 2.0f;
        QSignalSpy returned(&Job(), &GenerationJob::returned);
        int returnsSeenByTheNewRun = -1;
        ConfirmNextWarning();
        window_->generateButton()->click();
        QVERIFY(Job().busy());
        WhenOpens<CGenerDlg>([&](CGenerDlg&) { returnsSeenByTheNewRun = returned.count(); });
        ButtonWithText(*error, "OK")->click();
        QTRY_VERIFY_WITH_TIMEOUT(returned.count() == 2, kRunTimeoutMs);
        QCOMPARE(returnsSeenByTheNewRun, 1);
        QVERIFY(Job().outputValid());
        QCOMPARE(fs::file_size(Settings().outputPath), 44u + 2 * 88200);
        QCOMPARE(Leftovers(), QStringList{"again.wav"});
    }

    void aFailedRunShowsItsErrorBehindWhichTheProgressStaysThenEndsItWithOk() {
        Settings().outputPath = PathIn("missing/note.wav");
        QString message;
        bool progressWasUp = false;
        WhenOpens<CGenerDlg>([&](CGenerDlg& progress) {
            WhenOpens<CErrorDialog>([&, progressPtr = &progress](CErrorDialog& error) {
                progressWasUp = progressPtr->isVisible();
                for (auto* label : error.findChildren<QLabel*>())
                    message += label->text();
                ButtonWithText(error, "OK")->click();
            });
        });
        QSignalSpy finished(&Job(), &GenerationJob::finished);
        Click(window_->generateButton());
        QVERIFY(AwaitReturn());
        QVERIFY(progressWasUp);
        QVERIFY(
            message.contains("Cannot create output file. Check if it isn't open in another "
                             "program and if the specified directory exists"));
        QCOMPARE(finished.count(), 1);
        QVERIFY(!Job().outputValid());
        QCOMPARE(Leftovers(), QStringList{});
    }

    void previewShowsItsStatusThenPlaysAndAnUnchangedOneIsOnlyReplayed() {
        QLabel* status = window_->previewStatus();
        QVERIFY(!status->isVisible());
        Click(window_->previewButton());
        QVERIFY(!status->isVisible());
        QCOMPARE(status->text(), QString("Generating preview - 100% done"));
        QVERIFY(Job().previewValid());
        QCOMPARE(Job().previewSound().size(), std::size_t{44 + 2 * 35280});
        const std::uint8_t* image = Job().previewSound().data();

        status->setText("untouched");
        Click(window_->previewButton());
        QCOMPARE(status->text(), QString("Generating preview..."));
        QCOMPARE(Job().previewSound().data(), image);
    }

    void exitWhileARunDrainsEndsTheProgramOnlyAfterTheRunReturned() {
        CErrorDialog* error = GenerateAFailingRunAndAbortIt();
        QVERIFY(error != nullptr);
        QSignalSpy ended(window_.get(), &QDialog::finished);
        ConfirmNextWarning();
        window_->exitButton()->click();
        QVERIFY(!window_->isVisible());
        QVERIFY(ended.isEmpty());
        ButtonWithText(*error, "OK")->click();
        QVERIFY(AwaitReturn());
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(Leftovers(), QStringList{});
    }

    // Every kind of control the window has, moved once more on each pass.
    void ChangeEverySetting(int pass) {
        const StringBowControls& bow = window_->stringBowPage().controls();
        const SoundBoxControls& box = window_->soundBoxPage().controls();
        const GeneralControls& general = window_->generalPage().controls();
        bow.bowPressingForce->setPosition(3 + pass);
        bow.t2Ratio->setValue(12 + pass);
        bow.resetDefaults->click();
        bow.noteList->setCurrentIndex(40 + pass);
        (pass % 2 == 0 ? bow.justIntonation : bow.equalTemperament)->click();
        bow.keyList->setCurrentIndex(5 + pass);
        bow.vibrato->click();
        bow.vibratoSpeedStep->upArrow()->click();
        QTest::keyClick(bow.vibratoDepth, Qt::Key_PageUp);
        bow.detuneStep->downArrow()->click();
        (pass % 2 == 0 ? bow.realTime : bow.autocorrectionOff)->click();
        box.stringToBoxRatio->setValue(pass);
        box.pseudorandom->click();
        box.resonanceEnable[2]->click();
        box.resonance[3].freq.step->upArrow()->click();
        box.resonance[1].width.step->downArrow()->click();
        QTest::keyClick(box.resonance[0].amp.box, Qt::Key_Up);
        box.resonance[2].freq.box->setText(QString::number(300 + pass));
        emit box.resonance[2].freq.box->editingFinished();
        general.quality->setValue(pass % 2);
        general.maximize->click();
        general.volume->setPosition(10 + pass);
        general.duration->setValue(3 + pass);
        general.durationText->setText(QString::number(1.5 + pass));
        emit general.durationText->editingFinished();
        general.outputPath->setText(folder_.filePath(QString("other%1.wav").arg(pass)));
        emit general.outputPath->editingFinished();
    }

    // The run works on the copy it was started with: nothing the window changes while it runs
    // or drains after an abort reaches it (ThreadSanitizer watches).
    void everySettingChangedWhileARunWorksAndDrainsLeavesTheRunAlone() {
        Settings().outputPath = PathIn("drain.wav");
        Settings().quality = Quality::High;
        Settings().noteIndex = 0;
        Settings().duration = 20.0f;
        bool changedWhileRunning = false;
        WhenOpens<CGenerDlg>([this, &changedWhileRunning](CGenerDlg& dialog) {
            OnFirstProgress(dialog, [this, &dialog, &changedWhileRunning] {
                ChangeEverySetting(0);
                changedWhileRunning = Job().busy();
                ButtonWithText(dialog, "Abort")->click();
            });
        });
        Click(window_->generateButton());
        ChangeEverySetting(1);
        QVERIFY(changedWhileRunning);
        QVERIFY(AwaitReturn());
        QCOMPARE(Settings().noteIndex, 41);
        QCOMPARE(Settings().resonanceFreq[2], 301);
        QCOMPARE(Settings().duration, 2.5f);
        QVERIFY(!Job().outputValid());
        QCOMPARE(Leftovers(), QStringList{});
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::GenerationJobTest)
#include "generation_job_test.moc"
