// The String & Bow page: its seven sliders, their range ends and "Reset to defaults".

#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "tests/window_driver.h"

namespace sordanel {

class StringBowPageTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<WindowDriver> user_;

    const GenerationSettings& settings() { return user_->settings(); }
    const StringBowControls& page() { return user_->bow(); }
    std::array<VerticalSlider*, 5> StringAndBowSliders() {
        return {page().bowPressingForce, page().bowSpeed, page().bowPosition, page().stringDamping,
                page().frictionRatio};
    }

private slots:
    void init() {
        user_ = std::make_unique<WindowDriver>();
        QVERIFY(user_->Open());
    }
    void cleanup() { user_.reset(); }

    void topAndBottomGiveTheRangeEnds() {
        for (VerticalSlider* slider : StringAndBowSliders()) {
            user_->SlideTo(slider, 0);
        }
        QCOMPARE(settings().bowPressingForce, 3.5f);
        QCOMPARE(settings().bowSpeed, 0.6f);
        QCOMPARE(settings().bowPosition, 0.35f);
        QCOMPARE(settings().stringDamping, 0.025f);
        QCOMPARE(settings().frictionRatio, 0.5f);

        for (VerticalSlider* slider : StringAndBowSliders()) {
            user_->SlideTo(slider, 20);
        }
        QVERIFY(qAbs(settings().bowPressingForce - 0.35091) < 1e-5);
        QVERIFY(qAbs(settings().bowSpeed - 0.060155) < 1e-6);
        QVERIFY(qAbs(settings().bowPosition - 0.05) < 1e-6);  // nearest to the bridge
        QVERIFY(qAbs(settings().stringDamping - 0.00025130) < 1e-8);
        QVERIFY(qAbs(settings().frictionRatio - 0.07) < 1e-6);
    }

    void theFilledPartGrowsWithTheValue() {
        // The thumb's value, from which the style fills the groove, rises with the setting.
        VerticalSlider* force = page().bowPressingForce;
        user_->SlideTo(force, 15);
        const int lower = force->value();
        const float weaker = settings().bowPressingForce;
        QTest::keyClick(force, Qt::Key_Up);
        QVERIFY(force->value() > lower);
        QVERIFY(settings().bowPressingForce > weaker);
        QVERIFY(!force->invertedAppearance());
    }

    void envelopeSlidersAreIndependent() {
        user_->SlideTo(page().t1Ratio, 0);
        QVERIFY(qAbs(settings().t1Ratio - 0.05) < 1e-6);
        // Both may stand at the right end at once: their sum is not restricted.
        user_->SlideTo(page().t1Ratio, 20);
        user_->SlideTo(page().t2Ratio, 20);
        QVERIFY(qAbs(settings().t1Ratio - 0.65) < 1e-6);
        QVERIFY(qAbs(settings().t2Ratio - 0.65) < 1e-6);
    }

    void everySliderMoveReportsAChange() {
        QSignalSpy changes(&user_->bowPage(), &StringBowPage::changed);
        int expected = 0;
        for (QSlider* slider : std::initializer_list<QSlider*>{
                 page().bowPressingForce, page().bowSpeed, page().bowPosition, page().stringDamping,
                 page().frictionRatio, page().t1Ratio, page().t2Ratio}) {
            user_->SlideTo(slider, 1);
            QCOMPARE(changes.count(), ++expected);
        }
    }

    void resetRestoresOnlyTheFiveStringAndBowSliders() {
        for (VerticalSlider* slider : StringAndBowSliders()) {
            user_->SlideTo(slider, 20);
        }
        user_->SlideTo(page().t1Ratio, 20);
        user_->SlideTo(page().t2Ratio, 20);
        user_->SlideTo(user_->box().stringToBoxRatio, 0);
        user_->Click(page().vibrato);
        user_->Step(page().detuneStep, 3);
        user_->Step(user_->box().resonance[0].amp.step, 2);
        user_->Click(user_->general().maximize);
        QSignalSpy changes(&user_->bowPage(), &StringBowPage::changed);

        user_->Click(page().resetDefaults);

        QCOMPARE(changes.count(), 1);
        QVERIFY(qAbs(settings().bowPressingForce - 1.5648) < 1e-4);
        QVERIFY(qAbs(settings().bowSpeed - 0.10690) < 1e-5);
        QVERIFY(qAbs(settings().bowPosition - 0.17) < 1e-6);
        QVERIFY(qAbs(settings().stringDamping - 0.0015823) < 1e-7);
        QVERIFY(qAbs(settings().frictionRatio - 0.2205) < 1e-6);
        // Everything else stays where the user put it.
        QVERIFY(qAbs(settings().t1Ratio - 0.65) < 1e-6);
        QVERIFY(qAbs(settings().t2Ratio - 0.65) < 1e-6);
        QCOMPARE(page().t1Ratio->value(), 20);
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
