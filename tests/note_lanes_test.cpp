#include "engine/note_lanes.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/settings_tables.h"
#include "tests/engine_fakes.h"

namespace sordanel {
namespace {

// One note's engine with its own fakes.
struct Note {
    explicit Note(const GenerationSettings& noteSettings) : settings(noteSettings) {
        settings.outputPath = "/out/note.wav";
        settings.tempDir = "/tmp/";
    }
    GenerationSettings settings;
    JobState job;
    testing::RecordingHost host;
    testing::MemoryFileLayer files;
    testing::RecordingPlayer player;
    SoundEngine engine{settings, job, host, files, player};
};

GenerationSettings NoteSettings(const char* note) {
    GenerationSettings settings;
    settings.noteIndex = FindNoteIndex(note);
    settings.duration = 0.3f;
    return settings;
}

// The bytes of the note rendered by its own engine alone.
std::vector<std::uint8_t> Alone(const GenerationSettings& settings) {
    Note note(settings);
    EXPECT_EQ(note.engine.GenerateSound(false), GenerationResult::Finished);
    return note.files.Bytes("/out/note.wav");
}

struct Together {
    explicit Together(const std::vector<GenerationSettings>& group) {
        for (const auto& settings : group) {
            notes.push_back(std::make_unique<Note>(settings));
            engines.push_back(&notes.back()->engine);
        }
    }
    void Run() {
        results.assign(notes.size(), GenerationResult::NotStarted);
        failures.assign(notes.size(), nullptr);
        NoteLanes lanes;
        lanes.Run(engines, results, failures);
    }
    std::vector<std::unique_ptr<Note>> notes;
    std::vector<SoundEngine*> engines;
    std::vector<GenerationResult> results;
    std::vector<std::exception_ptr> failures;
};

// Notes whose strings step side by side come out as each engine alone makes them: each with
// its own clock, pitch lock, bow, length and body.
TEST(NoteLanes, EachNoteIsTheSameAsRenderedAlone) {
    const auto group = [] {
        std::vector<GenerationSettings> notes{NoteSettings("C5"), NoteSettings("A4"),
                                              NoteSettings("G4"), NoteSettings("E5")};
        notes[0].duration = 1.5f;  // its check ends long before its bow leaves the hold
        notes[1].autocorrection = AutocorrectionMode::RealTime;
        notes[1].bowPressingForce = 2.5f;
        notes[2].autocorrection = AutocorrectionMode::Off;
        notes[2].vibratoOn = true;
        notes[3].duration = 0.12f;  // ends long before the others
        notes[3].t1Ratio = 0.6f;
        return notes;
    }();
    for (std::size_t count : {4u, 3u, 1u}) {
        const std::vector<GenerationSettings> notes(group.begin(), group.begin() + count);
        Together together(notes);
        together.Run();
        for (std::size_t i = 0; i < count; ++i) {
            ASSERT_EQ(together.results[i], GenerationResult::Finished) << i;
            EXPECT_TRUE(together.notes[i]->files.Bytes("/out/note.wav") == Alone(notes[i]))
                << "note " << i << " of " << count;
        }
    }
}

// Trial runs that step side by side through their lock and check, and check a second time
// where the lock's correction found no steady pitch.
TEST(NoteLanes, TrialRunsThatCheckTwiceAreTheSameAsAlone) {
    std::vector<GenerationSettings> notes{NoteSettings("C3"), NoteSettings("C3"),
                                          NoteSettings("A4")};
    for (auto& settings : notes) {
        settings.bowPosition = 0.35f;
    }
    notes[0].stringDamping = 0.025f;  // checked again, and steady then
    notes[0].bowPressingForce = 1.56f;
    notes[1].bowPressingForce = 3.5f;  // checked again, and not steady then either
    Together together(notes);
    together.Run();
    for (std::size_t i = 0; i < notes.size(); ++i) {
        ASSERT_EQ(together.results[i], GenerationResult::Finished) << i;
        EXPECT_TRUE(together.notes[i]->files.Bytes("/out/note.wav") == Alone(notes[i])) << i;
    }
    EXPECT_EQ(together.notes[0]->engine.autocorrection().freqCorrection(), 0.0f);
    EXPECT_NE(together.notes[0]->engine.runSetup().stepRate,
              ComputeRunSetup(notes[0], false).stepRate);
    EXPECT_EQ(together.notes[1]->engine.autocorrection().freqCorrection(), 0.0f);
}

// A note whose file fails, or whose string has another shape, ends or runs on its own; the
// others are not disturbed.
TEST(NoteLanes, ANoteThatFailsOrDiffersLeavesTheOthersAsTheyWere) {
    std::vector<GenerationSettings> notes{NoteSettings("D4"), NoteSettings("C4"),
                                          NoteSettings("B3"), NoteSettings("A#3")};
    notes[2].quality = Quality::High;
    Together together(notes);
    // A host that fails near the note's end, while its string steps beside the others.
    struct FailingProgress : testing::RecordingProgress {
        void SetProgress(float fraction) override {
            if (fraction > 0.9f) {
                throw std::runtime_error("the console went away");
            }
            RecordingProgress::SetProgress(fraction);
        }
    } failing;
    together.notes[0]->job.progressDialog = &failing;
    together.notes[0]->job.progressOpen = true;
    together.notes[3]->files.failFromWrite = 2;
    together.Run();
    ASSERT_TRUE(together.failures[0]);
    EXPECT_THROW(std::rethrow_exception(together.failures[0]), std::runtime_error);
    EXPECT_EQ(together.results[3], GenerationResult::WriteFailed);
    EXPECT_FALSE(together.failures[3]);
    EXPECT_FALSE(together.notes[3]->files.Exists("/out/note.wav"));
    for (std::size_t i : {1u, 2u}) {
        ASSERT_EQ(together.results[i], GenerationResult::Finished) << i;
        EXPECT_TRUE(together.notes[i]->files.Bytes("/out/note.wav") == Alone(notes[i])) << i;
    }
}

}  // namespace
}  // namespace sordanel
