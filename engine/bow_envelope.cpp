#include "bow_envelope.h"

namespace sordanel {

float BowEnvelope(float p, float t1Ratio, float t2Ratio) {
    float envelope = 1.0f;
    if (p < t1Ratio) {
        envelope = static_cast<float>(1.0 - (1.0 - double{p} / t1Ratio) * 0.88);
    }
    if (1.0 - double{t2Ratio} < p) {
        const double rise = 1.0 - (1.0 - double{p}) / t2Ratio;
        envelope = static_cast<float>(envelope * (1.0 - rise * rise));
    }
    if (p > 1.0f) {
        envelope = 0.0f;
    }
    return envelope;
}

}  // namespace sordanel
