// The instrument's voices without a host: which voice a note takes, when voices end, and how
// "Precalculated" notes get their trial runs' corrections.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/note_frequency.h"
#include "engine/setting_table.h"
#include "lv2/voice_pool.h"

namespace sordanel::lv2 {
namespace {

constexpr float kRate = 48000;

class RecordingScheduler final : public TrialScheduler {
public:
    bool Schedule(const TrialRequest& request) override {
        requests.push_back(request);
        return accept;
    }
    std::vector<TrialRequest> requests;
    bool accept = true;
};

LiveInputs DefaultInputs() {
    const GenerationSettings s;
    return {.bowPressingForce = s.bowPressingForce,
            .bowSpeed = s.bowSpeed,
            .stringDamping = s.stringDamping,
            .frictionRatio = s.frictionRatio,
            .attackSeconds = 0.1f,
            .releaseSeconds = 0.2f,
            .vibratoOn = false,
            .vibratoSpeedHz = 9.0f,
            .vibratoDepth = 20,
            .bendRatio = 1.0f};
}

GenerationSettings Settings(AutocorrectionMode lock) {
    GenerationSettings settings;
    settings.autocorrection = lock;
    return settings;
}

float NoteHz(int midi) {
    return NoteFrequency({100 - midi, 40, Temperament::Equal, 0, 0});
}

// The MIDI notes the sounding voices play, found by their frequencies; voices fading out after
// another note took their place are not counted.
std::vector<int> SoundingNotes(const VoicePool& pool) {
    std::vector<int> notes;
    for (std::size_t k = 0; k < VoicePool::kMaxVoices; ++k) {
        if (!pool.voice(k).active() || pool.voice(k).fading()) {
            continue;
        }
        for (int midi = VoicePool::kLowestNote; midi <= VoicePool::kHighestNote; ++midi) {
            if (pool.voice(k).runSetup().noteFrequency == NoteHz(midi)) {
                notes.push_back(midi);
            }
        }
    }
    std::sort(notes.begin(), notes.end());
    return notes;
}

void Play(VoicePool& pool, double seconds) {
    std::vector<float> out(static_cast<std::size_t>(seconds * kRate));
    pool.Render(DefaultInputs(), out.data(), static_cast<std::uint32_t>(out.size()));
}

TEST(VoicePool, PlaysTheNoteListsRangeOnly) {
    VoicePool pool(kRate, nullptr);
    const auto settings = Settings(AutocorrectionMode::RealTime);
    pool.NoteOn(settings, 23, 100, 8);   // below "C1"
    pool.NoteOn(settings, 101, 100, 8);  // above "E7"
    pool.NoteOn(settings, 60, 0, 8);     // velocity 0 is a note-off
    EXPECT_EQ(pool.soundingVoices(), 0u);
    pool.NoteOn(settings, 24, 100, 8);
    pool.NoteOn(settings, 100, 100, 8);
    EXPECT_EQ(SoundingNotes(pool), (std::vector<int>{24, 100}));
    EXPECT_EQ(pool.voice(0).runSetup().noteFrequency, NoteHz(24));
}

TEST(VoicePool, AtTheLimitANoteTakesTheVoiceReleasedLongestAgoElseTheOldest) {
    VoicePool pool(kRate, nullptr);
    const auto settings = Settings(AutocorrectionMode::RealTime);
    for (int note : {60, 62, 64}) {
        pool.NoteOn(settings, note, 100, 3);
    }
    pool.NoteOff(62);
    pool.NoteOff(60);
    pool.NoteOn(settings, 65, 100, 3);
    EXPECT_EQ(SoundingNotes(pool), (std::vector<int>{60, 64, 65}));
    pool.NoteOn(settings, 67, 100, 3);
    EXPECT_EQ(SoundingNotes(pool), (std::vector<int>{64, 65, 67}));
    // Every voice held: the one started longest ago goes.
    pool.NoteOn(settings, 69, 100, 3);
    EXPECT_EQ(SoundingNotes(pool), (std::vector<int>{65, 67, 69}));
    // A smaller limit does not cut what sounds; the next note takes a place all the same.
    pool.NoteOn(settings, 71, 100, 1);
    EXPECT_EQ(SoundingNotes(pool), (std::vector<int>{67, 69, 71}));
    // The taken voices fade out within milliseconds, on voices of their own meanwhile.
    EXPECT_EQ(pool.soundingVoices(), 7u);
    Play(pool, 0.01);
    EXPECT_EQ(pool.soundingVoices(), 3u);
}

TEST(VoicePool, WithNoVoiceToSpareTheTakenVoiceIsCutAtOnce) {
    VoicePool pool(kRate, nullptr);
    const auto settings = Settings(AutocorrectionMode::RealTime);
    const int limit = static_cast<int>(VoicePool::kMaxVoices);
    for (int k = 0; k < limit; ++k) {
        pool.NoteOn(settings, 40 + k, 100, limit);
    }
    pool.NoteOn(settings, 80, 100, limit);
    EXPECT_EQ(pool.soundingVoices(), VoicePool::kMaxVoices);
    EXPECT_EQ(SoundingNotes(pool).front(), 41);
    EXPECT_EQ(SoundingNotes(pool).back(), 80);
}

TEST(VoicePool, AKeyStruckAgainReleasesItsVoiceAndStartsAnother) {
    VoicePool pool(kRate, nullptr);
    const auto settings = Settings(AutocorrectionMode::RealTime);
    pool.NoteOn(settings, 60, 100, 8);
    pool.NoteOn(settings, 60, 100, 8);
    ASSERT_EQ(pool.soundingVoices(), 2u);
    EXPECT_TRUE(pool.voice(0).released());
    EXPECT_FALSE(pool.voice(1).released());
}

TEST(VoicePool, AReleasedVoiceRingsOutAndEndsAHeldOneDoesNot) {
    VoicePool pool(kRate, nullptr);
    const auto settings = Settings(AutocorrectionMode::RealTime);
    // A string rings for a number of its periods: the higher the note, the sooner it ends.
    pool.NoteOn(settings, 72, 100, 8);
    pool.NoteOn(settings, 84, 100, 8);
    Play(pool, 0.5);
    pool.NoteOff(84);
    Play(pool, 4.0);
    EXPECT_EQ(SoundingNotes(pool), (std::vector<int>{72}));
    pool.ReleaseAll();
    Play(pool, 4.0);
    EXPECT_EQ(pool.soundingVoices(), 0u);
    pool.NoteOn(settings, 60, 100, 8);
    pool.SilenceAll();
    EXPECT_EQ(pool.soundingVoices(), 0u);
}

TEST(VoicePool, PrecalculatedNotesShareOneTrialRunPerNoteAndSettings) {
    RecordingScheduler scheduler;
    VoicePool pool(kRate, &scheduler);
    const auto settings = Settings(AutocorrectionMode::Precalculated);
    pool.NoteOn(settings, 60, 100, 8);
    pool.NoteOn(settings, 60, 100, 8);  // the same request is already pending
    ASSERT_EQ(scheduler.requests.size(), 1u);
    EXPECT_EQ(pool.voice(0).lock(), LiveVoice::Lock::AwaitingTrial);

    pool.TrialFinished({scheduler.requests[0], 0.0123f});
    for (std::size_t k : {0u, 1u}) {
        EXPECT_EQ(pool.voice(k).lock(), LiveVoice::Lock::Constant);
        EXPECT_EQ(pool.voice(k).freqCorrection(), 0.0123f);
    }
    // Measured once, used at once from then on.
    pool.NoteOn(settings, 60, 100, 8);
    EXPECT_EQ(pool.voice(2).lock(), LiveVoice::Lock::Constant);
    EXPECT_EQ(scheduler.requests.size(), 1u);

    // Another velocity bows with another force: another trial run.
    pool.NoteOn(settings, 60, 40, 8);
    ASSERT_EQ(scheduler.requests.size(), 2u);
    EXPECT_LT(scheduler.requests[1].bow.bowPressingForce,
              scheduler.requests[0].bow.bowPressingForce);
    EXPECT_EQ(pool.voice(3).lock(), LiveVoice::Lock::AwaitingTrial);
}

TEST(VoicePool, AStaleTrialResultIsDroppedAndARefusedOneIsAskedAgain) {
    RecordingScheduler scheduler;
    VoicePool pool(kRate, &scheduler);
    auto settings = Settings(AutocorrectionMode::Precalculated);
    pool.NoteOn(settings, 60, 100, 8);
    const TrialRequest first = scheduler.requests.at(0);
    settings.bowSpeed = SliderValueAt(SettingId::BowSpeed, 5, SliderPositions(SettingId::BowSpeed));
    pool.NoteOn(settings, 60, 100, 8);
    ASSERT_EQ(scheduler.requests.size(), 2u);
    pool.TrialFinished({first, 0.05f});  // the settings moved on while it ran
    EXPECT_EQ(pool.voice(1).lock(), LiveVoice::Lock::AwaitingTrial);

    scheduler.accept = false;
    pool.NoteOn(settings, 62, 100, 8);
    pool.NoteOn(settings, 62, 100, 8);
    EXPECT_EQ(scheduler.requests.size(), 4u);
}

TEST(VoicePool, WithoutAWorkerPrecalculatedNotesKeepTheRunningLock) {
    VoicePool pool(kRate, nullptr);
    pool.NoteOn(Settings(AutocorrectionMode::Precalculated), 60, 100, 8);
    pool.NoteOn(Settings(AutocorrectionMode::Off), 62, 100, 8);
    EXPECT_EQ(pool.voice(0).lock(), LiveVoice::Lock::AwaitingTrial);
    EXPECT_EQ(pool.voice(1).lock(), LiveVoice::Lock::Off);
    Play(pool, 0.3);
    EXPECT_NE(pool.voice(0).freqCorrection(), 0.0f);
    EXPECT_EQ(pool.voice(1).freqCorrection(), 0.0f);
}

TEST(LiveVoice, ATakenVoiceFadesOutWithinFiveMillisecondsAndEnds) {
    SineTable sine;
    FillSineTable(sine);
    LiveVoice voice;
    voice.Start(Settings(AutocorrectionMode::RealTime), 1.0f, kRate, sine);
    std::vector<float> held(static_cast<std::size_t>(0.5 * kRate));
    voice.Render(DefaultInputs(), held.data(), static_cast<std::uint32_t>(held.size()));
    const float loudest =
        std::fabs(*std::max_element(held.end() - 480, held.end(),
                                    [](float a, float b) { return std::fabs(a) < std::fabs(b); }));
    ASSERT_GT(loudest, 0.01f);

    voice.FadeOut();
    std::vector<float> fade(480);
    voice.Render(DefaultInputs(), fade.data(), static_cast<std::uint32_t>(fade.size()));
    EXPECT_FALSE(voice.active());
    const std::size_t fiveMs = 240;
    EXPECT_TRUE(std::all_of(fade.begin() + fiveMs, fade.end(), [](float x) { return x == 0; }));
    for (std::size_t n = 200; n < fiveMs; ++n) {
        EXPECT_LT(std::fabs(fade[n]), 0.2f * loudest) << n;
    }
}

TEST(VelocityForce, SpansTheForceRangeFromItsBottomToTheSetForce) {
    const float lowest = Setting(SettingId::BowPressingForce).Low();
    EXPECT_FLOAT_EQ(VelocityForce(2.0f, 1.0f), 2.0f);
    EXPECT_FLOAT_EQ(VelocityForce(2.0f, 0.0f), lowest);
    EXPECT_FLOAT_EQ(VelocityForce(2.0f, 0.5f), (2.0f + lowest) / 2);
}

}  // namespace
}  // namespace sordanel::lv2
