// The plugin's C entry points: LV2 finds the descriptor through lv2_descriptor() and calls
// the instrument through it.
#include <lv2/core/lv2.h>
#include <lv2/worker/worker.h>

#include <cstring>
#include <new>

#include "lv2/instrument.h"

namespace {

using sordanel::lv2::Instrument;

Instrument* Of(LV2_Handle handle) {
    return static_cast<Instrument*>(handle);
}

LV2_Handle Instantiate(const LV2_Descriptor*, double sampleRate, const char*,
                       const LV2_Feature* const* features) {
    try {
        return Instrument::Create(sampleRate, features).release();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void ConnectPort(LV2_Handle handle, std::uint32_t port, void* data) {
    Of(handle)->ConnectPort(port, data);
}

void Activate(LV2_Handle handle) {
    Of(handle)->Activate();
}

void Run(LV2_Handle handle, std::uint32_t frames) {
    Of(handle)->Run(frames);
}

void Cleanup(LV2_Handle handle) {
    delete Of(handle);
}

LV2_Worker_Status Work(LV2_Handle handle, LV2_Worker_Respond_Function respond,
                       LV2_Worker_Respond_Handle respondHandle, std::uint32_t size,
                       const void* data) {
    return Of(handle)->Work(respond, respondHandle, size, data);
}

LV2_Worker_Status WorkResponse(LV2_Handle handle, std::uint32_t size, const void* data) {
    return Of(handle)->WorkResponse(size, data);
}

const void* ExtensionData(const char* uri) {
    static const LV2_Worker_Interface worker = {Work, WorkResponse, nullptr};
    return std::strcmp(uri, LV2_WORKER__interface) == 0 ? &worker : nullptr;
}

const LV2_Descriptor kDescriptor = {SORDANEL_LV2_URI, Instantiate, ConnectPort,  Activate, Run,
                                    nullptr,          Cleanup,     ExtensionData};

}  // namespace

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(std::uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}
