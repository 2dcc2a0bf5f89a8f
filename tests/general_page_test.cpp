// The General/File page: quality, volume and "Maximize", the typed duration, and the output
// path typed or chosen with "Browse".

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "dialog_answers.h"
#include "error_dialog.h"
#include "window_driver.h"

namespace sordanel {

namespace {

const QString kHint = "Choose or enter a path and a file name";

// Runs `answer` on the next modal dialog of kind `Dialog`, passing over others that are open.
template <class Dialog>
void WhenOpens(std::function<void(Dialog&)> answer) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(*dialog);
        }
    });
    poll->start(10);
}

// Types `path` into the chooser's file name box and saves, as a user does.
void SaveAs(QFileDialog& chooser, const QString& path) {
    chooser.findChild<QLineEdit*>("fileNameEdit")->setText(path);
    static_cast<QDialog&>(chooser).accept();  // as "Save" does
}

// Answers the output-file chooser with `path`, then checks what it offered; the chooser
// stays until its run returns.
void ChooseInBrowse(const QString& path) {
    WhenOpens<QFileDialog>([path](QFileDialog& chooser) {
        SaveAs(chooser, path);
        QCOMPARE(chooser.windowTitle(), QString("Choose output folder and file name"));
        QCOMPARE(chooser.nameFilters(), QStringList({"Microsoft wave (*.wav)", "All files (*.*)"}));
        QCOMPARE(chooser.defaultSuffix(), QString("wav"));
        QCOMPARE(chooser.acceptMode(), QFileDialog::AcceptSave);
    });
}

// A path of exactly `characters` characters inside `dir`, ending in a character that a QString
// holds as two UTF-16 units.
QString PathOfLength(const QTemporaryDir& dir, int characters) {
    const QString folder = QDir(dir.path()).canonicalPath() + "/" + QString(200, 'd');
    QDir().mkpath(folder);
    const QString tail = QString::fromUtf8("\xF0\x9F\x8E\xBB.wav");  // a violin and ".wav"
    const qsizetype fill = characters - folder.size() - 1 - 5;
    return folder + "/" + QString(fill, 'n') + tail;
}

}  // namespace

class GeneralPageTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<WindowDriver> user_;
    QTemporaryDir scratch_;

    const GenerationSettings& settings() { return user_->settings(); }
    const JobState& job() { return user_->job(); }
    int DurationSlider() { return user_->Get<QSlider>(ids::kDuration)->value(); }

