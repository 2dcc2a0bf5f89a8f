#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/generation_settings.h"
#include "engine/setting_table.h"
#include "engine/sine_table.h"
#include "lv2/live_voice.h"
#include "lv2/trial_request.h"

namespace sordanel::lv2 {

// Hands a trial run to a thread other than the audio thread; its result comes back through
// VoicePool::TrialFinished. Returns false when it cannot take the request now.
class TrialScheduler {
public:
    virtual bool Schedule(const TrialRequest& request) = 0;

protected:
    ~TrialScheduler() = default;
};

// The voices of the instrument: which note plays on which voice, which voice a new note takes,
// and the "Precalculated" corrections already measured. All of it lives in fixed arrays; no
// call allocates, locks or waits.
class VoicePool {
public:
    static constexpr std::size_t kMaxVoices = kMostVoices;
    static constexpr int kLowestNote = 24;    // MIDI note of "C1"
    static constexpr int kHighestNote = 100;  // MIDI note of "E7"

    // sampleRate in Hz; scheduler may be null (the host offers no worker): "Precalculated"
    // notes then keep the running pitch lock.
    VoicePool(float sampleRate, TrialScheduler* scheduler);

    // A key went down: MIDI note and velocity 1 .. 127. Plays the note of `settings` with
    // `noteIndex` replaced; notes outside C1 .. E7 are ignored. At `voiceLimit` sounding voices
    // the note takes the place of the voice released longest ago, or else of the one started
    // longest ago, which fades out within a few milliseconds.
    void NoteOn(const NoteSettings& settings, int midiNote, int velocity, int voiceLimit);
    void NoteOff(int midiNote);  // the key came up: its voice releases
    void ReleaseAll();           // every key up
    void SilenceAll();           // every voice stops at once
    void TrialFinished(const TrialResult& result);

    // Adds `frames` samples of every sounding voice into `out`.
    void Render(const LiveInputs& inputs, float* out, std::uint32_t frames);

    std::size_t soundingVoices() const;  // fading ones included
    const LiveVoice& voice(std::size_t k) const { return voices_[k]; }

private:
    struct Slot {
        int midiNote = -1;
        bool keyDown = false;
        std::uint64_t startOrder = 0;
        std::uint64_t releaseOrder = 0;
        TrialRequest trial{};
    };
    enum class TrialState : std::uint8_t { None, Pending, Ready };
    struct Correction {
        TrialRequest request{};
        TrialState state = TrialState::None;
        float freqCorrection = 0;
    };

    // The voice a new note starts on; fades out the voice whose place it takes.
    std::size_t TakeVoice(int voiceLimit);
    Correction& CorrectionFor(const TrialRequest& request);

    float sampleRate_;
    TrialScheduler* scheduler_;
    SineTable sine_{};
    std::uint64_t order_ = 0;
    std::array<LiveVoice, kMaxVoices> voices_{};
    std::array<Slot, kMaxVoices> slots_{};
    // One correction per note and quality, for the settings it was measured with.
    std::array<Correction, 2 * (kHighestNote - kLowestNote + 1)> corrections_{};
};

}  // namespace sordanel::lv2
