#include "engine/bridge_filter.h"

#include <cmath>

namespace sordanel {

void BridgeFilter::Setup(float stepFraction, float noteFrequency) {
    const double h = stepFraction;
    a1_ = static_cast<float>(14.212 * h * h);
    b1_ = static_cast<float>(1 - 4.902 * h);
    c1_ = static_cast<float>(3.77 * h);
    g1_ = static_cast<float>(60 / std::sqrt(double{noteFrequency}));
    Reset();
}

void BridgeFilter::Reset() {
    v_ = x_ = y_ = force_ = 0.0f;
}

}  // namespace sordanel
