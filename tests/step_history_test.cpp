#include "step_history.h"

#include <gtest/gtest.h>

#include <vector>

#include "generation_settings.h"
#include "run_setup.h"

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

}  // namespace
}  // namespace sordanel
