// The pitch controls: note and key lists, temperament, detune with its "0", vibrato and the
// frequency autocorrection.

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "tests/window_driver.h"

namespace sordanel {

class PitchControlsTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<WindowDriver> user_;

    const GenerationSettings& settings() { return user_->settings(); }
    std::vector<QWidget*> VibratoControls() {
        const StringBowControls& page = user_->bow();
        return {page.vibratoSpeedLabel, page.vibratoDepthLabel, page.vibratoSpeed,
                page.vibratoDepth,      page.vibratoSpeedStep,  page.vibratoDepthStep};
    }

private slots:
    void init() {
        user_ = std::make_unique<WindowDriver>();
        QVERIFY(user_->Open());
    }
    void cleanup() { user_.reset(); }

    void theKeyboardStepsTheReadOnlyBoxesLikeTheArrows() {
        user_->Click(user_->bow().vibrato);
        user_->Press(user_->bow().vibratoSpeed, Qt::Key_Up);
        QCOMPARE(user_->Text(user_->bow().vibratoSpeed), QString("10.0"));
        user_->Press(user_->bow().vibratoSpeed, Qt::Key_PageDown);
        QCOMPARE(settings().vibratoSpeedIndex, 19);
        user_->Press(user_->bow().vibratoDepth, Qt::Key_PageUp);
        QCOMPARE(settings().vibratoDepth, 45);
        user_->Press(user_->bow().detune, Qt::Key_Down);
        QCOMPARE(user_->Text(user_->bow().detune), QString("-1"));
        user_->Press(user_->bow().detune, Qt::Key_PageUp);
        QCOMPARE(settings().detune, 4);
        // Tab stops on the boxes, which is where the keyboard finds them.
        QVERIFY(user_->bow().detune->focusPolicy() & Qt::TabFocus);
    }

    void vibratoSpeedStepsThroughTheTableAndStopsAtItsEnds() {
        user_->Click(user_->bow().vibrato);
        QStringList shown;
        for (int i = 0; i < 6; ++i) {
            user_->Step(user_->bow().vibratoSpeedStep, 1);
            shown << user_->Text(user_->bow().vibratoSpeed);
        }
        QCOMPARE(shown, QStringList({"10.0", "12.0", "15.0", "17.0", "20.0", "20.0"}));
        QCOMPARE(settings().vibratoSpeedIndex, 28);
        user_->Step(user_->bow().vibratoSpeedStep, -40);
        QCOMPARE(user_->Text(user_->bow().vibratoSpeed), QString("0.5"));
        QCOMPARE(settings().vibratoSpeedIndex, 0);
    }

    void vibratoDepthStepsByFiveBetweenTenAndOneHundredFifty() {
        user_->Click(user_->bow().vibrato);
        QStringList shown;
        for (int i = 0; i < 3; ++i) {
            user_->Step(user_->bow().vibratoDepthStep, -1);
            shown << user_->Text(user_->bow().vibratoDepth);
        }
        QCOMPARE(shown, QStringList({"15", "10", "10"}));
        user_->Step(user_->bow().vibratoDepthStep, 40);
        QCOMPARE(user_->Text(user_->bow().vibratoDepth), QString("150"));
        QCOMPARE(settings().vibratoDepth, 150);
    }

    void uncheckingVibratoDisablesItsControlsAndKeepsTheValues() {
        user_->Click(user_->bow().vibrato);
        QVERIFY(settings().vibratoOn);
        for (QWidget* control : VibratoControls()) {
            QVERIFY(user_->Enabled(control));
        }
        user_->Step(user_->bow().vibratoSpeedStep, -3);
        user_->Step(user_->bow().vibratoDepthStep, 2);
        user_->Click(user_->bow().vibrato);
        QVERIFY(!settings().vibratoOn);
        for (QWidget* control : VibratoControls()) {
            QVERIFY(!user_->Enabled(control));
        }
        QCOMPARE(user_->Text(user_->bow().vibratoSpeed), QString("6.0"));
        QCOMPARE(settings().vibratoDepth, 30);
        // A disabled control does not step.
        user_->Step(user_->bow().vibratoDepthStep, 1);
        QCOMPARE(settings().vibratoDepth, 30);
    }

