// The String & Bow page: its seven sliders, their range ends and "Reset to defaults".

#include <QtTest>
#include <memory>

#include "window_driver.h"

namespace sordanel {

class StringBowPageTest : public QObject {
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

    void startsAtThePublishedValues() {
        // The published values are rounded to five significant digits.
        QVERIFY(qAbs(settings().bowPressingForce - 1.5648) < 1e-4);
        QVERIFY(qAbs(settings().bowSpeed - 0.10690) < 1e-5);
        QVERIFY(qAbs(settings().bowPosition - 0.17) < 1e-6);
        QVERIFY(qAbs(settings().stringDamping - 0.0015823) < 1e-7);
        QVERIFY(qAbs(settings().frictionRatio - 0.2205) < 1e-6);
        QVERIFY(qAbs(settings().t1Ratio - 0.14) < 1e-6);
        QVERIFY(qAbs(settings().t2Ratio - 0.29) < 1e-6);
    }

    void topAndBottomGiveTheRangeEnds() {
        for (const int id : {ids::kBowPressingForce, ids::kBowSpeed, ids::kBowPosition,
                             ids::kStringDamping, ids::kFrictionRatio}) {
            user_->SlideTo(id, 0);
        }
        QCOMPARE(settings().bowPressingForce, 3.5f);
        QCOMPARE(settings().bowSpeed, 0.6f);
        QCOMPARE(settings().bowPosition, 0.35f);
        QCOMPARE(settings().stringDamping, 0.025f);
        QCOMPARE(settings().frictionRatio, 0.5f);

        for (const int id : {ids::kBowPressingForce, ids::kBowSpeed, ids::kBowPosition,
                             ids::kStringDamping, ids::kFrictionRatio}) {
            user_->SlideTo(id, 20);
        }
        QVERIFY(qAbs(settings().bowPressingForce - 0.35091) < 1e-5);
        QVERIFY(qAbs(settings().bowSpeed - 0.060155) < 1e-6);
        QVERIFY(qAbs(settings().bowPosition - 0.05) < 1e-6);  // nearest to the bridge
        QVERIFY(qAbs(settings().stringDamping - 0.00025130) < 1e-8);
        QVERIFY(qAbs(settings().frictionRatio - 0.07) < 1e-6);
    }

    void envelopeSlidersAreIndependent() {
        user_->SlideTo(ids::kT1Ratio, 0);
        QVERIFY(qAbs(settings().t1Ratio - 0.05) < 1e-6);
        // Both may stand at the right end at once: their sum is not restricted.
        user_->SlideTo(ids::kT1Ratio, 20);
        user_->SlideTo(ids::kT2Ratio, 20);
        QVERIFY(qAbs(settings().t1Ratio - 0.65) < 1e-6);
        QVERIFY(qAbs(settings().t2Ratio - 0.65) < 1e-6);
    }

    void everySliderMoveMakesThePreviewStale() {
        for (const int id :
             {ids::kBowPressingForce, ids::kBowSpeed, ids::kBowPosition, ids::kStringDamping,
              ids::kFrictionRatio, ids::kT1Ratio, ids::kT2Ratio}) {
            user_->job().previewValid = true;
            user_->job().outputValid = true;
            user_->SlideTo(id, 1);
            QVERIFY2(!job().previewValid, qPrintable(QString::number(id)));
            QVERIFY(job().outputValid);
        }
    }

    void resetRestoresOnlyTheFiveStringAndBowSliders() {
        for (const int id :
             {ids::kBowPressingForce, ids::kBowSpeed, ids::kBowPosition, ids::kStringDamping,
              ids::kFrictionRatio, ids::kT1Ratio, ids::kT2Ratio}) {
            user_->SlideTo(id, 20);
        }
        user_->SlideTo(ids::kStringToBoxRatio, 0);
        user_->Click(ids::kVibrato);
        user_->Step(ids::kDetuneStep, 3);
        user_->Step(ids::kResonanceAmpStep[0], 2);
        user_->Click(ids::kMaximize);
        user_->job().previewValid = true;

        user_->Click(ids::kResetDefaults);

        QVERIFY(qAbs(settings().bowPressingForce - 1.5648) < 1e-4);
        QVERIFY(qAbs(settings().bowSpeed - 0.10690) < 1e-5);
        QVERIFY(qAbs(settings().bowPosition - 0.17) < 1e-6);
        QVERIFY(qAbs(settings().stringDamping - 0.0015823) < 1e-7);
        QVERIFY(qAbs(settings().frictionRatio - 0.2205) < 1e-6);
        QVERIFY(!job().previewValid);
        // Everything else stays where the user put it.
        QVERIFY(qAbs(settings().t1Ratio - 0.65) < 1e-6);
        QVERIFY(qAbs(settings().t2Ratio - 0.65) < 1e-6);
        QCOMPARE(user_->Get<QSlider>(ids::kT1Ratio)->value(), 20);
        QCOMPARE(settings().stringToBoxRatio, 0.0f);
        QVERIFY(settings().vibratoOn);
        QCOMPARE(settings().detune, 3);
        QCOMPARE(settings().resonanceAmp[0], 11);
        QVERIFY(!settings().maximize);
    }
};

}  // namespace sordanel

QTEST_MAIN(sordanel::StringBowPageTest)
#include "string_bow_page_test.moc"
