#include "engine/settings_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/generation_settings.h"
#include "engine/settings_tables.h"

namespace sordanel {
namespace {

TEST(SettingsTables, NoteListRunsDownChromaticallyWithSharpsAndEndsWithAnEmptyName) {
    EXPECT_STREQ(kNoteNames[0], "E7");
    EXPECT_STREQ(kNoteNames[1], "D#7");
    EXPECT_STREQ(kNoteNames[4], "C7");
    EXPECT_STREQ(kNoteNames[5], "B6");
    EXPECT_STREQ(kNoteNames[76], "C1");
    EXPECT_STREQ(kNoteNames[77], "");
    EXPECT_EQ(FindNoteIndex("C4"), 40);
    EXPECT_EQ(FindNoteIndex("C5"), 28);
    EXPECT_EQ(FindNoteIndex("Db4"), -1) << "only sharps are named";
    for (int i = 0; i < kNoteCount; ++i) {
        const std::string name = kNoteNames[i];
        EXPECT_TRUE(name.size() == 2 || (name.size() == 3 && name[1] == '#')) << name;
    }
}

TEST(SettingsTables, StepTablesHoldTheirPublishedEnds) {
    EXPECT_FLOAT_EQ(kVibratoSpeedsHz[0], 0.5f);
    EXPECT_FLOAT_EQ(kVibratoSpeedsHz[23], 9.0f);
    EXPECT_FLOAT_EQ(kVibratoSpeedsHz[28], 20.0f);
    EXPECT_EQ(kResonanceWidthsHz[4], 16);
    EXPECT_EQ(kResonanceWidthsHz[15], 200);
    EXPECT_FLOAT_EQ(kDurationStepsSec[9], 0.8f);
    EXPECT_FLOAT_EQ(kDurationStepsSec[20], 3.0f);
    EXPECT_STREQ(kKeyNames[9], "A");
}

TEST(SliderMappings, DefaultPositionsGiveTheDefaultSettings) {
    const GenerationSettings defaults;
    EXPECT_NEAR(BowPressingForceAt(7, 20), defaults.bowPressingForce, 5e-5);
    EXPECT_NEAR(BowSpeedAt(15, 20), defaults.bowSpeed, 5e-6);
    EXPECT_NEAR(BowPositionAt(12, 20), defaults.bowPosition, 1e-6);
    EXPECT_NEAR(StringDampingAt(12, 20), defaults.stringDamping, 5e-8);
    EXPECT_NEAR(FrictionRatioAt(13, 20), defaults.frictionRatio, 1e-6);
    EXPECT_NEAR(EnvelopeRatioAt(3, 20), defaults.t1Ratio, 1e-6);
    EXPECT_NEAR(EnvelopeRatioAt(8, 20), defaults.t2Ratio, 1e-6);
    EXPECT_NEAR(StringToBoxRatioAt(6, 13), defaults.stringToBoxRatio, 1e-6);
    EXPECT_EQ(VolumeDbAt(28), defaults.volumeDb);
    EXPECT_FLOAT_EQ(DurationAt(9), defaults.duration);
}

TEST(SliderMappings, ExtremesGiveTheRangeEnds) {
    EXPECT_FLOAT_EQ(BowPressingForceAt(0, 20), 3.5f);
    EXPECT_NEAR(BowPressingForceAt(20, 20), 0.35091f, 5e-6);
    EXPECT_FLOAT_EQ(BowSpeedAt(0, 20), 0.6f);
    EXPECT_NEAR(BowSpeedAt(20, 20), 0.060155f, 5e-7);
    EXPECT_FLOAT_EQ(BowPositionAt(0, 20), 0.35f);
    EXPECT_NEAR(BowPositionAt(20, 20), 0.05f, 1e-7);
    EXPECT_FLOAT_EQ(StringDampingAt(0, 20), 0.025f);
    EXPECT_NEAR(StringDampingAt(20, 20), 0.00025130f, 5e-9);
    EXPECT_FLOAT_EQ(FrictionRatioAt(0, 20), 0.5f);
    EXPECT_NEAR(FrictionRatioAt(20, 20), 0.07f, 1e-7);
    EXPECT_NEAR(EnvelopeRatioAt(20, 20), 0.65f, 1e-7);
    EXPECT_EQ(StringToBoxRatioAt(0, 13), 0.0f) << "the leftmost ratio must switch the box off";
    EXPECT_EQ(StringToBoxRatioAt(13, 13), 1.0f);
    EXPECT_EQ(VolumeDbAt(0), 30);
    EXPECT_EQ(VolumeDbAt(50), -20);
    EXPECT_FLOAT_EQ(DurationAt(0), 0.1f);
    EXPECT_FLOAT_EQ(DurationAt(20), 3.0f);
}

TEST(StepRules, EachValueStopsAtItsBounds) {
    EXPECT_EQ(PseudorandomAmpMax(), 12) << "20 x 0.65 in single precision lies just below 13";
    EXPECT_EQ(StepPseudorandomAmp(11, 1), 12);
    EXPECT_EQ(StepPseudorandomAmp(12, 1), 12);
    EXPECT_EQ(StepPseudorandomAmp(1, -1), 1);
    EXPECT_EQ(StepVibratoSpeedIndex(28, 3), 28);
    EXPECT_EQ(StepVibratoSpeedIndex(0, -1), 0);
    EXPECT_EQ(StepVibratoDepth(20, 1), 25);
    EXPECT_EQ(StepVibratoDepth(150, 1), 150);
    EXPECT_EQ(StepVibratoDepth(10, -4), 10);
    EXPECT_EQ(StepDetune(104, 5), 105);
    EXPECT_EQ(StepDetune(-105, -1), -105);
    EXPECT_EQ(StepResonanceAmp(20, 1), 20);
    EXPECT_EQ(StepResonanceAmp(1, -1), 1);
    EXPECT_EQ(StepResonanceFreq(1500, 1), 1500);
    EXPECT_EQ(StepResonanceFreq(45, -1), 40);
    EXPECT_EQ(StepResonanceFreq(40, -1), 40);
    EXPECT_EQ(StepResonanceWidthIndex(15, 1), 15);
    EXPECT_EQ(StepResonanceWidthIndex(0, -1), 0);
}

TEST(WidthRule, AStepLowersTheWidthOnceAndATypedFrequencyUntilItFits) {
    EXPECT_EQ(WidthLimitHz(40), 18);
    // F stepped from 45 down to 40 with 20 Hz: one entry lower, 16 Hz.
    EXPECT_EQ(kResonanceWidthsHz[WidthIndexAfterStep(StepResonanceFreq(45, -1), 5)], 16);
    // A step lowers only once, even when the width is still too wide afterwards.
    EXPECT_EQ(WidthIndexAfterStep(40, 15), 14);
    // F typed as 40 with 200 Hz: down to the widest entry not above 18 Hz.
    EXPECT_EQ(kResonanceWidthsHz[WidthIndexAfterTypedFreq(40, 15)], 16);
    EXPECT_EQ(WidthIndexAfterTypedFreq(1500, 15), 15);
    EXPECT_EQ(WidthIndexAfterStep(280, 5), 5);
}

}  // namespace
}  // namespace sordanel
