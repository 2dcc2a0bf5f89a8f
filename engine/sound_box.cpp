#include "engine/sound_box.h"

#include <cmath>

#include "engine/hot_path.h"

namespace sordanel {

namespace {

// The box stage runs only above this share of box sound.
constexpr float kMinBoxRatio = 0.0001f;

}  // namespace

void SoundBox::BuildResonatorBank(const BodyResonances& body, float stepRate, float stepFraction,
                                  float noteFrequency, float stringToBoxRatio,
                                  std::int32_t pointCount) {
    count_ = 0;
    for (auto* lanes : {&damping_, &stiffness_, &gain_}) {
        lanes->fill(0.0f);
    }
    velocity_.fill(Float4{});
    displacement_.fill(Float4{});
    bridge_.Setup(stepFraction, noteFrequency);
    stringToBoxRatio_ = stringToBoxRatio;
    stringWeight_ = 1.0 - double{stringToBoxRatio};
    pointReciprocal_ = 1.0 / pointCount;
    if (stringToBoxRatio > kMinBoxRatio) {
        for (std::size_t k = 0; k < body.count; ++k) {
            Append(body.list[k].freqHz, body.list[k].widthHz, body.list[k].amplitudeDb, stepRate);
        }
    }
    for (std::size_t k = 0; k < kLanes; ++k) {
        dampingLanes_[k / 4][k % 4] = damping_[k];
        stiffnessLanes_[k / 4][k % 4] = stiffness_[k];
        gainLanes_[k / 4][k % 4] = gain_[k];
    }
}

SORDANEL_HOT_PATH float SoundBox::BoxStep(float bridgeForce, float stringSum) {
    return Block(*this).Step(bridgeForce, stringSum);
}

void SoundBox::Append(float freqHz, float widthHz, float amplitudeDb, float stepRate) {
    // The constants are the single-precision values nearest 12.57 and 39.478 (not 4 pi and
    // 4 pi squared), and the frequency ratio is rounded before and after squaring.
    const float dampingPerHz = 12.57f;
    const float stiffnessScale = 39.478f;
    const std::size_t k = count_++;
    damping_[k] = static_cast<float>(1 - double{dampingPerHz} * widthHz / stepRate);
    const float ratio = static_cast<float>(double{freqHz} / stepRate);
    const float ratioSquared = ratio * ratio;
    stiffness_[k] = static_cast<float>(double{ratioSquared} * stiffnessScale);
    gain_[k] = static_cast<float>(std::pow(10.0, amplitudeDb / 20.0) * (1.0 - damping_[k]) /
                                  stiffness_[k]);
}

}  // namespace sordanel
