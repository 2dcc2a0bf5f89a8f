#include "trial_run.h"

#include <cmath>
#include <cstdint>

#include "autocorrection.h"
#include "sine_table.h"

namespace sordanel {

float MeasureCorrection(const RunSetup& run, const BowInputs& bow) {
    SineTable sine;
    FillSineTable(sine);
    BowedString string;
    string.Setup(run.profile.pointCount, run.bowPoint);
    Autocorrection autocorrection;
    autocorrection.Setup(run.stepFraction);
    const std::int32_t middle = run.profile.pointCount / 2;
    const std::uint32_t samples = run.precalcBlocks * kBlockSamples;

    float correctionSum = 0.0f;
    std::uint32_t stepCount = 0;
    for (std::uint32_t sampleIndex = 0; sampleIndex < samples; ++sampleIndex) {
        if (sampleIndex % 4 == 0) {
            const auto timeStep =
                static_cast<float>((1.0 + autocorrection.freqCorrection()) * run.stepFraction);
            string.RefreshConstantBow(bow, timeStep);
        }
        const auto targetTime =
            static_cast<float>(static_cast<double>(sampleIndex) / run.samplesPerStep);
        const auto targetStep = static_cast<std::uint32_t>(std::floor(targetTime));
        while (stepCount < targetStep) {
            string.Step(bow.bowSpeed, bow.bowSpeed);
            if (stepCount % 4 == 0) {
                autocorrection.Update(string.displacement(middle), 1.0, sine);
            }
            if (stepCount > run.settleSteps) {
                correctionSum += autocorrection.freqCorrection();
            }
            ++stepCount;
        }
    }
    return static_cast<float>(double{correctionSum} / (stepCount - run.settleSteps));
}

}  // namespace sordanel
