// The pitch controls: note and key lists, temperament, detune with its "0", vibrato and the
// frequency autocorrection.

#include <QComboBox>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "window_driver.h"

namespace sordanel {

namespace {

const int kVibratoControls[] = {ids::kVibratoSpeedLabel, ids::kVibratoDepthLabel,
                                ids::kVibratoSpeed,      ids::kVibratoDepth,
                                ids::kVibratoSpeedStep,  ids::kVibratoDepthStep};

}  // namespace

class PitchControlsTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<WindowDriver> user_;

    const GenerationSettings& settings() { return user_->settings(); }
    const JobState& job() { return user_->job(); }

private slots:
    void init() {
        user_ = std::make_unique<WindowDriver>();
        QVERIFY(user_->Open());
    }
    void cleanup() { user_.reset(); }

    void startsOnC5WithVibratoOffAndNoDetune() {
        QCOMPARE(user_->Get<QComboBox>(ids::kNoteList)->currentText(), QString("C5"));
        QCOMPARE(settings().noteIndex, 28);
        QCOMPARE(settings().keyIndex, 0);
        QCOMPARE(settings().justIntonation, Temperament::Equal);
        QCOMPARE(settings().autocorrection, AutocorrectionMode::Precalculated);
        QVERIFY(!settings().vibratoOn);
        QCOMPARE(settings().vibratoSpeedIndex, 23);
        QCOMPARE(user_->Text(ids::kVibratoSpeed), QString("9.0"));
        QCOMPARE(settings().vibratoDepth, 20);
        QCOMPARE(settings().detune, 0);
        for (const int id : kVibratoControls) {
            QVERIFY(!user_->Enabled(id));
        }
    }

    void vibratoSpeedStepsThroughTheTableAndStopsAtItsEnds() {
        user_->Click(ids::kVibrato);
        QStringList shown;
        for (int i = 0; i < 6; ++i) {
            user_->Step(ids::kVibratoSpeedStep, 1);
            shown << user_->Text(ids::kVibratoSpeed);
        }
        QCOMPARE(shown, QStringList({"10.0", "12.0", "15.0", "17.0", "20.0", "20.0"}));
        QCOMPARE(settings().vibratoSpeedIndex, 28);
        user_->Step(ids::kVibratoSpeedStep, -40);
        QCOMPARE(user_->Text(ids::kVibratoSpeed), QString("0.5"));
        QCOMPARE(settings().vibratoSpeedIndex, 0);
    }

    void vibratoDepthStepsByFiveBetweenTenAndOneHundredFifty() {
        user_->Click(ids::kVibrato);
        QStringList shown;
        for (int i = 0; i < 3; ++i) {
            user_->Step(ids::kVibratoDepthStep, -1);
            shown << user_->Text(ids::kVibratoDepth);
        }
        QCOMPARE(shown, QStringList({"15", "10", "10"}));
        user_->Step(ids::kVibratoDepthStep, 40);
        QCOMPARE(user_->Text(ids::kVibratoDepth), QString("150"));
        QCOMPARE(settings().vibratoDepth, 150);
    }

    void uncheckingVibratoDisablesItsControlsAndKeepsTheValues() {
        user_->Click(ids::kVibrato);
        QVERIFY(settings().vibratoOn);
        for (const int id : kVibratoControls) {
            QVERIFY(user_->Enabled(id));
        }
        user_->Step(ids::kVibratoSpeedStep, -3);
        user_->Step(ids::kVibratoDepthStep, 2);
        user_->Click(ids::kVibrato);
        QVERIFY(!settings().vibratoOn);
        for (const int id : kVibratoControls) {
            QVERIFY(!user_->Enabled(id));
        }
        QCOMPARE(user_->Text(ids::kVibratoSpeed), QString("6.0"));
        QCOMPARE(settings().vibratoDepth, 30);
        // A disabled control does not step.
        user_->Step(ids::kVibratoDepthStep, 1);
        QCOMPARE(settings().vibratoDepth, 30);
    }

