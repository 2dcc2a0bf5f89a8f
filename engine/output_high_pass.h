#pragma once

namespace sordanel {

// Takes the low end out of the output: the signal minus a one-pole low-pass whose corner follows
// the note. It is not a DC blocker: the corner lies far above the fundamental, so the filter
// rises by about 6 dB per octave over most of the audible band, and the output gain makes up
// part of what it takes from the fundamental.
class OutputHighPass {
public:
    // noteFrequency and sampleRate in Hz. The corner lies where it lies at 44100 Hz whatever
    // the rate: the coefficient is 60 note frequencies over the rate, at most 0.5 at 44100 Hz.
    void Setup(float noteFrequency, float sampleRate);
    void Reset() { lowPass_ = 0.0f; }

    float Step(float y) {
        lowPass_ =
            static_cast<float>(double{y} * coefficient_ + double{lowPass_} * (1.0 - coefficient_));
        return y - lowPass_;
    }

    float coefficient() const { return coefficient_; }
    // The factor the output gain gives back at the fundamental: sqrt(44100 x coefficient / f)
    // with the coefficient at 44100 Hz.
    double compensation() const { return compensation_; }

private:
    float coefficient_ = 0;
    double compensation_ = 0;
    float lowPass_ = 0;
};

}  // namespace sordanel
