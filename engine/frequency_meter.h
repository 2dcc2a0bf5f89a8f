#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace sordanel {

// Measures how far the string's fundamental runs from the pitch lock's reference, from the
// phase between them that the lock's demodulator reads every fourth step while it does not act
// on the string. The phase turns at the difference of the two frequencies: its slope over a
// window of whole periods gives the offset, and three windows in a row that agree make it
// steady.
class FrequencyMeter {
public:
    // stepFraction: periods of the reference per string step.
    void Setup(float stepFraction);
    // Forgets every window, after the string's time step changed.
    void Restart();
    // One phase reading, radians within -pi .. pi, after string step `step`. Returns the steady
    // offset, f / fReference - 1, when the latest three windows agree within `cents`.
    std::optional<double> Add(double phase, std::uint32_t step, double cents);

private:
    double radiansPerStep_ = 0;  // of the reference
    double windowSteps_ = 0;
    bool started_ = false;
    double previousPhase_ = 0;
    double unwrapped_ = 0;
    std::uint32_t windowStart_ = 0;
    double windowPhase_ = 0;  // unwrapped phase at the window's start
    // Least-squares sums of the window's phase against its step count.
    double count_ = 0, sumT_ = 0, sumP_ = 0, sumTT_ = 0, sumTP_ = 0;
    std::array<double, 3> offsets_{};
    int windows_ = 0;
};

}  // namespace sordanel
