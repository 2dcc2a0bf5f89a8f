#pragma once

#include "engine/sine_table.h"

namespace sordanel {

// A phase-locked loop between the string's middle point and a reference oscillator at the
// target frequency. Its phase error, scaled by the loop gain, corrects the string's time step.
class Autocorrection {
public:
    // What the loop compares with its reference. The bow holds the middle point off its rest
    // position; a light bow near the end of its range swings the string less than it pushes it
    // aside, and that offset, mixed with the reference, turns the measured phase round once a
    // period, so a loop that runs through the note never locks (+47 cents at C5). Following the
    // point's resting place and measuring the swing about it locks there too. The trial before
    // a measured note keeps the plain displacement: its correction only starts the check that
    // settles the note's clock, and the check holds more bow settings from it.
    enum class Input { Displacement, SwingAboutRest };

    void Setup(float stepFraction, Input input);  // constants and state for one run
    // One measurement, every fourth string step. `x` is the middle point's displacement;
    // `referenceScale` is 1 + vibratoTerm in real time (the loop follows the vibrato) and 1 in
    // the trial run.
    void Update(float x, double referenceScale, const SineTable& sine);

    float freqCorrection() const { return freqCorrection_; }
    void setFreqCorrection(float correction) { freqCorrection_ = correction; }

    float pole() const { return pole_; }
    float inputGain() const { return inputGain_; }

private:
    float pole_ = 0;
    float inputGain_ = 0;
    float levelDecay_ = 0;
    float referenceStep_ = 0;
    float pllPhase_ = 0;
    float pllI_ = 0;
    float pllQ_ = 0;
    float pllLevel_ = 0;
    float pllRest_ = 0;
    Input input_ = Input::Displacement;
    float freqCorrection_ = 0;
};

}  // namespace sordanel
