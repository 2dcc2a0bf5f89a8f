// The General/File page: quality, volume and "Maximize", the typed duration, and the output
// path typed or chosen with "Browse".

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "control/error_dialog.h"
#include "tests/dialog_answers.h"
#include "tests/window_driver.h"

namespace sordanel {

namespace {

const QString kHint = "Choose or enter a path and a file name";

// Types `path` into the chooser's file name box and saves, as a user does.
void SaveAs(QFileDialog& chooser, const QString& path) {
    // The file name box, where the chooser puts the focus as it opens.
    qobject_cast<QLineEdit*>(chooser.focusWidget())->setText(path);
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
    // What the page reported since the last clear(): a change of a setting, of the path.
    std::unique_ptr<QSignalSpy> changes_;
    std::unique_ptr<QSignalSpy> pathChanges_;
    int DurationSlider() { return user_->general().duration->value(); }

private slots:
    void init() {
        user_ = std::make_unique<WindowDriver>();
        QVERIFY(user_->Open());
        user_->ShowPage(2);
        changes_ = std::make_unique<QSignalSpy>(&user_->generalPage(), &GeneralPage::changed);
        pathChanges_ =
            std::make_unique<QSignalSpy>(&user_->generalPage(), &GeneralPage::outputPathChanged);
    }
    void cleanup() { user_.reset(); }

    void qualitySliderChoosesLowOrHigh() {
        user_->SlideTo(user_->general().quality, 1);
        QCOMPARE(settings().quality, Quality::High);
        user_->SlideTo(user_->general().quality, 0);
        QCOMPARE(settings().quality, Quality::Low);
    }

    void volumeReadsFromPlusThirtyToMinusTwenty() {
        user_->Click(user_->general().maximize);
        const std::pair<int, const char*> readings[] = {{0, "+30"}, {30, "0"}, {50, "-20"}};
        for (const auto& [position, shown] : readings) {
            user_->SlideTo(user_->general().volume, position);
            QCOMPARE(user_->Text(user_->general().volumeText), QString(shown));
            QCOMPARE(settings().volumeDb, 30 - position);
        }
    }

    void maximizeDisablesTheVolumeButKeepsIt() {
        QWidget* const volumeControls[] = {user_->general().volumeLabel, user_->general().volume,
                                           user_->general().volumeText,
                                           user_->general().volumeUnit};
        for (QWidget* control : volumeControls) {
            QVERIFY(!user_->Enabled(control));
        }
        user_->Click(user_->general().maximize);
        QVERIFY(!settings().maximize);
        for (QWidget* control : volumeControls) {
            QVERIFY(user_->Enabled(control));
        }
        user_->SlideTo(user_->general().volume, 10);
        user_->Click(user_->general().maximize);
        QVERIFY(settings().maximize);
        for (QWidget* control : volumeControls) {
            QVERIFY(!user_->Enabled(control));
        }
        QCOMPARE(settings().volumeDb, 20);
        QCOMPARE(user_->Text(user_->general().volumeText), QString("+20"));
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
        QTest::newRow("leading blanks") << "  2.5" << 2.5f << 18 << "2.5";
    }
    void typedDurationIsClampedAndPutsTheSliderNearest() {
        QFETCH(QString, typed);
        QFETCH(float, duration);
        QFETCH(int, slider);
        QFETCH(QString, shown);
        changes_->clear();
        user_->Type(user_->general().durationText, typed);
        QCOMPARE(settings().duration, duration);  // exactly as typed, not the slider's step
        QCOMPARE(DurationSlider(), slider);
        QCOMPARE(user_->Text(user_->general().durationText), shown);
        QVERIFY(!changes_->isEmpty());
    }

    void typedDurationThatIsNoPositiveNumberChangesNothing_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("zero") << "0";
        QTest::newRow("negative") << "-3";
        QTest::newRow("letters") << "abc";
        QTest::newRow("empty") << "";
        QTest::newRow("trailing letters") << "2.5s";
        QTest::newRow("a comma where the locale has none") << "1,5";
        QTest::newRow("two numbers") << "1 5";
    }
    void typedDurationThatIsNoPositiveNumberChangesNothing() {
        QFETCH(QString, typed);
        user_->Type(user_->general().durationText, "1.234");
        user_->Type(user_->general().durationText, typed);
        QCOMPARE(settings().duration, 1.234f);
        QCOMPARE(DurationSlider(), 12);
        QCOMPARE(user_->Text(user_->general().durationText), QString("1.234"));
    }

