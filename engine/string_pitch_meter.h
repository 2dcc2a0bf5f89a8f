#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace sordanel {

// The pitch the string actually plays, read from its middle point while it is bowed steadily.
// Only the odd harmonics move the middle point, so its fundamental is strong whatever the bow
// does. Taken period by period, the fundamental's phase advances evenly at the played
// frequency; the slope of that phase is the measure, which no threshold or zero crossing can
// bias.
class StringPitchMeter {
public:
    // Room for the readings of the longest measure: 160 periods at the finest step, one reading
    // every fourth step. Reserved once, so a measure allocates nothing.
    static constexpr std::size_t kCapacity = 32768;

    StringPitchMeter() { readings_.reserve(kCapacity); }

    // A new measure of a string expected near nominalCycles periods per reading.
    void Start(double nominalCycles) {
        nominalCycles_ = nominalCycles;
        readings_.clear();
    }
    // One displacement of the middle point; readings past the capacity are not needed.
    void Record(float displacement) {
        if (readings_.size() < kCapacity) {
            readings_.push_back(displacement);
        }
    }
    std::size_t readings() const { return readings_.size(); }

    // Periods per reading actually played over `count` readings from `first` on; nothing when
    // they hold no steady fundamental: a silent string, or one whose phase wanders instead of
    // advancing evenly.
    std::optional<double> PlayedCycles(std::size_t first, std::size_t count) const;

private:
    double nominalCycles_ = 0;
    std::vector<float> readings_;
};

}  // namespace sordanel
