#include "lv2/voice_pool.h"

#include <algorithm>

#include "engine/interpolation_kernel.h"

namespace sordanel::lv2 {

namespace {

// kNoteNames runs down from "E7", the highest note a voice plays.
int NoteIndexOf(int midiNote) {
    return VoicePool::kHighestNote - midiNote;
}

}  // namespace

VoicePool::VoicePool(float sampleRate, TrialScheduler* scheduler)
    : sampleRate_(sampleRate), scheduler_(scheduler) {
    FillSineTable(sine_);
    // The kernels are computed on first use, which allocates: here, not on the audio thread.
    for (auto kind : {KernelKind::Low, KernelKind::High}) {
        GetInterpolationKernel(kind);
    }
}

void VoicePool::NoteOn(const NoteSettings& settings, int midiNote, int velocity,
                       int voiceLimit) {
    if (midiNote < kLowestNote || midiNote > kHighestNote || velocity <= 0) {
        return;
    }
    NoteOff(midiNote);  // a key struck again starts a new bow stroke
    const std::size_t k = TakeVoice(voiceLimit);
    LiveVoice& voice = voices_[k];
    NoteSettings note = settings;
    note.noteIndex = NoteIndexOf(midiNote);
    const float velocityShare = static_cast<float>(std::min(velocity, 127)) / 127.0f;
    voice.Start(note, velocityShare, sampleRate_, sine_);
    slots_[k] = {
        .midiNote = midiNote,
        .keyDown = true,
        .startOrder = ++order_,
        .releaseOrder = 0,
        .trial = MakeTrialRequest(note, VelocityForce(note.bowPressingForce, velocityShare))};
    if (voice.lock() != LiveVoice::Lock::AwaitingTrial) {
        return;
    }
    Correction& correction = CorrectionFor(slots_[k].trial);
    if (correction.request == slots_[k].trial && correction.state == TrialState::Ready) {
        voice.UseConstantCorrection(correction.freqCorrection);
        return;
    }
    if (correction.request == slots_[k].trial && correction.state == TrialState::Pending) {
        return;
    }
    if (scheduler_ != nullptr && scheduler_->Schedule(slots_[k].trial)) {
        correction = {.request = slots_[k].trial, .state = TrialState::Pending};
    }
}

void VoicePool::NoteOff(int midiNote) {
    for (std::size_t k = 0; k < kMaxVoices; ++k) {
        if (slots_[k].keyDown && slots_[k].midiNote == midiNote) {
            slots_[k].keyDown = false;
            slots_[k].releaseOrder = ++order_;
            voices_[k].Release();
        }
    }
}

void VoicePool::ReleaseAll() {
    for (std::size_t k = 0; k < kMaxVoices; ++k) {
        if (slots_[k].keyDown) {
            NoteOff(slots_[k].midiNote);
        }
    }
}

void VoicePool::SilenceAll() {
    for (std::size_t k = 0; k < kMaxVoices; ++k) {
        voices_[k].Stop();
        slots_[k] = Slot{};
    }
}

void VoicePool::TrialFinished(const TrialResult& result) {
    Correction& correction = CorrectionFor(result.request);
    if (!(correction.request == result.request)) {
        return;  // the settings moved on while it ran; a later note asks again
    }
    correction.state = TrialState::Ready;
    correction.freqCorrection = result.freqCorrection;
    for (std::size_t k = 0; k < kMaxVoices; ++k) {
        if (voices_[k].active() && slots_[k].trial == result.request) {
            voices_[k].UseConstantCorrection(result.freqCorrection);
        }
    }
}

void VoicePool::Render(const LiveInputs& inputs, float* out, std::uint32_t frames) {
    for (LiveVoice& voice : voices_) {
        voice.Render(inputs, out, frames);
    }
}

std::size_t VoicePool::soundingVoices() const {
    return static_cast<std::size_t>(std::count_if(voices_.begin(), voices_.end(),
                                                  [](const LiveVoice& v) { return v.active(); }));
}

std::size_t VoicePool::TakeVoice(int voiceLimit) {
    const auto limit = static_cast<std::size_t>(std::clamp<int>(voiceLimit, 1, kMaxVoices));
    std::size_t playing = 0;  // sounding and not on its way out
    std::size_t idle = kMaxVoices;
    std::size_t fading = kMaxVoices;
    for (std::size_t k = 0; k < kMaxVoices; ++k) {
        if (!voices_[k].active()) {
            idle = idle == kMaxVoices ? k : idle;
        } else if (voices_[k].fading()) {
            fading = k;
        } else {
            ++playing;
        }
    }
    if (playing < limit) {
        // Below the limit with every place taken by fading voices: one of them ends now.
        return idle < kMaxVoices ? idle : fading;
    }
    // At the limit the note takes the place of the voice released longest ago, else of the
    // one started longest ago. That voice fades out where a spare voice can take the note
    // meanwhile, and is cut short where none can.
    std::size_t oldestReleased = kMaxVoices;
    std::size_t oldestStarted = kMaxVoices;
    for (std::size_t k = 0; k < kMaxVoices; ++k) {
        if (!voices_[k].active() || voices_[k].fading()) {
            continue;
        }
        const Slot& s = slots_[k];
        if (!s.keyDown && (oldestReleased == kMaxVoices ||
                           s.releaseOrder < slots_[oldestReleased].releaseOrder)) {
            oldestReleased = k;
        }
        if (oldestStarted == kMaxVoices || s.startOrder < slots_[oldestStarted].startOrder) {
            oldestStarted = k;
        }
    }
    const std::size_t taken = oldestReleased < kMaxVoices ? oldestReleased : oldestStarted;
    const std::size_t spare = idle < kMaxVoices ? idle : fading;
    if (spare == kMaxVoices) {
        return taken;
    }
    voices_[taken].FadeOut();
    slots_[taken] = Slot{};  // its key no longer reaches it
    return spare;
}

VoicePool::Correction& VoicePool::CorrectionFor(const TrialRequest& request) {
    const auto note = static_cast<std::size_t>(request.string.pitch.noteIndex);
    return corrections_[2 * note + (request.string.quality == Quality::High ? 1 : 0)];
}

}  // namespace sordanel::lv2