    void onlyMovingTheDurationSliderReplacesATypedDuration() {
        user_->Type(user_->general().durationText, "1.234");
        user_->Click(user_->general().maximize);
        user_->SlideTo(user_->general().volume, 5);
        user_->SlideTo(user_->general().quality, 1);
        QCOMPARE(settings().duration, 1.234f);
        QCOMPARE(user_->Text(user_->general().durationText), QString("1.234"));
        user_->SlideTo(user_->general().duration, 13);
        QCOMPARE(settings().duration, 1.4f);
        QCOMPARE(user_->Text(user_->general().durationText), QString("1.4"));
    }

    void anEmptyOutputBoxShowsTheHint() {
        QCOMPARE(user_->general().outputPath->placeholderText(), kHint);
        user_->Focus(user_->general().outputPath);
        user_->Focus(user_->general().durationText);
        QCOMPARE(user_->Text(user_->general().outputPath), QString());
        QVERIFY(settings().outputPath.empty());
        QVERIFY(pathChanges_->isEmpty());
    }

    void aDecimalCommaCountsWhereTheLocaleWritesIt() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        user_->Type(user_->general().durationText, "1,5");
        QLocale::setDefault(QLocale::c());
        QCOMPARE(settings().duration, 1.5f);
        user_->Type(user_->general().durationText, "2.25");
        QCOMPARE(settings().duration, 2.25f);
    }

    void aTypedRelativePathOrTildeIsResolvedAgainstTheChoosersFolder() {
        const QString folder = QDir(scratch_.path()).canonicalPath();
        user_->Type(user_->general().outputPath, folder + "/first.wav");
        user_->Type(user_->general().outputPath, "second.wav");
        QCOMPARE(QString::fromStdString(settings().outputPath), folder + "/second.wav");
        QCOMPARE(user_->generalPage().StartFolder(), folder);
        user_->Type(user_->general().outputPath, "~/third.wav");
        QCOMPARE(QString::fromStdString(settings().outputPath), QDir::homePath() + "/third.wav");
    }

    void theChooserOpensInTheFolderOfTheCurrentPath() {
        const QString folder = QDir(scratch_.path()).canonicalPath();
        user_->Type(user_->general().outputPath, folder + "/take.wav");
        auto opened = std::make_shared<QString>();
        WhenOpens<QFileDialog>([opened](QFileDialog& chooser) {
            *opened = chooser.directory().absolutePath();
            chooser.reject();
        });
        user_->Click(user_->general().browse);
        QCOMPARE(*opened, folder);
    }

    void aTypedPathCutAtTheLimitSaysSo() {
        QVERIFY(user_->general().outputPathNotice->isHidden());
        user_->Focus(user_->general().outputPath);
        QTest::keyClicks(user_->general().outputPath, "/" + QString(399, 'a'));
        QVERIFY(!user_->general().outputPathNotice->isHidden());
    }

    void typedPathMakesTheOutputStaleButNotThePreview() {
        changes_->clear();
        pathChanges_->clear();
        user_->Type(user_->general().outputPath, "/tmp/take one.wav");
        QCOMPARE(settings().outputPath, std::string("/tmp/take one.wav"));
        QVERIFY(!pathChanges_->isEmpty());
        QVERIFY(changes_->isEmpty());

        // Passing through the box without a change keeps a finished take playable.
        pathChanges_->clear();
        user_->Focus(user_->general().outputPath);
        QCOMPARE(user_->Text(user_->general().outputPath), QString("/tmp/take one.wav"));
        user_->Focus(user_->general().durationText);
        QVERIFY(pathChanges_->isEmpty());

        user_->Type(user_->general().outputPath, "");
        QVERIFY(settings().outputPath.empty());
        QVERIFY(!pathChanges_->isEmpty());
    }