    void detuneStopsAtBothEndsAndZeroResetsIt() {
        user_->Step(ids::kDetuneStep, 110);
        QCOMPARE(user_->Text(ids::kDetune), QString("+105"));
        QCOMPARE(settings().detune, 105);
        user_->Click(ids::kDetuneZero);
        QCOMPARE(user_->Text(ids::kDetune), QString("0"));
        QCOMPARE(settings().detune, 0);
        user_->Step(ids::kDetuneStep, -110);
        QCOMPARE(user_->Text(ids::kDetune), QString("-105"));
        QCOMPARE(settings().detune, -105);
        user_->Click(ids::kDetuneZero);
        QCOMPARE(user_->Text(ids::kDetune), QString("0"));
        QCOMPARE(settings().detune, 0);
    }

    void afterZeroEnterGoesToTheHiddenDefaultButton() {
        auto* zero = user_->Get<QPushButton>(ids::kDetuneZero);
        user_->Step(ids::kDetuneStep, -4);
        QTest::mouseClick(zero, Qt::LeftButton);
        QCOMPARE(settings().detune, 0);
        QVERIFY(!zero->hasFocus());
        QVERIFY(!zero->isDefault());

        // Enter must not click "0" again, which would undo the new detune.
        user_->Step(ids::kDetuneStep, 7);
        QTest::keyClick(&user_->window(), Qt::Key_Return);
        QCOMPARE(settings().detune, 7);
        QCOMPARE(user_->Text(ids::kDetune), QString("+7"));
        QVERIFY(user_->window().isVisible());
    }

    void justIntonationEnablesTheKeyAndEqualTemperamentKeepsIt() {
        auto* keys = user_->Get<QComboBox>(ids::kKeyList);
        user_->Click(ids::kJustIntonation);
        QCOMPARE(settings().justIntonation, Temperament::Just);
        QVERIFY(user_->Enabled(ids::kKeyLabel));
        QVERIFY(keys->isEnabled());
        keys->setFocus();
        QTest::keyClick(keys, Qt::Key_Down);
        QTest::keyClick(keys, Qt::Key_Down);
        QCOMPARE(keys->currentText(), QString("D"));
        QCOMPARE(settings().keyIndex, 2);

        user_->Click(ids::kEqualTemperament);
        QCOMPARE(settings().justIntonation, Temperament::Equal);
        QVERIFY(!user_->Enabled(ids::kKeyLabel));
        QVERIFY(!keys->isEnabled());
        QCOMPARE(keys->currentText(), QString("D"));
        QCOMPARE(settings().keyIndex, 2);
    }

    void autocorrectionFollowsItsRadioButtons() {
        user_->Click(ids::kRealTime);
        QCOMPARE(settings().autocorrection, AutocorrectionMode::RealTime);
        user_->Click(ids::kAutocorrectionOff);
        QCOMPARE(settings().autocorrection, AutocorrectionMode::Off);
        user_->Click(ids::kPrecalculated);
        QCOMPARE(settings().autocorrection, AutocorrectionMode::Precalculated);
    }

    void everyPitchChangeMakesThePreviewStale() {
        auto* notes = user_->Get<QComboBox>(ids::kNoteList);
        const std::function<void()> changes[] = {
            [&] {
                notes->setFocus();
                QTest::keyClick(notes, Qt::Key_Up);
            },
            [&] { user_->Click(ids::kJustIntonation); },
            [&] {
                auto* keys = user_->Get<QComboBox>(ids::kKeyList);
                keys->setFocus();
                QTest::keyClick(keys, Qt::Key_Down);
            },
            [&] { user_->Click(ids::kVibrato); },
            [&] { user_->Step(ids::kVibratoSpeedStep, 1); },
            [&] { user_->Step(ids::kVibratoDepthStep, 1); },
            [&] { user_->Step(ids::kDetuneStep, 1); },
            [&] { user_->Click(ids::kDetuneZero); },
            [&] { user_->Click(ids::kRealTime); },
        };
        for (const auto& change : changes) {
            user_->job().previewValid = true;
            user_->job().outputValid = true;
            change();
            QVERIFY(!job().previewValid);
            QVERIFY(job().outputValid);
        }
        QCOMPARE(notes->currentText(), QString("C#5"));
        QCOMPARE(settings().noteIndex, 27);
        QCOMPARE(settings().keyIndex, 1);
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::PitchControlsTest)
#include "pitch_controls_test.moc"
