#include "engine/step_history.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "engine/generation_settings.h"
#include "engine/run_setup.h"
#include "engine/settings_tables.h"

namespace sordanel {
namespace {

TEST(StepHistory, EveryTapOfTheHighestNoteReadsAValueOfItsOwn) {
    GenerationSettings settings;
    settings.quality = Quality::High;
    settings.noteIndex = 0;  // E7
    settings.detune = 105;
    const RunSetup run = ComputeRunSetup(settings, false);
    ASSERT_GT(run.kernelTaps, 1024u) << "the case that needs more history than one ring of 1024";
    ASSERT_LE(run.kernelTaps, StepHistory::kSize);

    // Each step stores its own number; a kernel of ones then sums the last kernelTaps steps,
    // which only comes out right when no tap reads a value twice.
    StepHistory history;
    history.Clear();
    const std::uint32_t last = 5000;
    for (std::uint32_t step = 1; step <= last; ++step) {
        history.Store(step, static_cast<float>(step));
    }
    const std::vector<float> ones(10000, 1.0f);
    const InterpolationKernel flat{ones.data(), static_cast<std::uint32_t>(ones.size()), 1};
    const float sum = history.InterpolateOutput(flat, 1.0f, run.kernelTaps, last, 0.0f);
    double expected = 0;
    for (std::uint32_t i = 0; i < run.kernelTaps; ++i)
        expected += last - i;
    EXPECT_FLOAT_EQ(sum, static_cast<float>(expected));
}

TEST(StepHistory, StartsEmptyAndTheFirstStepLandsInEntryOne) {
    StepHistory history;
    history.Clear();
    history.Store(1, 0.5f);
    EXPECT_EQ(history.At(0), 0.0f);
    EXPECT_EQ(history.At(1), 0.5f);
    EXPECT_EQ(history.At(1 + StepHistory::kSize), 0.5f) << "a ring";
}

// The plain reading the engine's is measured against: every tap in order, the kernel taken
// on the straight line between the entries around the tap's position, one double sum.
struct InOrderSum {
    double sum = 0;
    double magnitude = 0;  // sum of the products' sizes, the scale of any rounding
};

InOrderSum InterpolateInOrder(const std::vector<float>& steps, const InterpolationKernel& kernel,
                              float kernelStep, std::uint32_t taps, std::uint32_t targetStep,
                              double stepPhase) {
    InOrderSum result;
    for (std::uint32_t i = 0; i < taps; ++i) {
        const double position = i * double{kernelStep} + stepPhase;
        const auto entry = static_cast<std::uint32_t>(position);
        const double below = kernel.table[entry];
        const double above = kernel.table[entry + 1];
        const double weight = below + (above - below) * (position - entry);
        const double product = double{steps[targetStep - i]} * weight;
        result.sum += product;
        result.magnitude += std::abs(product);
    }
    return result;
}

// Long random runs through the notes' own kernels, steps and tap counts, read both through the
// prepared rows and directly: every output stays within one float rounding of the in-order sum,
// and so far within one 16-bit unit of the run's loudest value. The phases include every whole
// entry and the double just below it, where the row switches and a tap's position passes into
// the next pair of entries.
TEST(StepHistory, InterpolationMatchesTheInOrderSumOnLongRandomRuns) {
    struct Note {
        const char* name;
        int quality;
        bool preview = false;
    };
    for (const Note note : {Note{"E7", 0}, Note{"E7", 1}, Note{"C5", 0}, Note{"C1", 0},
                            Note{"C1", 1}, Note{"E7", 0, true}, Note{"C5", 0, true}}) {
        GenerationSettings settings;
        settings.noteIndex = FindNoteIndex(note.name);
        settings.quality = static_cast<Quality>(note.quality);
        const RunSetup run = ComputeRunSetup(settings, note.preview);
        const InterpolationKernel& kernel = GetInterpolationKernel(run.profile.kernel);
        SCOPED_TRACE(::testing::Message()
                     << note.name << " quality " << note.quality << (note.preview ? " preview" : "")
                     << " kernelStep " << run.kernelStep);

        std::mt19937 random(static_cast<unsigned>(settings.noteIndex * 2 + note.quality));
        std::uniform_real_distribution<float> value(-1.0f, 1.0f);
        std::vector<double> phases;
        for (std::uint32_t entry = 0; entry < run.kernelStep; ++entry) {
            phases.push_back(entry);
            phases.push_back(std::nextafter(static_cast<double>(entry), -1.0));
        }
        std::uniform_real_distribution<double> phase(0.0, run.kernelStep);
        while (phases.size() < 12000) {
            phases.push_back(phase(random));
        }

        StepHistory prepared;
        prepared.Clear();
        prepared.PrepareKernel(kernel, run.kernelStep, run.kernelTaps);
        StepHistory direct;
        direct.Clear();
        std::vector<float> steps(run.kernelTaps + phases.size() + 1);
        std::uint32_t targetStep = 0;
        for (; targetStep < run.kernelTaps; ++targetStep) {
            steps[targetStep] = value(random);
            prepared.Store(targetStep, steps[targetStep]);
            direct.Store(targetStep, steps[targetStep]);
        }
        double loudest = 0;
        double worst = 0;
        for (const double stepPhase : phases) {
            steps[targetStep] = value(random);
            prepared.Store(targetStep, steps[targetStep]);
            direct.Store(targetStep, steps[targetStep]);
            const InOrderSum expected = InterpolateInOrder(steps, kernel, run.kernelStep,
                                                           run.kernelTaps, targetStep, stepPhase);
            const auto rounded = static_cast<float>(expected.sum);
            const double tolerance =
                std::nextafter(std::abs(rounded), std::numeric_limits<float>::infinity()) -
                std::abs(rounded) + 1e-12 * expected.magnitude;
            for (const StepHistory* history : {&prepared, &direct}) {
                const float got = history->InterpolateOutput(kernel, run.kernelStep, run.kernelTaps,
                                                             targetStep, stepPhase);
                ASSERT_LE(std::abs(double{got} - rounded), tolerance)
                    << "phase " << stepPhase << (history == &prepared ? " rows" : " direct");
                worst = std::max(worst, std::abs(double{got} - expected.sum));
            }
            loudest = std::max(loudest, std::abs(expected.sum));
            ++targetStep;
        }
        EXPECT_LT(worst, loudest / 32767);
    }
}

}  // namespace
}  // namespace sordanel