    void typedPathIsKeptAsUtf8() {
        user_->Type(user_->general().outputPath, QString::fromUtf8("/tmp/Bratsche-\xC3\xA4.wav"));
        QCOMPARE(settings().outputPath, std::string("/tmp/Bratsche-\xC3\xA4.wav"));
    }

    void outputBoxHoldsThreeHundredNinetyCharacters() {
        user_->Focus(user_->general().outputPath);
        auto* box = user_->general().outputPath;
        const QString path = "/" + QString(388, 'a');
        QTest::keyClicks(box, path + QString(11, 'a'));
        QCOMPARE(box->text(), path + "a");

        // A character held as two UTF-16 units counts once and is never cut in two.
        const QString violin = QString::fromUtf8("\xF0\x9F\x8E\xBB");
        box->clear();
        box->insert(path + violin);
        QCOMPARE(box->text(), path + violin);
        box->insert(violin);
        QCOMPARE(box->text(), path + violin);
        user_->Focus(user_->general().durationText);
        QCOMPARE(settings().outputPath, (path + violin).toStdString());
    }

    void browseSetsTheChosenPathWithItsSuffix() {
        QVERIFY(scratch_.isValid());
        const QString folder = QDir(scratch_.path()).canonicalPath();
        pathChanges_->clear();
        changes_->clear();
        ChooseInBrowse(folder + QString::fromUtf8("/Geige-\xC3\xA4"));
        user_->Click(user_->general().browse);
        const QString chosen = folder + QString::fromUtf8("/Geige-\xC3\xA4.wav");
        QCOMPARE(user_->Text(user_->general().outputPath), chosen);
        QCOMPARE(QByteArray::fromStdString(settings().outputPath), chosen.toUtf8());
        QVERIFY(!pathChanges_->isEmpty());
        QVERIFY(changes_->isEmpty());
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
        user_->Click(user_->general().browse);
        QVERIFY(asked->contains("taken.wav"));
        QCOMPARE(settings().outputPath, existing.toStdString());
    }

    void cancellingBrowseChangesNothing() {
        user_->Type(user_->general().outputPath, "/tmp/kept.wav");
        pathChanges_->clear();
        WhenOpens<QFileDialog>([](QFileDialog& chooser) { chooser.reject(); });
        user_->Click(user_->general().browse);
        QCOMPARE(settings().outputPath, std::string("/tmp/kept.wav"));
        QCOMPARE(user_->Text(user_->general().outputPath), QString("/tmp/kept.wav"));
        QVERIFY(pathChanges_->isEmpty());
    }

    void browseTakesThreeHundredNinetyCharactersAndRefusesMore() {
        const QString longest = PathOfLength(scratch_, 390);
        ChooseInBrowse(longest);
        user_->Click(user_->general().browse);
        QCOMPARE(user_->Text(user_->general().outputPath), longest);
        QCOMPARE(settings().outputPath, longest.toStdString());
        // The box shows the whole path, so passing through it changes nothing.
        pathChanges_->clear();
        user_->Focus(user_->general().outputPath);
        user_->Focus(user_->general().durationText);
        QVERIFY(pathChanges_->isEmpty());

        auto message = std::make_shared<QString>();
        ChooseInBrowse(PathOfLength(scratch_, 391));
        WhenOpens<CErrorDialog>([message](CErrorDialog& error) {
            for (auto* label : error.findChildren<QLabel*>()) {
                *message += label->text();
            }
            ButtonWithText(error, "OK")->click();
        });
        user_->Click(user_->general().browse);
        QCOMPARE(*message, QString("File path too long"));
        QCOMPARE(settings().outputPath, longest.toStdString());
        QCOMPARE(user_->Text(user_->general().outputPath), longest);
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::GeneralPageTest)
#include "general_page_test.moc"
