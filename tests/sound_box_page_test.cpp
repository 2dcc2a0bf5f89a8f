// The Sound Box page: the string/box ratio, the four resonances with their width rule, and the
// pseudorandom resonances.

#include <QtTest>
#include <memory>

#include "window_driver.h"

namespace sordanel {

class SoundBoxPageTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<WindowDriver> user_;

    const GenerationSettings& settings() { return user_->settings(); }
    const JobState& job() { return user_->job(); }
    int WidthHz(int r) { return kResonanceWidthsHz[settings().resonanceWidthIndex[r]]; }
    // Resonance r's F, dF and A as its boxes show them.
    QStringList Shown(int r) {
        return {user_->Text(ids::kResonanceFreq[r]), user_->Text(ids::kResonanceWidth[r]),
                user_->Text(ids::kResonanceAmp[r])};
    }
    QList<int> NineControlsOf(int r) {
        return {ids::kResonanceFreqLabel[r],  ids::kResonanceFreq[r],  ids::kResonanceFreqStep[r],
                ids::kResonanceWidthLabel[r], ids::kResonanceWidth[r], ids::kResonanceWidthStep[r],
                ids::kResonanceAmpLabel[r],   ids::kResonanceAmp[r],   ids::kResonanceAmpStep[r]};
    }

private slots:
    void init() {
        user_ = std::make_unique<WindowDriver>();
        QVERIFY(user_->Open());
        user_->ShowPage(1);
    }
    void cleanup() { user_.reset(); }

    void startsWithTheDefaultBox() {
        QVERIFY(qAbs(settings().stringToBoxRatio - 0.461538) < 1e-6);
        QVERIFY(settings().pseudorandomResonances);
        QCOMPARE(settings().pseudorandomAmp, 4);
        QCOMPARE(settings().resonanceOn, (std::array<bool, 3>{true, false, false}));
        const int expected[4][3] = {{280, 20, 9}, {415, 16, 8}, {212, 13, 9}, {515, 30, 6}};
        for (int r = 0; r < 4; ++r) {
            QCOMPARE(settings().resonanceFreq[r], expected[r][0]);
            QCOMPARE(WidthHz(r), expected[r][1]);
            QCOMPARE(settings().resonanceAmp[r], expected[r][2]);
        }
    }

