#pragma once

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/urid/urid.h>
#include <lv2/worker/worker.h>

#include <cstdint>
#include <memory>

#include "engine/generation_settings.h"
#include "lv2/live_controls.h"
#include "lv2/voice_pool.h"

namespace sordanel::lv2 {

// The LV2 instrument behind the plugin's C entry points: MIDI in, the voices, the output level,
// and the worker that runs the "Precalculated" trial runs off the audio thread.
class Instrument final : public TrialScheduler {
public:
    // Null `map` makes no instrument: MIDI events cannot be recognised without it.
    static std::unique_ptr<Instrument> Create(double sampleRate,
                                              const LV2_Feature* const* features);

    void ConnectPort(std::uint32_t port, void* data);
    void Activate();
    // One block of the audio thread: allocates nothing, locks nothing, makes no system call.
    void Run(std::uint32_t frames);

    // The worker thread's side: the trial run of a request, answered through `respond`.
    LV2_Worker_Status Work(LV2_Worker_Respond_Function respond, LV2_Worker_Respond_Handle handle,
                           std::uint32_t size, const void* data);
    // Back on the audio thread: a trial run's result.
    LV2_Worker_Status WorkResponse(std::uint32_t size, const void* data);

    bool Schedule(const TrialRequest& request) override;

private:
    Instrument(float sampleRate, LV2_URID midiEvent, LV2_Worker_Schedule* schedule);

    void HandleMidi(const std::uint8_t* message, std::uint32_t size);
    void RenderVoices(std::uint32_t from, std::uint32_t to);
    void ApplyLevel(std::uint32_t frames);

    const float sampleRate_;
    const LV2_URID midiEvent_;
    LV2_Worker_Schedule* const schedule_;
    VoicePool pool_;
    ControlPorts controls_{};
    const LV2_Atom_Sequence* midiIn_ = nullptr;
    float* out_ = nullptr;

    NoteSettings noteSettings_;  // reused by every note-on, so nothing is allocated
    LiveInputs liveInputs_{};
    float bendRatio_ = 1.0f;
    std::int32_t volumeDb_ = 0;
    float targetLevel_ = 0;  // of volumeDb_
    float level_ = 0;        // follows targetLevel_ smoothly, so a volume change cannot click
    float levelGlide_ = 0;   // per-sample share of the way to the target
};

}  // namespace sordanel::lv2
