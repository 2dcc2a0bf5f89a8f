#include "engine/interpolation_kernel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

#include "tests/fft.h"

namespace sordanel {
namespace {

// What each kernel must be: its shape, its published telling entries and its response.
struct KernelTargets {
    KernelKind kind;
    const char* name;
    std::uint32_t entries;
    std::uint32_t stride;
    std::uint32_t centre;
    double peak;
    double dcGain;             // sum of the entries / stride
    double flatUpTo;           // fraction of the step rate
    double minus3dBPoint;      // fraction of the step rate
    double attenuationAtHalf;  // dB below the zero-frequency response at half the step rate
    double stopBand;           // ... and at every frequency above it
    double peakTolerance;
    double entryTolerance;          // of the telling entries
    std::array<double, 8> telling;  // at 0, 0.5, 1, ... 3.5 steps from the centre
};

const KernelTargets kTargets[] = {
    {.kind = KernelKind::Preview,
     .name = "Preview",
     .entries = 849,
     .stride = 106,
     .centre = 384,
     .peak = 0.715095,
     .dcGain = 1.007,
     .flatUpTo = 0.2,
     .minus3dBPoint = 0.298,
     .attenuationAtHalf = 47.0,
     .stopBand = 47.0,
     .peakTolerance = 0.01,
     .entryTolerance = 0.02,
     .telling = {0.715095, 0.574916, 0.260918, -0.009597, -0.103614, -0.061802, -0.011261,
                 0.000115}},
    {.kind = KernelKind::Low,
     .name = "Low",
     .entries = 5877,
     .stride = 452,
     .centre = 2735,
     .peak = 0.735875,
     .dcGain = 1.022,
     .flatUpTo = 0.3,
     .minus3dBPoint = 0.338,
     .attenuationAtHalf = 49.0,
     .stopBand = 49.0,
     // The whole stop band at 49 dB moves the peak and the entry 3.5 steps out by 0.022.
     .peakTolerance = 0.025,
     .entryTolerance = 0.025,
     .telling = {0.735875, 0.573141, 0.212975, -0.079229, -0.148689, -0.053860, 0.048175,
                 0.069444}},
    {.kind = KernelKind::High,
     .name = "High",
     .entries = 59401,
     .stride = 2200,
     .centre = 28675,
     .peak = 0.802304,
     .dcGain = 0.980,
     .flatUpTo = 0.35,
     .minus3dBPoint = 0.383,
     .attenuationAtHalf = 61.0,
     .stopBand = 61.0,
     .peakTolerance = 0.01,
     .entryTolerance = 0.02,
     .telling = {0.802304, 0.606604, 0.184519, -0.127953, -0.153567, -0.003519, 0.097060,
                 0.056192}},
};

// Names the kernel in failure messages instead of dumping the record's bytes.
void PrintTo(const KernelTargets& targets, std::ostream* out) {
    *out << targets.name;
}

// The sum is fitted together with the entries, so it cannot be met to six places.
constexpr double kDcGainTolerance = 0.01;
constexpr double kMinus3dBTolerance = 0.01;

// Magnitude of the kernel's response at f (fraction of the step rate), the kernel taken as
// sampled `stride` times per step and centred on `centre`.
double ResponseAt(const InterpolationKernel& kernel, std::uint32_t centre, double f) {
    std::complex<double> sum = 0.0;
    const double radiansPerEntry = 2.0 * std::numbers::pi * f / kernel.stride;
    for (std::uint32_t x = 0; x < kernel.entries; ++x) {
        const double phase = radiansPerEntry * (static_cast<double>(x) - centre);
        sum += static_cast<double>(kernel.table[x]) * std::polar(1.0, -phase);
    }
    return std::abs(sum) / kernel.stride;
}

class InterpolationKernelTest : public ::testing::TestWithParam<KernelTargets> {
protected:
    const KernelTargets& targets_ = GetParam();
    const InterpolationKernel& kernel_ = GetInterpolationKernel(targets_.kind);

    float At(std::uint32_t x) const { return kernel_.table[x]; }

