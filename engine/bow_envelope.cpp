#include "engine/bow_envelope.h"

namespace sordanel {

float BowEnvelope(float p, float t1Ratio, float t2Ratio) {
    float envelope = 1.0f;
    if (p < t1Ratio) {
        envelope = static_cast<float>(AttackShare(double{p} / t1Ratio));
    }
    if (1.0 - double{t2Ratio} < p) {
        envelope = static_cast<float>(envelope * ReleaseShare(1.0 - (1.0 - double{p}) / t2Ratio));
    }
    if (p > 1.0f) {
        envelope = 0.0f;
    }
    return envelope;
}

float HeldBowEnvelope(double sinceOn, double sinceOff, double attack, double release) {
    double envelope = sinceOn < attack ? AttackShare(sinceOn / attack) : 1.0;
    if (sinceOff >= 0.0) {
        envelope = sinceOff < release ? envelope * ReleaseShare(sinceOff / release) : 0.0;
    }
    return static_cast<float>(envelope);
}

}  // namespace sordanel
