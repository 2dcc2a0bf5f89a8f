#pragma once

// A small LV2 host over lilv for the instrument's tests: it loads a bundle, maps URIDs, feeds
// MIDI events through an atom sequence, offers the worker and runs the plugin block by block
// as a sequencer would. Everything it hands the plugin is sized before the first block, so what
// the plugin allocates while it runs is its own.

#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>
#include <lv2/urid/urid.h>
#include <lv2/worker/worker.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sordanel::testing {

inline constexpr const char* kInstrumentUri = "https://sordanel.invalid/lv2/sordanel";

// One timed MIDI message of a phrase.
struct MidiEvent {
    std::uint64_t frame;  // from the start of the phrase
    std::array<std::uint8_t, 3> bytes;
};

inline MidiEvent NoteOn(double seconds, double rate, int note, int velocity = 100) {
    return {static_cast<std::uint64_t>(seconds * rate),
            {0x90, static_cast<std::uint8_t>(note), static_cast<std::uint8_t>(velocity)}};
}
inline MidiEvent NoteOff(double seconds, double rate, int note) {
    return {static_cast<std::uint64_t>(seconds * rate), {0x80, static_cast<std::uint8_t>(note), 0}};
}

class Lv2Host {
public:
    static constexpr std::uint32_t kBlock = 256;

    // Loads the bundle in `bundleDir` (ending with '/'); instantiate() then makes the plugin.
    explicit Lv2Host(const std::string& bundleDir) : world_(lilv_world_new()) {
        LilvNode* bundle = lilv_new_file_uri(world_, nullptr, bundleDir.c_str());
        lilv_world_load_bundle(world_, bundle);
        lilv_node_free(bundle);
        LilvNode* uri = lilv_new_uri(world_, kInstrumentUri);
        plugin_ = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world_), uri);
        lilv_node_free(uri);
        map_ = {this, &Lv2Host::Map};
        schedule_ = {this, &Lv2Host::ScheduleWork};
    }
    ~Lv2Host() {
        if (instance_ != nullptr) {
            lilv_instance_deactivate(instance_);
            lilv_instance_free(instance_);
        }
        lilv_world_free(world_);
    }
    Lv2Host(const Lv2Host&) = delete;
    Lv2Host& operator=(const Lv2Host&) = delete;

    const LilvPlugin* plugin() const { return plugin_; }
    LilvWorld* world() const { return world_; }

    // Instantiates at `rate` with every control at its default; `withWorker` offers the worker.
    bool Instantiate(double rate, bool withWorker) {
        const std::uint32_t ports = lilv_plugin_get_num_ports(plugin_);
        controls_.assign(ports, 0.0f);
        std::vector<float> low(ports), high(ports);
        lilv_plugin_get_port_ranges_float(plugin_, low.data(), high.data(), controls_.data());
        mapFeature_ = {LV2_URID__map, &map_};
        scheduleFeature_ = {LV2_WORKER__schedule, &schedule_};
        features_ = {&mapFeature_};
        if (withWorker) {
            features_.push_back(&scheduleFeature_);
        }
        features_.push_back(nullptr);
        sequenceType_ = Map(this, LV2_ATOM__Sequence);
        midiType_ = Map(this, LV2_MIDI__MidiEvent);
        instance_ = lilv_plugin_instantiate(plugin_, rate, features_.data());
        if (instance_ == nullptr) {
            return false;
        }
        worker_ = static_cast<const LV2_Worker_Interface*>(
            lilv_instance_get_extension_data(instance_, LV2_WORKER__interface));
        for (std::uint32_t p = 0; p < ports; ++p) {
            if (p > 1) {
                lilv_instance_connect_port(instance_, p, &controls_[p]);
            }
        }
        lilv_instance_connect_port(instance_, 0, sequence_.data());
        lilv_instance_connect_port(instance_, 1, block_.data());
        lilv_instance_activate(instance_);
        return true;
    }

    // The control port with this symbol.
    float& Control(const char* symbol) {
        LilvNode* node = lilv_new_string(world_, symbol);
        const LilvPort* port = lilv_plugin_get_port_by_symbol(plugin_, node);
        lilv_node_free(node);
        return controls_.at(lilv_port_get_index(plugin_, port));
    }

    // Runs `frames` samples with `events` (sorted by frame, frames counted from the first
    // sample of this call) and appends the output to `out`. `around` gets each block of the
    // audio thread's work (the plugin's run and the worker's answers) to call.
    template <typename Around>
    void Run(std::uint64_t frames, const std::vector<MidiEvent>& events, std::vector<float>& out,
             Around&& around) {
        std::size_t next = 0;
        for (std::uint64_t start = 0; start < frames; start += kBlock) {
            const auto n =
                static_cast<std::uint32_t>(std::min<std::uint64_t>(kBlock, frames - start));
            ClearSequence();
            while (next < events.size() && events[next].frame < start + n) {
                AppendMidi(static_cast<std::int64_t>(events[next].frame - start),
                           events[next].bytes);
                ++next;
            }
            around([&] {
                lilv_instance_run(instance_, n);
                DeliverResponses();
            });
            out.insert(out.end(), block_.begin(), block_.begin() + n);
            RunWorker();
        }
    }
    void Run(std::uint64_t frames, const std::vector<MidiEvent>& events, std::vector<float>& out) {
        Run(frames, events, out, [](auto&& block) { block(); });
    }

    int trialRunsDone() const { return trialRunsDone_; }