    void ratioSliderEndsGiveNoBoxAndAllBox() {
        user_->SlideTo(ids::kStringToBoxRatio, 0);
        QCOMPARE(settings().stringToBoxRatio, 0.0f);  // exactly: the box stage is skipped
        user_->SlideTo(ids::kStringToBoxRatio, 13);
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
            user_->Type(ids::kResonanceFreq[r], typed);
            QCOMPARE(settings().resonanceFreq[r], frequency);
            QCOMPARE(user_->Text(ids::kResonanceFreq[r]), QString::number(frequency));
        }
        // Leaving the box for another control commits too.
        user_->Focus(ids::kResonanceFreq[0]);
        user_->Get<QLineEdit>(ids::kResonanceFreq[0])->setText("1234");
        user_->Focus(ids::kResonanceFreq[1]);
        QCOMPARE(settings().resonanceFreq[0], 1234);
    }

    void typedFrequencyLowersTheWidthUntilItFits() {
        user_->Type(ids::kResonanceFreq[0], "1500");
        user_->Step(ids::kResonanceWidthStep[0], 15);
        QCOMPARE(WidthHz(0), 200);
        user_->Type(ids::kResonanceFreq[0], "40");
        QCOMPARE(WidthHz(0), 16);  // the widest entry not above trunc(40 x 0.46) = 18
        QCOMPARE(Shown(0), QStringList({"40", "16", "9"}));
    }

    void stepsKeepTheWidthWithinTheRule() {
        user_->Type(ids::kResonanceFreq[0], "40");
        user_->Step(ids::kResonanceWidthStep[0], 1);
        QCOMPARE(WidthHz(0), 16);  // 20 Hz exceeds 18 and is undone at once

        user_->Type(ids::kResonanceFreq[0], "45");
        user_->Step(ids::kResonanceWidthStep[0], 1);
        QCOMPARE(WidthHz(0), 20);
        user_->Step(ids::kResonanceFreqStep[0], -1);
        QCOMPARE(Shown(0), QStringList({"40", "16", "9"}));

        user_->Type(ids::kResonanceFreq[0], "55");
        user_->Step(ids::kResonanceWidthStep[0], 2);
        QCOMPARE(WidthHz(0), 25);
        user_->Step(ids::kResonanceFreqStep[0], -1);
        QCOMPARE(Shown(0), QStringList({"50", "20", "9"}));
    }

    void aHeldButtonsLargerStepStillKeepsTheWidthWithinTheRule() {
        user_->Type(ids::kResonanceFreq[0], "40");
        emit user_->Get<UpDownControl>(ids::kResonanceWidthStep[0])->stepped(5);
        QCOMPARE(WidthHz(0), 16);

        user_->Type(ids::kResonanceFreq[1], "300");
        user_->Step(ids::kResonanceWidthStep[1], 9);
        QCOMPARE(WidthHz(1), 130);
        emit user_->Get<UpDownControl>(ids::kResonanceFreqStep[1])->stepped(-50);
        QCOMPARE(settings().resonanceFreq[1], 50);
        QCOMPARE(WidthHz(1), 20);  // trunc(50 x 0.46) = 23
        QCOMPARE(user_->Text(ids::kResonanceWidth[1]), QString("20"));
    }

    void frequencyWidthAndAmplitudeStopAtTheirEnds() {
        user_->Step(ids::kResonanceFreqStep[0], 300);
        user_->Step(ids::kResonanceWidthStep[0], 20);
        user_->Step(ids::kResonanceAmpStep[0], 20);
        QCOMPARE(Shown(0), QStringList({"1500", "200", "20"}));
        user_->Step(ids::kResonanceAmpStep[0], -30);
        user_->Step(ids::kResonanceWidthStep[0], -20);
        user_->Step(ids::kResonanceFreqStep[0], -300);
        QCOMPARE(Shown(0), QStringList({"40", "6", "1"}));
    }

    void pseudorandomAmplitudeStopsAtTwelveAndOne() {
        user_->Step(ids::kPseudorandomAmpStep, 20);
        QCOMPARE(settings().pseudorandomAmp, 12);
        QCOMPARE(user_->Text(ids::kPseudorandomAmp), QString("12"));
        user_->Step(ids::kPseudorandomAmpStep, -20);
        QCOMPARE(settings().pseudorandomAmp, 1);
        QCOMPARE(user_->Text(ids::kPseudorandomAmp), QString("1"));
    }

    void pseudorandomBoxSwitchesItsControlsAndKeepsTheAmplitude() {
        const int controls[] = {ids::kPseudorandomAmpLabel, ids::kPseudorandomAmp,
                                ids::kPseudorandomAmpStep};
        user_->Step(ids::kPseudorandomAmpStep, 2);
        user_->Click(ids::kPseudorandom);
        QVERIFY(!settings().pseudorandomResonances);
        for (const int id : controls) {
            QVERIFY(!user_->Enabled(id));
        }
        user_->Click(ids::kPseudorandom);
        QVERIFY(settings().pseudorandomResonances);
        for (const int id : controls) {
            QVERIFY(user_->Enabled(id));
        }
        QCOMPARE(settings().pseudorandomAmp, 6);
        QCOMPARE(user_->Text(ids::kPseudorandomAmp), QString("6"));
    }

    void enableBoxesSwitchNineControlsAndKeepTheValues() {
        user_->Step(ids::kResonanceAmpStep[1], 3);
        user_->Click(ids::kResonanceEnable[0]);
        user_->Click(ids::kResonanceEnable[1]);
        QCOMPARE(settings().resonanceOn, (std::array<bool, 3>{false, true, false}));
        for (const int id : NineControlsOf(1)) {
            QVERIFY(!user_->Enabled(id));
        }
        for (const int id : NineControlsOf(2)) {
            QVERIFY(user_->Enabled(id));
        }
        QVERIFY(user_->Enabled(ids::kResonanceEnable[0]));
        user_->Click(ids::kResonanceEnable[0]);
        QVERIFY(settings().resonanceOn[0]);
        QCOMPARE(Shown(1), QStringList({"415", "16", "11"}));
        QCOMPARE(settings().resonanceAmp[1], 11);
    }

    void everyBoxChangeMakesThePreviewStale() {
        const std::function<void()> changes[] = {
            [&] { user_->SlideTo(ids::kStringToBoxRatio, 3); },
            [&] { user_->Click(ids::kPseudorandom); },
            [&] { user_->Click(ids::kResonanceEnable[1]); },
            [&] { user_->Step(ids::kResonanceFreqStep[2], 1); },
            [&] { user_->Step(ids::kResonanceWidthStep[2], 1); },
            [&] { user_->Step(ids::kResonanceAmpStep[2], 1); },
            [&] { user_->Type(ids::kResonanceFreq[2], "100"); },
        };
        for (const auto& change : changes) {
            user_->job().previewValid = true;
            user_->job().outputValid = true;
            change();
            QVERIFY(!job().previewValid);
            QVERIFY(job().outputValid);
        }
        QCOMPARE(Shown(2), QStringList({"100", "16", "10"}));
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::SoundBoxPageTest)
#include "sound_box_page_test.moc"
