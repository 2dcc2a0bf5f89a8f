#include "engine/settings_text.h"

#include <gtest/gtest.h>

#include <clocale>

namespace sordanel {
namespace {

TEST(TypedResonanceFreq, TakesLeadingDigitsAndClamps) {
    EXPECT_EQ(TypedResonanceFreq("280"), 280);
    EXPECT_EQ(TypedResonanceFreq("20"), 40);
    EXPECT_EQ(TypedResonanceFreq("99999"), 1500);
    EXPECT_EQ(TypedResonanceFreq(""), 40) << "an empty box means 0, clamped up";
    EXPECT_EQ(TypedResonanceFreq("415Hz"), 415);
    EXPECT_EQ(TypedResonanceFreq("x415"), 40);
    EXPECT_EQ(TypedResonanceFreq("0000450999"), 450) << "only the first seven characters";
    EXPECT_EQ(TypedResonanceFreq("9999999999999"), 1500);
}

TEST(TypedDuration, ClampsRejectsAndKeepsTheTypedValue) {
    EXPECT_EQ(TypedDuration("1.234"), 1.234f);
    EXPECT_EQ(TypedDuration("  10"), 10.0f);
    EXPECT_EQ(TypedDuration("+2.5s"), 2.5f);
    EXPECT_EQ(TypedDuration("25"), 20.0f);
    EXPECT_EQ(TypedDuration("0.05"), 0.07f);
    EXPECT_EQ(TypedDuration("1e3"), 20.0f);
    EXPECT_EQ(TypedDuration("1e999"), 20.0f);
    EXPECT_EQ(TypedDuration("inf"), 20.0f);
    for (const char* rejected : {"0", "-3", "abc", "", "1e-999", "nan", "0.00000001", "-inf"}) {
        EXPECT_FALSE(TypedDuration(rejected).has_value()) << '"' << rejected << '"';
    }
    EXPECT_EQ(TypedDuration(std::string(28, ' ') + "7"), 7.0f) << "the 29th character counts";
    EXPECT_FALSE(TypedDuration(std::string(29, ' ') + "7").has_value()) << "the 30th does not";
}

TEST(TypedDuration, ReadsAPointWhateverTheLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(TypedDuration("1.5"), 1.5f);
    EXPECT_EQ(FormatDuration(1.5f), "1.5");
    if (previous != nullptr)
        std::setlocale(LC_NUMERIC, "C");
}

TEST(DurationSliderPosition, NearestStepWithMidpointsGoingUp) {
    EXPECT_EQ(DurationSliderPosition(0.07f), 0);
    EXPECT_EQ(DurationSliderPosition(0.75f), 9) << "the midpoint of 0.7 and 0.8";
    EXPECT_EQ(DurationSliderPosition(1.5f), 14) << "the midpoint of 1.4 and 1.6";
    EXPECT_EQ(DurationSliderPosition(1.234f), 12);
    EXPECT_EQ(DurationSliderPosition(2.874f), 19);
    EXPECT_EQ(DurationSliderPosition(2.875f), 20);
    EXPECT_EQ(DurationSliderPosition(20.0f), 20);
}

TEST(SettingsFormats, SignedDurationAndTenths) {
    EXPECT_EQ(FormatSigned(5), "+5");
    EXPECT_EQ(FormatSigned(0), "0");
    EXPECT_EQ(FormatSigned(-12), "-12");
    EXPECT_EQ(FormatDuration(0.8f), "0.8");
    EXPECT_EQ(FormatDuration(0.07f), "0.07");
    EXPECT_EQ(FormatDuration(1.234f), "1.234");
    EXPECT_EQ(FormatDuration(20.0f), "20");
    EXPECT_EQ(FormatDuration(12.345f), "12.35");
    EXPECT_EQ(FormatTenths(9.0f), "9.0");
    EXPECT_EQ(FormatTenths(0.5f), "0.5");
}

}  // namespace
}  // namespace sordanel