private slots:
    void init() {
        user_ = std::make_unique<WindowDriver>();
        QVERIFY(user_->Open());
        user_->ShowPage(2);
    }
    void cleanup() { user_.reset(); }

    void startsLowMaximizedForEightTenthsOfASecond() {
        QCOMPARE(settings().quality, Quality::Low);
        QVERIFY(settings().maximize);
        QCOMPARE(settings().volumeDb, 2);
        QCOMPARE(user_->Text(ids::kVolumeText), QString("+2"));
        QCOMPARE(settings().duration, 0.8f);
        QCOMPARE(user_->Text(ids::kDurationText), QString("0.8"));
        QVERIFY(settings().outputPath.empty());
        QCOMPARE(user_->Text(ids::kOutputPath), kHint);
    }

    void qualitySliderChoosesLowOrHigh() {
        user_->SlideTo(ids::kQuality, 1);
        QCOMPARE(settings().quality, Quality::High);
        user_->SlideTo(ids::kQuality, 0);
        QCOMPARE(settings().quality, Quality::Low);
    }

    void volumeReadsFromPlusThirtyToMinusTwenty() {
        user_->Click(ids::kMaximize);
        const std::pair<int, const char*> readings[] = {{0, "+30"}, {30, "0"}, {50, "-20"}};
        for (const auto& [position, shown] : readings) {
            user_->SlideTo(ids::kVolume, position);
            QCOMPARE(user_->Text(ids::kVolumeText), QString(shown));
            QCOMPARE(settings().volumeDb, 30 - position);
        }
    }

    void maximizeDisablesTheVolumeButKeepsIt() {
        const int volumeControls[] = {ids::kVolume, ids::kVolumeText, ids::kVolumeUnit};
        for (const int id : volumeControls) {
            QVERIFY(!user_->Enabled(id));
        }
        user_->Click(ids::kMaximize);
        QVERIFY(!settings().maximize);
        for (const int id : volumeControls) {
            QVERIFY(user_->Enabled(id));
        }
        user_->SlideTo(ids::kVolume, 10);
        user_->Click(ids::kMaximize);
        QVERIFY(settings().maximize);
        for (const int id : volumeControls) {
            QVERIFY(!user_->Enabled(id));
        }
        QCOMPARE(settings().volumeDb, 20);
        QCOMPARE(user_->Text(ids::kVolumeText), QString("+20"));
    }

    void typedDurationIsClampedAndPutsTheSliderNearest_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<float>("duration");
        QTest::addColumn<int>("slider");
        QTest::addColumn<QString>("shown");
        QTest::newRow("above the range") << "25" << 20.0f << 20 << "20";
        QTest::newRow("below the range") << "0.05" << 0.07f << 0 << "0.07";
        QTest::newRow("midpoint goes up") << "1.5" << 1.5f << 14 << "1.5";
        QTest::newRow("between steps") << "1.234" << 1.234f << 12 << "1.234";
        QTest::newRow("past the last step") << "10" << 10.0f << 20 << "10";
        QTest::newRow("leading blanks, trailing letters") << "  2.5s" << 2.5f << 18 << "2.5";
    }
    void typedDurationIsClampedAndPutsTheSliderNearest() {
        QFETCH(QString, typed);
        QFETCH(float, duration);
        QFETCH(int, slider);
        QFETCH(QString, shown);
        user_->job().previewValid = true;
        user_->Type(ids::kDurationText, typed);
        QCOMPARE(settings().duration, duration);  // exactly as typed, not the slider's step
        QCOMPARE(DurationSlider(), slider);
        QCOMPARE(user_->Text(ids::kDurationText), shown);
        QVERIFY(!job().previewValid);
    }

    void typedDurationThatIsNoPositiveNumberChangesNothing_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("zero") << "0";
        QTest::newRow("negative") << "-3";
        QTest::newRow("letters") << "abc";
        QTest::newRow("empty") << "";
    }
    void typedDurationThatIsNoPositiveNumberChangesNothing() {
        QFETCH(QString, typed);
        user_->Type(ids::kDurationText, "1.234");
        user_->Type(ids::kDurationText, typed);
        QCOMPARE(settings().duration, 1.234f);
        QCOMPARE(DurationSlider(), 12);
        QCOMPARE(user_->Text(ids::kDurationText), QString("1.234"));
    }

    void onlyMovingTheDurationSliderReplacesATypedDuration() {
        user_->Type(ids::kDurationText, "1.234");
        user_->Click(ids::kMaximize);
        user_->SlideTo(ids::kVolume, 5);
        user_->SlideTo(ids::kQuality, 1);
        QCOMPARE(settings().duration, 1.234f);
        QCOMPARE(user_->Text(ids::kDurationText), QString("1.234"));
        user_->SlideTo(ids::kDuration, 13);
        QCOMPARE(settings().duration, 1.4f);
        QCOMPARE(user_->Text(ids::kDurationText), QString("1.4"));
    }

    void outputBoxHintGoesWhileTypingAndComesBackWhenLeftEmpty() {
        user_->job().outputValid = true;
        user_->Focus(ids::kOutputPath);
        QCOMPARE(user_->Text(ids::kOutputPath), QString());
        user_->Focus(ids::kDurationText);
        QCOMPARE(user_->Text(ids::kOutputPath), kHint);
        QVERIFY(settings().outputPath.empty());
        QVERIFY(job().outputValid);
    }

    void typedPathMakesTheOutputStaleButNotThePreview() {
        user_->job().previewValid = true;
        user_->job().outputValid = true;
        user_->Type(ids::kOutputPath, "/tmp/take one.wav");
        QCOMPARE(settings().outputPath, std::string("/tmp/take one.wav"));
        QVERIFY(!job().outputValid);
        QVERIFY(job().previewValid);

        // Passing through the box without a change keeps a finished take playable.
        user_->job().outputValid = true;
        user_->Focus(ids::kOutputPath);
        QCOMPARE(user_->Text(ids::kOutputPath), QString("/tmp/take one.wav"));
        user_->Focus(ids::kDurationText);
        QVERIFY(job().outputValid);

        user_->Type(ids::kOutputPath, "");
        QVERIFY(settings().outputPath.empty());
        QVERIFY(!job().outputValid);
        QCOMPARE(user_->Text(ids::kOutputPath), kHint);
    }

    void typedPathIsKeptAsUtf8() {
        user_->Type(ids::kOutputPath, QString::fromUtf8("/tmp/Bratsche-\xC3\xA4.wav"));
        QCOMPARE(settings().outputPath, std::string("/tmp/Bratsche-\xC3\xA4.wav"));
    }

    void outputBoxHoldsThreeHundredNinetyCharacters() {
        user_->Focus(ids::kOutputPath);
        auto* box = user_->Get<QLineEdit>(ids::kOutputPath);
        QTest::keyClicks(box, QString(400, 'a'));
        QCOMPARE(box->text(), QString(390, 'a'));

        // A character held as two UTF-16 units counts once and is never cut in two.
        const QString violin = QString::fromUtf8("\xF0\x9F\x8E\xBB");
        box->clear();
        box->insert(QString(389, 'a') + violin);
        QCOMPARE(box->text(), QString(389, 'a') + violin);
        box->insert(violin);
        QCOMPARE(box->text(), QString(389, 'a') + violin);
        user_->Focus(ids::kDurationText);
        QCOMPARE(settings().outputPath, (QString(389, 'a') + violin).toStdString());
    }

    void browseSetsTheChosenPathWithItsSuffix() {
        QVERIFY(scratch_.isValid());
        const QString folder = QDir(scratch_.path()).canonicalPath();
        user_->job().outputValid = true;
        user_->job().previewValid = true;
        ChooseInBrowse(folder + QString::fromUtf8("/Geige-\xC3\xA4"));
        user_->Click(ids::kBrowse);
        const QString chosen = folder + QString::fromUtf8("/Geige-\xC3\xA4.wav");
        QCOMPARE(user_->Text(ids::kOutputPath), chosen);
        QCOMPARE(QByteArray::fromStdString(settings().outputPath), chosen.toUtf8());
        QVERIFY(!job().outputValid);
        QVERIFY(job().previewValid);
    }

    void browseAsksBeforeAnExistingFileIsReplaced() {
        const QString existing = QDir(scratch_.path()).canonicalPath() + "/taken.wav";
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        auto asked = std::make_shared<QString>();
        WhenOpens<QFileDialog>([existing, asked](QFileDialog& chooser) {
            WhenOpens<QMessageBox>([asked](QMessageBox& question) {
                *asked = question.text();
                question.button(QMessageBox::Yes)->click();
            });
            SaveAs(chooser, existing);
        });
        user_->Click(ids::kBrowse);
        QVERIFY(asked->contains("taken.wav"));
        QCOMPARE(settings().outputPath, existing.toStdString());
    }

    void cancellingBrowseChangesNothing() {
        user_->Type(ids::kOutputPath, "/tmp/kept.wav");
        user_->job().outputValid = true;
        WhenOpens<QFileDialog>([](QFileDialog& chooser) { chooser.reject(); });
        user_->Click(ids::kBrowse);
        QCOMPARE(settings().outputPath, std::string("/tmp/kept.wav"));
        QCOMPARE(user_->Text(ids::kOutputPath), QString("/tmp/kept.wav"));
        QVERIFY(job().outputValid);
    }

    void browseTakesThreeHundredNinetyCharactersAndRefusesMore() {
        const QString longest = PathOfLength(scratch_, 390);
        ChooseInBrowse(longest);
        user_->Click(ids::kBrowse);
        QCOMPARE(user_->Text(ids::kOutputPath), longest);
        QCOMPARE(settings().outputPath, longest.toStdString());
        // The box shows the whole path, so passing through it changes nothing.
        user_->job().outputValid = true;
        user_->Focus(ids::kOutputPath);
        user_->Focus(ids::kDurationText);
        QVERIFY(job().outputValid);

        auto message = std::make_shared<QString>();
        ChooseInBrowse(PathOfLength(scratch_, 391));
        WhenOpens<CErrorDialog>([message](CErrorDialog& error) {
            for (auto* label : error.findChildren<QLabel*>()) {
                *message += label->text();
            }
            ButtonWithText(error, "OK")->click();
        });
        user_->Click(ids::kBrowse);
        QCOMPARE(*message, QString("File path too long"));
        QCOMPARE(settings().outputPath, longest.toStdString());
        QCOMPARE(user_->Text(ids::kOutputPath), longest);
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::GeneralPageTest)
#include "general_page_test.moc"
