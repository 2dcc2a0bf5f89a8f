#include "engine/check_recording.h"

#include <algorithm>

namespace sordanel {

void CheckRecording::Reserve() {
    if (!values_) {
        values_ = std::make_unique_for_overwrite<std::array<float, 2>[]>(capacity_);
    }
}

void CheckRecording::Start(std::uint32_t limitSteps) {
    limit_ = values_ ? std::min(limitSteps, capacity_) : 0;
    steps_ = 0;
}

void CheckRecording::Finish(const BowedString& string) {
    if (steps_ < limit_) {
        string_ = string;
        limit_ = steps_;
    }
}

}  // namespace sordanel
