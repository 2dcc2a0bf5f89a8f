#include "engine/check_recording.h"

#include <algorithm>
#include <new>

namespace sordanel {

void CheckRecording::Reserve(std::uint32_t steps) {
    steps = std::min(steps, capacity_);
    if (steps <= room_) {
        return;
    }
    values_.reset();
    room_ = 0;
    try {
        values_ = std::make_unique_for_overwrite<StepValues[]>(steps);
        room_ = steps;
    } catch (const std::bad_alloc&) {
        // Replaying is only a saving.
    }
}

void CheckRecording::Start(std::uint32_t limitSteps) {
    limit_ = std::min(limitSteps, room_);
    steps_ = 0;
}

void CheckRecording::Finish(const BowedString& string) {
    if (steps_ < limit_) {
        string_ = string;
        limit_ = steps_;
    }
}

}  // namespace sordanel
