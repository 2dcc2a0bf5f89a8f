#include "autocorrection.h"

#include <cmath>

namespace sordanel {

namespace {

constexpr double kLoopGain = 0.06;  // correction per radian of phase

}  // namespace

void Autocorrection::Setup(float stepFraction) {
    const double h = stepFraction;
    pole_ = static_cast<float>(1 - 1.51 * h * 4);
    inputGain_ = static_cast<float>(1 - 4.0 * pole_);
    levelDecay_ = static_cast<float>(1 - 0.2 * h * 4);
    referenceStep_ = static_cast<float>(h * 256 * 4);  // one table per period of the note
    // The middle point's mean over about two periods: a bow that drags the string aside
    // without setting it vibrating moves the mean, which the loop must not take for a tone.
    meanFollow_ = static_cast<float>(h * 2);
    base_ = 0;
    gain_ = kLoopGain;
    Restart();
}

void Autocorrection::Restart() {
    pllPhase_ = 0;
    pllI_ = 0;
    pllQ_ = 0;
    pllLevel_ = 0.001f;  // positive from the start, so the normalisation below is defined
    mean_ = 0;
    phase_ = 0;
    freqCorrection_ = base_;
}

void Autocorrection::Update(float x, double referenceScale, const SineTable& sine) {
    mean_ = static_cast<float>(mean_ + (double{x} - mean_) * meanFollow_);
    const auto swing = static_cast<float>(double{x} - mean_);
    const float magnitude = std::fabs(swing);
    pllLevel_ =
        magnitude > pllLevel_ ? magnitude : static_cast<float>(double{pllLevel_} * levelDecay_);

    pllPhase_ = static_cast<float>(pllPhase_ + referenceStep_ * referenceScale);
    if (static_cast<int>(pllPhase_) >= 256) {
        pllPhase_ = static_cast<float>(pllPhase_ - 256.0);
    }
    const auto j = static_cast<unsigned>(static_cast<int>(pllPhase_)) & 255u;
    const double level = pllLevel_;
    pllI_ =
        static_cast<float>(double{inputGain_} * sine[j] * swing / level + double{pole_} * pllI_);
    pllQ_ = static_cast<float>(double{inputGain_} * sine[(j + 64) & 255u] * swing / level +
                               double{pole_} * pllQ_);
    phase_ = std::atan2(pllI_, pllQ_);
    freqCorrection_ = static_cast<float>(base_ + double{phase_} * gain_);
}

}  // namespace sordanel
