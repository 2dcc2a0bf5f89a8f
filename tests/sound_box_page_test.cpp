// The Sound Box page: the string/box ratio, the four resonances with their width rule, and the
// pseudorandom resonances.

#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "tests/window_driver.h"

namespace sordanel {

class SoundBoxPageTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<WindowDriver> user_;

    const GenerationSettings& settings() { return user_->settings(); }
    int WidthHz(int r) { return kResonanceWidthsHz[settings().resonanceWidthIndex[r]]; }
    // Resonance r's F, dF and A as its boxes show them.
    QStringList Shown(int r) {
        return {user_->Text(user_->box().resonance[r].freq.box),
                user_->Text(user_->box().resonance[r].width.box),
                user_->Text(user_->box().resonance[r].amp.box)};
    }
    QList<QWidget*> NineControlsOf(int r) {
        return {user_->box().resonance[r].freq.label, user_->box().resonance[r].freq.box,
                user_->box().resonance[r].freq.step,  user_->box().resonance[r].width.label,
                user_->box().resonance[r].width.box,  user_->box().resonance[r].width.step,
                user_->box().resonance[r].amp.label,  user_->box().resonance[r].amp.box,
                user_->box().resonance[r].amp.step};
    }

private slots:
    void init() {
        user_ = std::make_unique<WindowDriver>();
        QVERIFY(user_->Open());
        user_->ShowPage(1);
    }
    void cleanup() { user_.reset(); }

    void ratioSliderEndsGiveNoBoxAndAllBox() {
        user_->SlideTo(user_->box().stringToBoxRatio, 0);
        QCOMPARE(settings().stringToBoxRatio, 0.0f);  // exactly: the box stage is skipped
        user_->SlideTo(user_->box().stringToBoxRatio, 13);
        QCOMPARE(settings().stringToBoxRatio, 1.0f);
    }

