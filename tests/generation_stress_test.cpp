// Two hundred Generates from the window, each aborted from its progress dialog after a random
// 0 to 150 ms (seeded, so a failure replays): the worker's reports, the dialog's timer and the
// dialog's end meet at every moment of a run. After
// each, busy clears, the take is complete or absent, and no partial or temporary file stays;
// at the end no descriptor stays open. Leaks and races are the sanitizer builds' to find.

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <random>

#include "app/shell_dialog_set.h"
#include "control/gener_dlg.h"
#include "control/generation_job.h"
#include "tests/dialog_answers.h"
#include "tests/engine_fakes.h"
#include "ui/main_dlg.h"

namespace sordanel {

namespace {

namespace fs = std::filesystem;

std::size_t OpenDescriptors() {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

}  // namespace

class GenerationStressTest : public QObject {
    Q_OBJECT
private slots:
    void abortAtRandomMomentsLeavesNothingBehind() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QDir(folder.path()).mkdir("tmp");
        ShellDialogSet shellDialogs;
        testing::RecordingPlayer player;
        CMainDlg window(shellDialogs, player);
        QVERIFY(window.started());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        GenerationSettings& settings = window.settings();
        GenerationJob& job = window.job();
        settings.outputPath = folder.filePath("note.wav").toStdString();
        settings.tempDir = folder.filePath("tmp").toStdString() + "/";
        const std::size_t descriptors = OpenDescriptors();

        std::mt19937 random(20240612);
        for (int cycle = 0; cycle < 200; ++cycle) {
            settings.duration = std::uniform_real_distribution<float>(0.07f, 0.5f)(random);
            settings.maximize = random() % 2 == 0;
            settings.autocorrection = static_cast<AutocorrectionMode>(random() % 3);
            const int abortAfterMs = static_cast<int>(random() % 151);

            // Watches for this cycle's progress dialog only; gone with the cycle.
            QTimer watch;
            QObject::connect(&watch, &QTimer::timeout, [&watch, abortAfterMs] {
                if (auto* dialog = qobject_cast<CGenerDlg*>(QApplication::activeModalWidget())) {
                    watch.stop();
                    QTimer::singleShot(abortAfterMs, dialog,
                                       [dialog] { ButtonWithText(*dialog, "Abort")->click(); });
                }
            });
            watch.start(1);
            QTest::mouseClick(window.generateButton(), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!job.busy(), 60000);

            const QString where = QString("cycle %1").arg(cycle);

            const QStringList names =
                QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
            if (job.outputValid()) {
                QVERIFY2(names == QStringList{"note.wav"}, qPrintable(where));
                const auto samples = static_cast<std::uint32_t>(44100.0 * settings.duration);
                QCOMPARE(fs::file_size(settings.outputPath), 44 + 2 * std::uintmax_t{samples});
                fs::remove(settings.outputPath);
            } else {
                QVERIFY2(names.isEmpty(), qPrintable(where + ": " + names.join(", ")));
            }
            QVERIFY2(QDir(folder.filePath("tmp")).isEmpty(), qPrintable(where));
        }
        QCOMPARE(OpenDescriptors(), descriptors);
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::GenerationStressTest)
#include "generation_stress_test.moc"