    void detuneStopsAtBothEndsAndZeroResetsIt() {
        user_->Step(user_->bow().detuneStep, 110);
        QCOMPARE(user_->Text(user_->bow().detune), QString("+105"));
        QCOMPARE(settings().detune, 105);
        user_->Click(user_->bow().detuneZero);
        QCOMPARE(user_->Text(user_->bow().detune), QString("0"));
        QCOMPARE(settings().detune, 0);
        user_->Step(user_->bow().detuneStep, -110);
        QCOMPARE(user_->Text(user_->bow().detune), QString("-105"));
        QCOMPARE(settings().detune, -105);
        user_->Click(user_->bow().detuneZero);
        QCOMPARE(user_->Text(user_->bow().detune), QString("0"));
        QCOMPARE(settings().detune, 0);
    }

    void afterZeroEnterGoesToTheHiddenDefaultButton() {
        auto* zero = user_->bow().detuneZero;
        user_->Step(user_->bow().detuneStep, -4);
        QTest::mouseClick(zero, Qt::LeftButton);
        QCOMPARE(settings().detune, 0);
        QVERIFY(!zero->hasFocus());
        QVERIFY(!zero->isDefault());

        // Enter must not click "0" again, which would undo the new detune.
        user_->Step(user_->bow().detuneStep, 7);
        QTest::keyClick(&user_->window(), Qt::Key_Return);
        QCOMPARE(settings().detune, 7);
        QCOMPARE(user_->Text(user_->bow().detune), QString("+7"));
        QVERIFY(user_->window().isVisible());
    }

    void justIntonationEnablesTheKeyAndEqualTemperamentKeepsIt() {
        auto* keys = user_->bow().keyList;
        user_->Click(user_->bow().justIntonation);
        QCOMPARE(settings().justIntonation, Temperament::Just);
        QVERIFY(user_->Enabled(user_->bow().keyLabel));
        QVERIFY(keys->isEnabled());
        keys->setFocus();
        QTest::keyClick(keys, Qt::Key_Down);
        QTest::keyClick(keys, Qt::Key_Down);
        QCOMPARE(keys->currentText(), QString("D"));
        QCOMPARE(settings().keyIndex, 2);

        user_->Click(user_->bow().equalTemperament);
        QCOMPARE(settings().justIntonation, Temperament::Equal);
        QVERIFY(!user_->Enabled(user_->bow().keyLabel));
        QVERIFY(!keys->isEnabled());
        QCOMPARE(keys->currentText(), QString("D"));
        QCOMPARE(settings().keyIndex, 2);
    }

    void autocorrectionFollowsItsRadioButtons() {
        user_->Click(user_->bow().realTime);
        QCOMPARE(settings().autocorrection, AutocorrectionMode::RealTime);
        user_->Click(user_->bow().autocorrectionOff);
        QCOMPARE(settings().autocorrection, AutocorrectionMode::Off);
        user_->Click(user_->bow().precalculated);
        QCOMPARE(settings().autocorrection, AutocorrectionMode::Precalculated);
    }

    void everyPitchChangeIsReported() {
        auto* notes = user_->bow().noteList;
        const std::function<void()> changes[] = {
            [&] {
                notes->setFocus();
                QTest::keyClick(notes, Qt::Key_Up);
            },
            [&] { user_->Click(user_->bow().justIntonation); },
            [&] {
                auto* keys = user_->bow().keyList;
                keys->setFocus();
                QTest::keyClick(keys, Qt::Key_Down);
            },
            [&] { user_->Click(user_->bow().vibrato); },
            [&] { user_->Step(user_->bow().vibratoSpeedStep, 1); },
            [&] { user_->Step(user_->bow().vibratoDepthStep, 1); },
            [&] { user_->Step(user_->bow().detuneStep, 1); },
            [&] { user_->Click(user_->bow().detuneZero); },
            [&] { user_->Click(user_->bow().realTime); },
        };
        QSignalSpy reported(&user_->bowPage(), &StringBowPage::changed);
        for (const auto& change : changes) {
            const auto before = reported.count();
            change();
            QVERIFY(reported.count() > before);
        }
        QCOMPARE(notes->currentText(), QString("C#5"));
        QCOMPARE(settings().noteIndex, 27);
        QCOMPARE(settings().keyIndex, 1);
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::PitchControlsTest)
#include "pitch_controls_test.moc"