    void typedFrequencyIsClampedAndCommittedByEnterOrFocus_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("frequency");
        QTest::newRow("below the range") << "20" << 40;
        QTest::newRow("above the range") << "99999" << 1500;
        QTest::newRow("empty") << "" << 40;
        QTest::newRow("inside") << "333" << 333;
        QTest::newRow("only seven characters read") << "00000012345" << 40;
    }
    void typedFrequencyIsClampedAndCommittedByEnterOrFocus() {
        QFETCH(QString, typed);
        QFETCH(int, frequency);
        for (int r = 0; r < 2; ++r) {
            user_->Type(user_->box().resonance[r].freq.box, typed);
            QCOMPARE(settings().resonanceFreq[r], frequency);
            QCOMPARE(user_->Text(user_->box().resonance[r].freq.box), QString::number(frequency));
        }
        // Leaving the box for another control commits too.
        user_->Focus(user_->box().resonance[0].freq.box);
        user_->box().resonance[0].freq.box->setText("1234");
        user_->Focus(user_->box().resonance[1].freq.box);
        QCOMPARE(settings().resonanceFreq[0], 1234);
    }

    void typedFrequencyLowersTheWidthUntilItFits() {
        user_->Type(user_->box().resonance[0].freq.box, "1500");
        user_->Step(user_->box().resonance[0].width.step, 15);
        QCOMPARE(WidthHz(0), 200);
        user_->Type(user_->box().resonance[0].freq.box, "40");
        QCOMPARE(WidthHz(0), 16);  // the widest entry not above trunc(40 x 0.46) = 18
        QCOMPARE(Shown(0), QStringList({"40", "16", "9"}));
    }

    void stepsKeepTheWidthWithinTheRule() {
        user_->Type(user_->box().resonance[0].freq.box, "40");
        user_->Step(user_->box().resonance[0].width.step, 1);
        QCOMPARE(WidthHz(0), 16);  // 20 Hz exceeds 18 and is undone at once

        user_->Type(user_->box().resonance[0].freq.box, "45");
        user_->Step(user_->box().resonance[0].width.step, 1);
        QCOMPARE(WidthHz(0), 20);
        user_->Step(user_->box().resonance[0].freq.step, -1);
        QCOMPARE(Shown(0), QStringList({"40", "16", "9"}));

        user_->Type(user_->box().resonance[0].freq.box, "55");
        user_->Step(user_->box().resonance[0].width.step, 2);
        QCOMPARE(WidthHz(0), 25);
        user_->Step(user_->box().resonance[0].freq.step, -1);
        QCOMPARE(Shown(0), QStringList({"50", "20", "9"}));
    }

    void aHeldButtonsLargerStepStillKeepsTheWidthWithinTheRule() {
        user_->Type(user_->box().resonance[0].freq.box, "40");
        emit user_->box().resonance[0].width.step->stepped(5);
        QCOMPARE(WidthHz(0), 16);

        user_->Type(user_->box().resonance[1].freq.box, "300");
        user_->Step(user_->box().resonance[1].width.step, 9);
        QCOMPARE(WidthHz(1), 130);
        emit user_->box().resonance[1].freq.step->stepped(-50);
        QCOMPARE(settings().resonanceFreq[1], 50);
        QCOMPARE(WidthHz(1), 20);  // trunc(50 x 0.46) = 23
        QCOMPARE(user_->Text(user_->box().resonance[1].width.box), QString("20"));
    }

    void frequencyWidthAndAmplitudeStopAtTheirEnds() {
        user_->Step(user_->box().resonance[0].freq.step, 300);
        user_->Step(user_->box().resonance[0].width.step, 20);
        user_->Step(user_->box().resonance[0].amp.step, 20);
        QCOMPARE(Shown(0), QStringList({"1500", "200", "20"}));
        user_->Step(user_->box().resonance[0].amp.step, -30);
        user_->Step(user_->box().resonance[0].width.step, -20);
        user_->Step(user_->box().resonance[0].freq.step, -300);
        QCOMPARE(Shown(0), QStringList({"40", "6", "1"}));
    }

    void pseudorandomAmplitudeStopsAtTwelveAndOne() {
        user_->Step(user_->box().pseudorandomAmp.step, 20);
        QCOMPARE(settings().pseudorandomAmp, 12);
        QCOMPARE(user_->Text(user_->box().pseudorandomAmp.box), QString("12"));
        user_->Step(user_->box().pseudorandomAmp.step, -20);
        QCOMPARE(settings().pseudorandomAmp, 1);
        QCOMPARE(user_->Text(user_->box().pseudorandomAmp.box), QString("1"));
    }

    void pseudorandomBoxSwitchesItsControlsAndKeepsTheAmplitude() {
        QWidget* const controls[] = {user_->box().pseudorandomAmp.label,
                                     user_->box().pseudorandomAmp.box,
                                     user_->box().pseudorandomAmp.step};
        user_->Step(user_->box().pseudorandomAmp.step, 2);
        user_->Click(user_->box().pseudorandom);
        QVERIFY(!settings().pseudorandomResonances);
        for (QWidget* control : controls) {
            QVERIFY(!user_->Enabled(control));
        }
        user_->Click(user_->box().pseudorandom);
        QVERIFY(settings().pseudorandomResonances);
        for (QWidget* control : controls) {
            QVERIFY(user_->Enabled(control));
        }
        QCOMPARE(settings().pseudorandomAmp, 6);
        QCOMPARE(user_->Text(user_->box().pseudorandomAmp.box), QString("6"));
    }

    void enableBoxesSwitchNineControlsAndKeepTheValues() {
        user_->Step(user_->box().resonance[1].amp.step, 3);
        user_->Click(user_->box().resonanceEnable[0]);
        user_->Click(user_->box().resonanceEnable[1]);
        QCOMPARE(settings().resonanceOn, (std::array<bool, 3>{false, true, false}));
        for (QWidget* control : NineControlsOf(1)) {
            QVERIFY(!user_->Enabled(control));
        }
        for (QWidget* control : NineControlsOf(2)) {
            QVERIFY(user_->Enabled(control));
        }
        QVERIFY(user_->Enabled(user_->box().resonanceEnable[0]));
        user_->Click(user_->box().resonanceEnable[0]);
        QVERIFY(settings().resonanceOn[0]);
        QCOMPARE(Shown(1), QStringList({"415", "16", "11"}));
        QCOMPARE(settings().resonanceAmp[1], 11);
    }

    void everyBoxChangeIsReported() {
        const std::function<void()> changes[] = {
            [&] { user_->SlideTo(user_->box().stringToBoxRatio, 3); },
            [&] { user_->Click(user_->box().pseudorandom); },
            [&] { user_->Click(user_->box().resonanceEnable[1]); },
            [&] { user_->Step(user_->box().resonance[2].freq.step, 1); },
            [&] { user_->Step(user_->box().resonance[2].width.step, 1); },
            [&] { user_->Step(user_->box().resonance[2].amp.step, 1); },
            [&] { user_->Type(user_->box().resonance[2].freq.box, "100"); },
        };
        QSignalSpy reported(&user_->boxPage(), &SoundBoxPage::changed);
        for (const auto& change : changes) {
            const auto before = reported.count();
            change();
            QVERIFY(reported.count() > before);
        }
        QCOMPARE(Shown(2), QStringList({"100", "16", "10"}));
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::SoundBoxPageTest)
#include "sound_box_page_test.moc"
