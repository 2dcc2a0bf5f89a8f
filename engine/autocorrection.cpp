#include "engine/autocorrection.h"

#include <cmath>

namespace sordanel {

void Autocorrection::Setup(float stepFraction, Input input) {
    input_ = input;
    const double h = stepFraction;
    pole_ = static_cast<float>(1 - 1.51 * h * 4);
    inputGain_ = static_cast<float>(1 - 4.0 * pole_);
    levelDecay_ = static_cast<float>(1 - 0.2 * h * 4);
    referenceStep_ = static_cast<float>(h * 256 * 4);  // one table per period of the note
    pllPhase_ = 0;
    pllI_ = 0;
    pllQ_ = 0;
    pllLevel_ = 0.001f;  // positive from the start, so the normalisation below is defined
    pllRest_ = 0;
    freqCorrection_ = 0;
}

void Autocorrection::Update(float x, double referenceScale, const SineTable& sine) {
    const float magnitude = std::fabs(x);
    pllLevel_ =
        magnitude > pllLevel_ ? magnitude : static_cast<float>(double{pllLevel_} * levelDecay_);

    pllPhase_ = static_cast<float>(pllPhase_ + referenceStep_ * referenceScale);
    if (static_cast<int>(pllPhase_) >= 256) {
        pllPhase_ = static_cast<float>(pllPhase_ - 256.0);
    }
    double swing = x;
    if (input_ == Input::SwingAboutRest) {
        pllRest_ = static_cast<float>(double{pllRest_} * levelDecay_ + (1.0 - levelDecay_) * x);
        swing -= pllRest_;
    }
    const auto j = static_cast<unsigned>(static_cast<int>(pllPhase_)) & 255u;
    const double level = pllLevel_;
    pllI_ =
        static_cast<float>(double{inputGain_} * sine[j] * swing / level + double{pole_} * pllI_);
    pllQ_ = static_cast<float>(double{inputGain_} * sine[(j + 64) & 255u] * swing / level +
                               double{pole_} * pllQ_);
    freqCorrection_ = static_cast<float>(double{std::atan2(pllI_, pllQ_)} * 0.06);
}

}  // namespace sordanel
