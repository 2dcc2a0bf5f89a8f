// The installed instrument bundle loaded by a real LV2 host library (lilv) and played from
// MIDI: a phrase comes out in tune at the common host
// rates, silent before the first note and dying away after the last, never clipped at the
// default volume, and nothing is allocated on the audio thread.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>
#include <vector>

#include "cli/pitch_estimate.h"
#include "engine/note_frequency.h"
#include "tests/heap_hooks.h"
#include "tests/lv2_host.h"

namespace sordanel {
namespace {

using testing::Lv2Host;
using testing::MidiEvent;

const std::string kBundle = SORDANEL_LV2_INSTALLED_BUNDLE;

double TargetHz(int midiNote) {
    return NoteFrequency({100 - midiNote, 40, Temperament::Equal, 0, 0});
}

double Rms(std::span<const float> x) {
    double sum = 0;
    for (float v : x) {
        sum += double{v} * v;
    }
    return std::sqrt(sum / static_cast<double>(x.size()));
}

struct PlayedNote {
    int midi;
    double on, off;  // seconds
};

// In time order; at the same frame a key comes up before another goes down.
void SortByTime(std::vector<MidiEvent>& events) {
    std::sort(events.begin(), events.end(), [](const MidiEvent& a, const MidiEvent& b) {
        return a.frame != b.frame ? a.frame < b.frame : a.bytes[0] < b.bytes[0];
    });
}

std::vector<MidiEvent> Events(const std::vector<PlayedNote>& notes, double rate,
                              int velocity = 100) {
    std::vector<MidiEvent> events;
    for (const auto& n : notes) {
        events.push_back(testing::NoteOn(n.on, rate, n.midi, velocity));
        events.push_back(testing::NoteOff(n.off, rate, n.midi));
    }
    SortByTime(events);
    return events;
}

// The pitch of a note in cents from its target, measured over the last half second the key is
// held, when the bow has long finished its attack and the pitch lock has settled.
double CentsOff(const std::vector<float>& out, double rate, const PlayedNote& n, double target) {
    const auto from = static_cast<std::size_t>((n.off - 0.5) * rate);
    const auto to = static_cast<std::size_t>(n.off * rate);
    // On the 16-bit scale the estimator reads, where full scale is 32768.
    std::vector<double> held(out.begin() + from, out.begin() + to);
    for (double& x : held) {
        x *= 32768;
    }
    const PitchReading reading = EstimatePitch(held, rate);
    const auto& hz = reading.hz;
    EXPECT_TRUE(hz.has_value()) << "note " << n.midi << ": " << reading.unmeasured;
    return 1200 * std::log2(hz.value_or(0) / target);
}

// The pitch lock holds each note to its reference; what remains is its ripple and the
// estimator's sub-sample error, well under a cent. Two cents is below what a trained ear hears.
constexpr double kBoundCents = 2.0;

// A melody over three octaves, one note at a time with a gap between notes. A low string rings
// for many seconds; from C3 up the whole tail fits into the phrase.
const std::vector<PlayedNote> kPhrase = {{48, 0.3, 1.1}, {55, 1.6, 2.4}, {60, 2.9, 3.7},
                                         {64, 4.2, 5.0}, {69, 5.5, 6.3}, {72, 6.8, 7.6},
                                         {79, 8.1, 8.9}, {84, 9.4, 10.2}};
constexpr double kLastOff = 10.2;
constexpr double kPhraseSeconds = 14.0;

TEST(Lv2Instrument, PhraseIsInTuneSilentBeforeAndDyingAwayAfterAtEveryRate) {
    for (double rate : {48000.0, 44100.0, 96000.0}) {
        SCOPED_TRACE(rate);
        Lv2Host host(kBundle);
        ASSERT_NE(host.plugin(), nullptr);
        ASSERT_TRUE(host.Instantiate(rate, false));
        ASSERT_EQ(host.Control("pitch_lock"), 0.0f) << "\"Real time\" is the default";
        std::vector<float> out;
        host.Run(static_cast<std::uint64_t>(kPhraseSeconds * rate), Events(kPhrase, rate), out);

        const auto firstOn = static_cast<std::size_t>(kPhrase.front().on * rate);
        EXPECT_TRUE(
            std::all_of(out.begin(), out.begin() + firstOn, [](float x) { return x == 0; }));
        EXPECT_TRUE(std::none_of(out.begin(), out.end(), [](float x) { return std::isnan(x); }));
        EXPECT_LT(*std::max_element(out.begin(), out.end(),
                                    [](float a, float b) { return std::fabs(a) < std::fabs(b); }),
                  1.0f)
            << "clipped at the default volume";
        for (const PlayedNote& n : kPhrase) {
            const double cents = CentsOff(out, rate, n, TargetHz(n.midi));
            std::printf("%6.0f Hz rate, note %d: %+.2f cents\n", rate, n.midi, cents);
            EXPECT_NEAR(cents, 0, kBoundCents) << "note " << n.midi;
        }
        // After the last key: the string rings on, falling in every quarter second, until the
        // voice ends and the output is silent again.
        const auto quarter = static_cast<std::size_t>(rate / 4);
        double previous = Rms(
            std::span(out).subspan(static_cast<std::size_t>(kLastOff * rate) - quarter, quarter));
        ASSERT_GT(previous, 0.01);
        std::size_t at = static_cast<std::size_t>(kLastOff * rate);
        for (; at + quarter <= out.size(); at += quarter) {
            const double now = Rms(std::span(out).subspan(at, quarter));
            EXPECT_LT(now, previous) << (at / rate) << " s";
            if (now == 0) {
                break;
            }
            previous = now;
        }
        EXPECT_LT(at / rate, kPhraseSeconds - 1) << "the tail does not end";
    }
}

TEST(Lv2Instrument, LowNotesSettleInTuneOnceThePitchLockHasCaughtThem) {
    const double rate = 48000;
    Lv2Host host(kBundle);
    ASSERT_TRUE(host.Instantiate(rate, false));
    // The loop takes some 50 periods to settle: most of a second at C2.
    const PlayedNote c2{36, 0.0, 1.6};
    std::vector<float> out;
    host.Run(static_cast<std::uint64_t>(1.6 * rate), Events({c2}, rate), out);
    EXPECT_NEAR(CentsOff(out, rate, c2, TargetHz(36)), 0, kBoundCents);
}

TEST(Lv2Instrument, PitchBendMovesTheNoteTwoSemitonesAtTheWheelsEnds) {
    const double rate = 48000;
    Lv2Host host(kBundle);
    ASSERT_TRUE(host.Instantiate(rate, false));
    const PlayedNote up{60, 0.0, 1.2}, down{60, 1.9, 3.1};
    std::vector<MidiEvent> events = {{0, {0xE0, 0x00, 0x60}},  // +1 semitone on the way up
                                     {0, {0xE0, 0x7f, 0x7f}},  // the top of the wheel
                                     testing::NoteOn(up.on, rate, 60),
                                     testing::NoteOff(up.off, rate, 60),
                                     {static_cast<std::uint64_t>(1.8 * rate), {0xE0, 0x00, 0x00}},
                                     testing::NoteOn(down.on, rate, 60),
                                     testing::NoteOff(down.off, rate, 60)};
    std::vector<float> out;
    host.Run(static_cast<std::uint64_t>(3.2 * rate), events, out);
    // The top of the wheel is 8191/8192 of two semitones up, its bottom two semitones down.
    const double wheelTop = 200.0 * 8191 / 8192;
    EXPECT_NEAR(CentsOff(out, rate, up, TargetHz(60)), wheelTop, kBoundCents);
    EXPECT_NEAR(CentsOff(out, rate, down, TargetHz(60)), -200, kBoundCents);
}

TEST(Lv2Instrument, PrecalculatedNotesAreMeasuredOnTheWorkerAndPlayInTune) {
    const double rate = 48000;
    Lv2Host host(kBundle);
    ASSERT_TRUE(host.Instantiate(rate, true));
    host.Control("pitch_lock") = 1;  // "Precalculated"
    host.Control("quality") = 1;     // "High"
    // Full velocity bows with the window's force, where the trial run of a constant bow
    // measures what the enveloped note needs.
    const std::vector<PlayedNote> notes = {{57, 0.0, 1.0}, {69, 1.5, 2.5}, {81, 3.0, 4.0}};
    std::vector<float> out;
    host.Run(static_cast<std::uint64_t>(4.0 * rate), Events(notes, rate, 127), out);
    EXPECT_EQ(host.trialRunsDone(), 3);
    for (const PlayedNote& n : notes) {
        EXPECT_NEAR(CentsOff(out, rate, n, TargetHz(n.midi)), 0, kBoundCents) << n.midi;
    }
}

TEST(Lv2Instrument, TheAudioThreadAllocatesNothingWhilePlayingStealingAndMeasuring) {
    const double rate = 48000;
    const long beforeInstantiate = testing::heapAllocations;
    Lv2Host host(kBundle);
    ASSERT_TRUE(host.Instantiate(rate, true));
    ASSERT_GT(testing::heapAllocations, beforeInstantiate) << "the counter does not see the plugin";
    host.Control("pitch_lock") = 1;
    host.Control("quality") = 1;
    host.Control("vibrato") = 1;
    host.Control("voices") = 4;
    // A chord under the phrase: four voices busy, notes stolen, every new note asked of the
    // worker while it already sounds, and the answers handed back between blocks.
    std::vector<PlayedNote> notes = kPhrase;
    notes.push_back({40, 0.5, 3.0});
    notes.push_back({43, 0.6, 3.0});
    notes.push_back({47, 0.7, 3.0});
    std::vector<MidiEvent> events = Events(notes, rate);
    events.push_back({static_cast<std::uint64_t>(4.0 * rate), {0xE0, 0x00, 0x50}});
    events.push_back({static_cast<std::uint64_t>(12.0 * rate), {0xB0, 123, 0}});
    events.push_back({static_cast<std::uint64_t>(13.0 * rate), {0xB0, 120, 0}});
    SortByTime(events);
    long allocations = 0;
    std::vector<float> out;
    out.reserve(static_cast<std::size_t>(kPhraseSeconds * rate));
    host.Run(static_cast<std::uint64_t>(kPhraseSeconds * rate), events, out, [&](auto&& block) {
        const long before = testing::heapAllocations;
        block();
        allocations += testing::heapAllocations - before;
    });
    EXPECT_EQ(allocations, 0);
    EXPECT_GE(host.trialRunsDone(), static_cast<int>(kPhrase.size()));
    EXPECT_TRUE(std::none_of(out.begin(), out.end(), [](float x) { return std::isnan(x); }));
    const auto silenced = static_cast<std::size_t>(13.0 * rate) + Lv2Host::kBlock;
    EXPECT_TRUE(std::all_of(out.begin() + silenced, out.end(), [](float x) { return x == 0; }))
        << "all sounds off leaves sound";
}

TEST(Lv2Instrument, NotesOutsideTheNoteListStaySilent) {
    const double rate = 48000;
    Lv2Host host(kBundle);
    ASSERT_TRUE(host.Instantiate(rate, false));
    std::vector<float> out;
    host.Run(static_cast<std::uint64_t>(0.5 * rate),
             Events({{23, 0.0, 0.3}, {101, 0.1, 0.4}, {127, 0.1, 0.4}}, rate), out);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](float x) { return x == 0; }));
}

}  // namespace
}  // namespace sordanel
