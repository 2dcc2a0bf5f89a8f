#pragma once

#include <cstdint>

#include "engine/sine_table.h"

namespace sordanel {

// Swings the string's time step periodically. It is clocked by string steps, which run at the
// step rate whatever the correction, so the output hears the set speed.
class Vibrato {
public:
    // speedHz from kVibratoSpeedsHz, depth in cents, the run's step rate in steps per second.
    void Setup(float speedHz, std::int32_t depthCents, float stepRate);
    // Relative change of the time step after `stepCount` string steps.
    float Term(std::uint32_t stepCount, const SineTable& sine) const {
        const auto entry =
            static_cast<std::uint64_t>(static_cast<double>(stepCount) * vibratoStep_) & 255u;
        return static_cast<float>(double{vibratoScale_} * sine[entry]);
    }

    float vibratoStep() const { return vibratoStep_; }    // sine entries per string step
    float vibratoScale() const { return vibratoScale_; }  // peak relative swing

private:
    float vibratoStep_ = 0;
    float vibratoScale_ = 0;
};

}  // namespace sordanel
