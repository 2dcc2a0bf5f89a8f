#pragma once

namespace sordanel {

// Turns the string's force on the bridge into the body's drive force.
class BridgeFilter {
public:
    // stepFraction before vibrato or correction act; noteFrequency in Hz.
    void Setup(float stepFraction, float noteFrequency);
    void Reset();  // the state to rest
    // One string step: the drive force of the body.
    float Step(float bridgeForce) {
        v_ = static_cast<float>((double{bridgeForce} - force_) * a1_ + double{v_} * b1_);
        x_ = x_ + v_;
        y_ = static_cast<float>(double{x_} * c1_ + double{y_} * (1.0 - c1_));
        force_ = static_cast<float>((double{x_} - y_) * g1_);
        return force_;
    }

private:
    float a1_ = 0, b1_ = 0, c1_ = 0, g1_ = 0;
    float v_ = 0, x_ = 0, y_ = 0, force_ = 0;
};

}  // namespace sordanel
