#include "engine/vibrato.h"

namespace sordanel {

void Vibrato::Setup(float speedHz, std::int32_t depthCents, float stepRate) {
    vibratoStep_ = static_cast<float>(double{speedHz} / stepRate * 256);
    // (2^(1/12) - 1) / 100 per cent: linear in the depth, exact at 100 cents.
    const float swingPerCent = 0.000594631f;
    vibratoScale_ = static_cast<float>(depthCents * double{swingPerCent});
}

}  // namespace sordanel