    // Response in dB relative to the response at zero frequency.
    double RelativeDb(double f) const {
        return 20.0 * std::log10(ResponseAt(kernel_, targets_.centre, f) /
                                 ResponseAt(kernel_, targets_.centre, 0.0));
    }
};

TEST_P(InterpolationKernelTest, HasItsSizeAndStride) {
    ASSERT_NE(kernel_.table, nullptr);
    EXPECT_EQ(kernel_.entries, targets_.entries);
    EXPECT_EQ(kernel_.stride, targets_.stride);
}

TEST_P(InterpolationKernelTest, PeaksAtTheCentreEntry) {
    const float* largest = std::max_element(kernel_.table, kernel_.table + kernel_.entries);
    EXPECT_EQ(largest - kernel_.table, targets_.centre) << "the largest entry is not the centre";
    EXPECT_NEAR(At(targets_.centre), targets_.peak, targets_.peakTolerance);
}

TEST_P(InterpolationKernelTest, IsSymmetricAboutTheCentre) {
    for (std::uint32_t d = 1; d <= targets_.centre; ++d) {
        ASSERT_NEAR(At(targets_.centre + d), At(targets_.centre - d), 0.005)
            << "at " << d << " entries from the centre";
    }
}

TEST_P(InterpolationKernelTest, VanishesAtBothEndsAndBeyondItsResponse) {
    EXPECT_NEAR(At(0), 0.0, 0.00001) << "first entry";
    EXPECT_NEAR(At(kernel_.entries - 1), 0.0, 0.00001) << "last entry";
    for (std::uint32_t x = 2 * targets_.centre + 1; x < kernel_.entries; ++x) {
        ASSERT_NEAR(At(x), 0.0, 0.00005) << "trailing entry " << x;
    }
}

TEST_P(InterpolationKernelTest, EntriesSumToTheStrideTimesItsGain) {
    double sum = 0.0;
    for (std::uint32_t x = 0; x < kernel_.entries; ++x) {
        sum += At(x);
    }
    EXPECT_NEAR(sum / kernel_.stride, targets_.dcGain, kDcGainTolerance);
}

TEST_P(InterpolationKernelTest, IsFlatWithinOneDbThroughItsPassBand) {
    for (int i = 1; i <= 40; ++i) {
        const double f = targets_.flatUpTo * i / 40.0;
        EXPECT_LE(std::abs(RelativeDb(f)), 1.0) << "at " << f << " of the step rate";
    }
}

TEST_P(InterpolationKernelTest, FallsToMinus3DbAtItsCorner) {
    // The response is above -1 dB at the end of the pass band and far down at half the
    // step rate; bisect between them for the -3 dB crossing.
    double below = targets_.flatUpTo;
    double above = 0.5;
    while (above - below > 1e-4) {
        const double middle = (below + above) / 2.0;
        (RelativeDb(middle) > -3.0 ? below : above) = middle;
    }
    EXPECT_NEAR(below, targets_.minus3dBPoint, kMinus3dBTolerance);
}

TEST_P(InterpolationKernelTest, AttenuatesHalfTheStepRate) {
    EXPECT_GE(-RelativeDb(0.5), targets_.attenuationAtHalf);
}

TEST_P(InterpolationKernelTest, AttenuatesTheWholeStopBand) {
    // Everything from half the step rate up folds back into the sound as inharmonic tones, so
    // no frequency there may pass, up to the highest the table holds. The table zero-padded to
    // some 0.004 of the step rate per bin finds every side lobe's top within a fraction of a dB.
    std::size_t size = 1;
    while (size < 250 * kernel_.stride) {
        size <<= 1;
    }
    std::vector<std::complex<double>> bins(size);
    std::copy(kernel_.table, kernel_.table + kernel_.entries, bins.begin());
    testing::Fft(bins);
    const double stepRatePerBin = static_cast<double>(kernel_.stride) / static_cast<double>(size);
    const double zeroFrequency = std::abs(bins[0]);
    double worstDb = -400;
    double worstAt = 0;
    for (std::size_t k = static_cast<std::size_t>(std::ceil(0.5 / stepRatePerBin)); k <= size / 2;
         ++k) {
        const double db = 20 * std::log10(std::abs(bins[k]) / zeroFrequency);
        if (db > worstDb) {
            worstDb = db;
            worstAt = static_cast<double>(k) * stepRatePerBin;
        }
    }
    EXPECT_LE(worstDb, -targets_.stopBand) << "at " << worstAt << " of the step rate";
}

TEST_P(InterpolationKernelTest, FollowsItsTellingEntries) {
    for (std::size_t i = 0; i < targets_.telling.size(); ++i) {
        const double steps = 0.5 * static_cast<double>(i);
        const auto x = targets_.centre + static_cast<std::uint32_t>(i * targets_.stride / 2);
        EXPECT_NEAR(At(x), targets_.telling[i], targets_.entryTolerance)
            << "at " << steps << " steps from the centre";
    }
}

INSTANTIATE_TEST_SUITE_P(AllKernels, InterpolationKernelTest, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<KernelTargets>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace sordanel
