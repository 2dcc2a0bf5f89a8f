#include "lv2/instrument.h"

#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/level_stage.h"

namespace sordanel::lv2 {

namespace {

constexpr double kLevelGlideSeconds = 0.02;
constexpr std::int32_t kVolumeUnread = -1000;

const void* Feature(const LV2_Feature* const* features, const char* uri) {
    for (auto* f = features; f != nullptr && *f != nullptr; ++f) {
        if (std::strcmp((*f)->URI, uri) == 0) {
            return (*f)->data;
        }
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<Instrument> Instrument::Create(double sampleRate,
                                               const LV2_Feature* const* features) {
    const auto* map = static_cast<const LV2_URID_Map*>(Feature(features, LV2_URID__map));
    if (map == nullptr || !(sampleRate > 0)) {
        return nullptr;
    }
    auto* schedule = static_cast<LV2_Worker_Schedule*>(
        const_cast<void*>(Feature(features, LV2_WORKER__schedule)));
    return std::unique_ptr<Instrument>(new Instrument(
        static_cast<float>(sampleRate), map->map(map->handle, LV2_MIDI__MidiEvent), schedule));
}

Instrument::Instrument(float sampleRate, LV2_URID midiEvent, LV2_Worker_Schedule* schedule)
    : sampleRate_(sampleRate),
      midiEvent_(midiEvent),
      schedule_(schedule),
      pool_(sampleRate, schedule != nullptr ? this : nullptr),
      levelGlide_(static_cast<float>(1.0 - std::exp(-1.0 / (kLevelGlideSeconds * sampleRate)))) {}

void Instrument::ConnectPort(std::uint32_t port, void* data) {
    if (port == kMidiInPort) {
        midiIn_ = static_cast<const LV2_Atom_Sequence*>(data);
    } else if (port == kAudioOutPort) {
        out_ = static_cast<float*>(data);
    } else {
        ConnectControlPort(controls_, port, static_cast<const float*>(data));
    }
}

void Instrument::Activate() {
    pool_.SilenceAll();
    bendRatio_ = 1.0f;
    volumeDb_ = kVolumeUnread;  // the first block starts at its volume without a glide
}

void Instrument::Run(std::uint32_t frames) {
    std::fill_n(out_, frames, 0.0f);
    liveInputs_ = ReadLiveInputs(controls_, bendRatio_);
    std::uint32_t done = 0;
    LV2_ATOM_SEQUENCE_FOREACH(midiIn_, event) {
        if (event->body.type != midiEvent_) {
            continue;
        }
        // Each event acts at its own frame: the voices play up to it first.
        const auto at =
            static_cast<std::uint32_t>(std::clamp<std::int64_t>(event->time.frames, done, frames));
        RenderVoices(done, at);
        done = at;
        HandleMidi(static_cast<const std::uint8_t*>(LV2_ATOM_BODY_CONST(&event->body)),
                   event->body.size);
    }
    RenderVoices(done, frames);
    ApplyLevel(frames);
}

void Instrument::HandleMidi(const std::uint8_t* message, std::uint32_t size) {
    if (size < 3) {
        return;
    }
    const int note = message[1] & 0x7f;
    const int value = message[2] & 0x7f;
    switch (lv2_midi_message_type(message)) {
        case LV2_MIDI_MSG_NOTE_ON:
            if (value == 0) {
                pool_.NoteOff(note);
                break;
            }
            ReadNoteSettings(controls_, noteSettings_);
            pool_.NoteOn(noteSettings_, note, value, ReadVoiceLimit(controls_));
            break;
        case LV2_MIDI_MSG_NOTE_OFF:
            pool_.NoteOff(note);
            break;
        case LV2_MIDI_MSG_BENDER:
            bendRatio_ = BendRatio(note | (value << 7));
            liveInputs_.bendRatio = bendRatio_;
            break;
        case LV2_MIDI_MSG_CONTROLLER:
            if (note == LV2_MIDI_CTL_ALL_SOUNDS_OFF) {
                pool_.SilenceAll();
            } else if (note == LV2_MIDI_CTL_ALL_NOTES_OFF) {
                pool_.ReleaseAll();
            }
            break;
        default:
            break;
    }
}

void Instrument::RenderVoices(std::uint32_t from, std::uint32_t to) {
    if (to > from) {
        pool_.Render(liveInputs_, out_ + from, to - from);
    }
}

void Instrument::ApplyLevel(std::uint32_t frames) {
    const std::int32_t volumeDb = ReadVolumeDb(controls_);
    if (volumeDb != volumeDb_) {
        targetLevel_ = VolumeLevel(volumeDb);  // one pow per change, not per sample
        level_ = volumeDb_ == kVolumeUnread ? targetLevel_ : level_;
        volumeDb_ = volumeDb;
    }
    for (std::uint32_t i = 0; i < frames; ++i) {
        level_ += (targetLevel_ - level_) * levelGlide_;
        // Full scale is the limit, as the 16-bit files clip at theirs.
        out_[i] = std::clamp(out_[i] * level_, -1.0f, 1.0f);
    }
}

bool Instrument::Schedule(const TrialRequest& request) {
    return schedule_->schedule_work(schedule_->handle, sizeof request, &request) ==
           LV2_WORKER_SUCCESS;
}

LV2_Worker_Status Instrument::Work(LV2_Worker_Respond_Function respond,
                                   LV2_Worker_Respond_Handle handle, std::uint32_t size,
                                   const void* data) {
    if (size != sizeof(TrialRequest)) {
        return LV2_WORKER_ERR_UNKNOWN;
    }
    TrialResult result{};
    std::memcpy(&result.request, data, sizeof result.request);
    result.freqCorrection = RunTrial(result.request, sampleRate_);
    return respond(handle, sizeof result, &result);
}

LV2_Worker_Status Instrument::WorkResponse(std::uint32_t size, const void* data) {
    if (size != sizeof(TrialResult)) {
        return LV2_WORKER_ERR_UNKNOWN;
    }
    TrialResult result{};
    std::memcpy(&result, data, sizeof result);
    pool_.TrialFinished(result);
    return LV2_WORKER_SUCCESS;
}

}  // namespace sordanel::lv2
