// Generate, Abort, Preview and Listen from the main window, with the real engine writing real
// files into a private folder and SDL's disk driver standing in for the loudspeaker.

#include <sndfile.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "control_ids.h"
#include "dialog_answers.h"
#include "main_dialog.h"
#include "progress_dialog.h"
#include "sdl_sound_player.h"
#include "shell_dialog_set.h"
#include "temp_file_name.h"
#include "wait_while_busy.h"
#include "wave_header.h"

namespace sordanel {

namespace {

namespace fs = std::filesystem;

std::vector<char> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Presses the button showing `text` in the next modal dialog, once it shows `expected`.
void AnswerNextDialog(const QString& text, QString* seen = nullptr) {
    WhenModalOpens([text, seen](QDialog& dialog) {
        if (seen != nullptr) {
            for (auto* label : dialog.findChildren<QLabel*>())
                *seen += label->text();
        }
        ButtonWithText(dialog, text)->click();
    });
}

// Clicks "Abort" in the progress dialog once it is up.
void AbortSoon() {
    WhenModalOpens([](QDialog& dialog) {
        QTimer::singleShot(300, &dialog, [&dialog] { ButtonWithText(dialog, "Abort")->click(); });
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

    GenerationSettings& Settings() { return window_->settings(); }
    JobState& Job() { return window_->job(); }
    std::string PathIn(const char* name) const { return folder_.filePath(name).toStdString(); }
    void Click(int id) { QTest::mouseClick(window_->controls().Find(id), Qt::LeftButton); }
    // Starts a long Generate into `name` and aborts it from its progress dialog; the engine is
    // then still finishing its block (E7 at High takes many steps per block).
    void GenerateAndAbortALongNote(const char* name) {
        Settings().outputPath = PathIn(name);
        Settings().quality = Quality::High;
        Settings().noteIndex = 0;
        Settings().duration = 20.0f;
        AbortSoon();
        Click(ids::kGenerate);
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
        QVERIFY(window_->InitDialog());
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() {
        WaitWhileBusy(Job());
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
        Click(ids::kGenerate);
        WaitWhileBusy(Job());
        QVERIFY(Job().outputValid);
        QVERIFY(!Job().abortRequested);
        QVERIFY(!Job().progressOpen);

        SF_INFO info{};
        SNDFILE* file = sf_open(Settings().outputPath.c_str(), SFM_READ, &info);
        QVERIFY(file != nullptr);
        sf_close(file);
        QCOMPARE(info.samplerate, 44100);
        QCOMPARE(info.channels, 1);
        QCOMPARE(info.frames, sf_count_t{35280});
        QCOMPARE(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        QCOMPARE(Leftovers(), QStringList{"note.wav"});

        Click(ids::kListen);
        const std::vector<char> wave = ReadAll(Settings().outputPath);
        const std::vector<char> samples(wave.begin() + 44, wave.begin() + 44 + 4000);
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                const std::vector<char> heard = ReadAll(played_);
                return std::search(heard.begin(), heard.end(), samples.begin(), samples.end()) !=
                       heard.end();
            }(),
            5000);
    }

    void listenPlaysNothingUntilAGenerateCompletedForThePath() {
        // A playable file at the path, but no Generate made it.
        const auto header = BuildWaveHeader(2000);
        std::vector<char> wave(header.begin(), header.end());
        for (int i = 0; i < 4000; ++i)
            wave.push_back(static_cast<char>(i * 7 + 3));
        std::ofstream(PathIn("old.wav"), std::ios::binary).write(wave.data(), wave.size());
        Settings().outputPath = PathIn("old.wav");
        Click(ids::kListen);
        QTest::qWait(300);
        const std::vector<char> heard = ReadAll(played_);
        QVERIFY(std::search(heard.begin(), heard.end(), wave.begin() + 44, wave.begin() + 1044) ==
                heard.end());
    }

    void abortEndsTheDialogDeletesThePartialFilesAndAWaitingGenerateIsWarned() {
        GenerateAndAbortALongNote("long.wav");
        QVERIFY(Job().abortRequested);
        QVERIFY(!Job().outputValid);
        QVERIFY2(Job().busy, "the engine is still finishing its block");

        QString warning;
        AnswerNextDialog("Try Again Later", &warning);
        Click(ids::kGenerate);
        QVERIFY(warning.contains("has not finished yet"));

        WaitWhileBusy(Job());
        QVERIFY(!Job().outputValid);
        QCOMPARE(Leftovers(), QStringList{});
    }

    void aConfirmedGenerateWaitsForTheDrainingRunBeforeItStarts() {
        Settings().outputPath = PathIn("again.wav");
        Settings().duration = 0.2f;
        Job().busy = true;  // a run that is still ending
        bool drained = false;
        bool startedAfterTheDrain = false;
        WhenModalOpens([&](QDialog& warning) {
            ButtonWithText(warning, "Proceed")->click();
            ButtonWithText(warning, "I'm ready to face the consequences")->click();
            QTimer::singleShot(300, [&] {
                drained = true;
                Job().busy = false;
            });
            WhenModalOpens([&](QDialog&) { startedAfterTheDrain = drained; });
        });
        Click(ids::kGenerate);
        WaitWhileBusy(Job());
        QVERIFY2(startedAfterTheDrain, "the new run waited for the old one to return");
        QVERIFY(Job().outputValid);
        QCOMPARE(fs::file_size(Settings().outputPath), 44u + 2 * 8820);
        QCOMPARE(Leftovers(), QStringList{"again.wav"});
    }

    void aFailedRunShowsItsErrorBehindWhichTheProgressStaysThenEndsItWithOk() {
        Settings().outputPath = PathIn("missing/note.wav");
        QString message;
        bool progressWasUp = false;
        WhenModalOpens([&](QDialog& progress) {
            WhenModalOpens([&, progressPtr = &progress](QDialog& error) {
                progressWasUp = progressPtr->isVisible();
                for (auto* label : error.findChildren<QLabel*>())
                    message += label->text();
                ButtonWithText(error, "OK")->click();
            });
        });
        Click(ids::kGenerate);
        WaitWhileBusy(Job());
        QVERIFY(progressWasUp);
        QVERIFY(
            message.contains("Cannot create output file. Check if it isn't open in another "
                             "program and if the specified directory exists"));
        QVERIFY(!Job().abortRequested);
        QVERIFY(!Job().outputValid);
        QCOMPARE(Leftovers(), QStringList{});
    }

    void withoutATimerTheRunEndsThroughClose() {
        window_->SetProgressTimerAvailable(false);
        Settings().outputPath = PathIn("abnormal.wav");
        WhenModalOpens([](QDialog& progress) {
            auto* poll = new QTimer(&progress);
            QObject::connect(poll, &QTimer::timeout, &progress, [&progress] {
                QAbstractButton* close = ButtonWithText(progress, "Close");
                if (close->isEnabled())
                    close->click();
            });
            poll->start(20);
        });
        Click(ids::kGenerate);
        WaitWhileBusy(Job());
        QVERIFY(Job().outputValid);
        QCOMPARE(fs::file_size(Settings().outputPath), 44u + 2 * 35280);
    }

    void previewShowsItsStatusThenPlaysAndAnUnchangedOneIsOnlyReplayed() {
        auto* status = window_->controls().Get<QLabel>(ids::kPreviewStatus);
        QVERIFY(!status->isVisible());
        Click(ids::kPreview);
        QVERIFY(!status->isVisible());
        QCOMPARE(status->text(), QString("Generating preview - 100% done"));
        QVERIFY(Job().previewValid);
        QCOMPARE(Job().previewSound.size(), std::size_t{44 + 2 * 35280});
        const std::uint8_t* image = Job().previewSound.data();

        status->setText("untouched");
        Click(ids::kPreview);
        QCOMPARE(status->text(), QString("Generating preview..."));
        QCOMPARE(Job().previewSound.data(), image);
        QVERIFY(!Job().busy);
    }

    void exitWhileARunDrainsAsksTheWarningAndEndsOnlyAfterTheEngine() {
        GenerateAndAbortALongNote("exit.wav");
        QVERIFY(Job().busy);
        ConfirmNextWarning();
        QTest::keyClick(window_.get(), Qt::Key_Escape);
        QVERIFY(!window_->isVisible());
        QVERIFY(Job().abortRequested);
        WaitWhileBusy(Job());
        QCOMPARE(Leftovers(), QStringList{});
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::GenerationJobTest)
#include "generation_job_test.moc"