private:
    static constexpr std::size_t kSequenceBytes = 4096;
    static constexpr std::size_t kMaxMessages = 64;
    static constexpr std::size_t kMessageBytes = 128;
    struct Message {
        std::uint32_t size = 0;
        std::array<std::uint8_t, kMessageBytes> bytes{};
    };

    static LV2_URID Map(LV2_URID_Map_Handle handle, const char* uri) {
        auto& ids = static_cast<Lv2Host*>(handle)->ids_;
        if (const auto known = ids.find(uri); known != ids.end()) {
            return known->second;
        }
        return ids.emplace(uri, static_cast<LV2_URID>(ids.size() + 1)).first->second;
    }

    static LV2_Worker_Status ScheduleWork(LV2_Worker_Schedule_Handle handle, std::uint32_t size,
                                          const void* data) {
        auto* host = static_cast<Lv2Host*>(handle);
        return Queue(host->requests_, host->requestCount_, size, data);
    }
    static LV2_Worker_Status Queue(std::array<Message, kMaxMessages>& queue, std::size_t& count,
                                   std::uint32_t size, const void* data) {
        if (count == kMaxMessages || size > kMessageBytes) {
            return LV2_WORKER_ERR_NO_SPACE;
        }
        queue[count].size = size;
        std::memcpy(queue[count].bytes.data(), data, size);
        ++count;
        return LV2_WORKER_SUCCESS;
    }
    static LV2_Worker_Status Respond(LV2_Worker_Respond_Handle handle, std::uint32_t size,
                                     const void* data) {
        auto* host = static_cast<Lv2Host*>(handle);
        return Queue(host->responses_, host->responseCount_, size, data);
    }

    // The worker thread's part, done between blocks as a host's worker would do it meanwhile.
    void RunWorker() {
        for (std::size_t k = 0; k < requestCount_; ++k) {
            worker_->work(lilv_instance_get_handle(instance_), &Lv2Host::Respond, this,
                          requests_[k].size, requests_[k].bytes.data());
            ++trialRunsDone_;
        }
        requestCount_ = 0;
    }
    void DeliverResponses() {
        for (std::size_t k = 0; k < responseCount_; ++k) {
            worker_->work_response(lilv_instance_get_handle(instance_), responses_[k].size,
                                   responses_[k].bytes.data());
        }
        responseCount_ = 0;
    }

    void ClearSequence() {
        auto* seq = reinterpret_cast<LV2_Atom_Sequence*>(sequence_.data());
        seq->atom.type = sequenceType_;
        seq->atom.size = sizeof(LV2_Atom_Sequence_Body);
        seq->body.unit = 0;
        seq->body.pad = 0;
    }
    void AppendMidi(std::int64_t frame, const std::array<std::uint8_t, 3>& bytes) {
        auto* seq = reinterpret_cast<LV2_Atom_Sequence*>(sequence_.data());
        auto* at = reinterpret_cast<std::uint8_t*>(&seq->body) + seq->atom.size;
        auto* event = reinterpret_cast<LV2_Atom_Event*>(at);
        event->time.frames = frame;
        event->body.type = midiType_;
        event->body.size = 3;
        std::memcpy(event + 1, bytes.data(), 3);
        seq->atom.size += static_cast<std::uint32_t>(lv2_atom_pad_size(sizeof(LV2_Atom_Event) + 3));
    }

    LilvWorld* world_;
    const LilvPlugin* plugin_ = nullptr;
    LilvInstance* instance_ = nullptr;
    const LV2_Worker_Interface* worker_ = nullptr;
    std::map<std::string, LV2_URID> ids_;
    LV2_URID_Map map_{};
    LV2_Worker_Schedule schedule_{};
    LV2_Feature mapFeature_{};
    LV2_Feature scheduleFeature_{};
    std::vector<const LV2_Feature*> features_;
    std::vector<float> controls_;
    alignas(8) std::array<std::uint8_t, kSequenceBytes> sequence_{};
    std::array<float, kBlock> block_{};
    std::array<Message, kMaxMessages> requests_{};
    std::array<Message, kMaxMessages> responses_{};
    std::size_t requestCount_ = 0;
    std::size_t responseCount_ = 0;
    int trialRunsDone_ = 0;
    LV2_URID sequenceType_ = 0;
    LV2_URID midiType_ = 0;
};

}  // namespace sordanel::testing
