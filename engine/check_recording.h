#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "engine/bowed_string.h"

namespace sordanel {

// What one string step hands to the body.
struct StepValues {
    float bridgeForce;
    float stringSum;
};

// The steps of the trial run's check, kept so that the note, which plays those very steps,
// replays them instead of stepping the string again: what each step handed to the body, and
// the string as it stood after the last step kept.
class CheckRecording {
public:
    // Enough for the check of a 3 s note at the top of High quality: 8 MB.
    static constexpr std::uint32_t kDefaultSteps = 1u << 20;

    explicit CheckRecording(std::uint32_t capacitySteps = kDefaultSteps)
        : capacity_(capacitySteps) {}

    // Room for steps steps, up to the capacity, taken at set-up when the last room was smaller.
    // It is left uninitialised, so only the pages a check writes are ever touched. Where the
    // memory cannot be had, nothing is kept and the note steps its string as the check did.
    void Reserve(std::uint32_t steps);
    // Starts over, keeping at most limitSteps steps.
    void Start(std::uint32_t limitSteps);
    // After each step of the check: true for the last step kept, after which TakeString takes
    // the string as it stands.
    bool Keep(StepValues values) {
        if (steps_ >= limit_) {
            return false;
        }
        values_[steps_] = values;
        return ++steps_ == limit_;
    }
    void TakeString(const BowedString& string) { string_ = string; }
    // The step after which the recording ends, while it still records.
    std::optional<std::uint32_t> openLimit() const {
        return steps_ < limit_ ? std::optional(limit_) : std::nullopt;
    }
    // Where the check ended before the limit, the string as it stands there.
    void Finish(const BowedString& string);

    std::uint32_t steps() const { return steps_; }
    // The values of the steps kept, the first one's first.
    const StepValues* values() const { return values_.get(); }
    // The string after steps() steps.
    const BowedString& string() const { return string_; }

private:
    std::uint32_t capacity_;
    std::unique_ptr<StepValues[]> values_;
    std::uint32_t room_ = 0;
    std::uint32_t limit_ = 0;
    std::uint32_t steps_ = 0;
    BowedString string_;
};

}  // namespace sordanel
