#include "cli/render_options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/setting_options.h"
#include "engine/setting_table.h"

namespace sordanel {
namespace {

struct Parsed {
    std::variant<RenderRequest, EarlyExit> outcome;
    bool ok() const { return std::holds_alternative<RenderRequest>(outcome); }
    const RenderRequest& request() const { return std::get<RenderRequest>(outcome); }
    const EarlyExit& exit() const { return std::get<EarlyExit>(outcome); }
};

Parsed Parse(GenerationSettings& settings, std::vector<std::string> args) {
    args.insert(args.begin(), "sordanel-render");
    std::vector<const char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    return {ParseRenderOptions(static_cast<int>(argv.size()), argv.data(), settings)};
}

TEST(RenderOptions, OnlyAnOutputKeepsEveryDefault) {
    GenerationSettings settings;
    const GenerationSettings defaults;
    const Parsed parsed = Parse(settings, {"-o", "/out/note.wav"});
    ASSERT_TRUE(parsed.ok());
    EXPECT_FALSE(parsed.request().preview);
    EXPECT_FALSE(parsed.request().printConstants);
    EXPECT_EQ(settings.outputPath, "/out/note.wav");
    EXPECT_EQ(settings.noteIndex, defaults.noteIndex);
    EXPECT_EQ(settings.justIntonation, Temperament::Equal);
    EXPECT_EQ(settings.bowPressingForce, defaults.bowPressingForce);
    EXPECT_EQ(settings.duration, defaults.duration);
    EXPECT_TRUE(settings.maximize);
    EXPECT_FALSE(settings.vibratoOn);
    EXPECT_EQ(settings.resonanceOn, defaults.resonanceOn);
    EXPECT_EQ(settings.autocorrection, AutocorrectionMode::Precalculated);
}

TEST(RenderOptions, EveryOptionReachesItsField) {
    GenerationSettings s;
    const Parsed parsed = Parse(s, {"--output",
                                    "/out/a.wav",
                                    "--note",
                                    "C#4",
                                    "--just",
                                    "G",
                                    "--detune",
                                    "-20",
                                    "--vibrato",
                                    "--vibrato-speed",
                                    "0.7",
                                    "--vibrato-depth",
                                    "55",
                                    "--autocorrection",
                                    "realtime",
                                    "--force",
                                    "2.5",
                                    "--speed",
                                    "0.3",
                                    "--position",
                                    "0.2",
                                    "--damping",
                                    "0.01",
                                    "--friction-ratio",
                                    "0.4",
                                    "--t1",
                                    "0.3",
                                    "--t2",
                                    "0.6",
                                    "--box-ratio",
                                    "0.75",
                                    "--resonance",
                                    "1=300,25,12",
                                    "--resonance",
                                    "4=1500,200,20",
                                    "--resonance-off",
                                    "2",
                                    "--resonance-on",
                                    "3",
                                    "--pseudorandom-amp",
                                    "12",
                                    "--quality",
                                    "high",
                                    "--no-maximize",
                                    "--duration",
                                    "12.5",
                                    "--preview",
                                    "--print-constants"});
    ASSERT_TRUE(parsed.ok()) << parsed.exit().text;
    EXPECT_TRUE(parsed.request().preview);
    EXPECT_TRUE(parsed.request().printConstants);
    EXPECT_EQ(s.noteIndex, 39);
    EXPECT_EQ(s.justIntonation, Temperament::Just);
    EXPECT_EQ(s.keyIndex, 7);
    EXPECT_EQ(s.detune, -20);
    EXPECT_TRUE(s.vibratoOn);
    EXPECT_EQ(s.vibratoSpeedIndex, 2);
    EXPECT_EQ(s.vibratoDepth, 55);
    EXPECT_EQ(s.autocorrection, AutocorrectionMode::RealTime);
    EXPECT_FLOAT_EQ(s.bowPressingForce, 2.5f);
    EXPECT_FLOAT_EQ(s.bowSpeed, 0.3f);
    EXPECT_FLOAT_EQ(s.bowPosition, 0.2f);
    EXPECT_FLOAT_EQ(s.stringDamping, 0.01f);
    EXPECT_FLOAT_EQ(s.frictionRatio, 0.4f);
    EXPECT_FLOAT_EQ(s.t1Ratio, 0.3f);
    EXPECT_FLOAT_EQ(s.t2Ratio, 0.6f);
    EXPECT_FLOAT_EQ(s.stringToBoxRatio, 0.75f);
    EXPECT_EQ(s.resonanceFreq[0], 300);
    EXPECT_EQ(s.resonanceWidthIndex[0], 6);
    EXPECT_EQ(s.resonanceAmp[0], 12);
    EXPECT_EQ(s.resonanceFreq[3], 1500);
    EXPECT_EQ(s.resonanceWidthIndex[3], 15);
    EXPECT_EQ(s.resonanceAmp[3], 20);
    EXPECT_EQ(s.resonanceOn, (std::array<bool, 3>{false, true, true}));
    EXPECT_EQ(s.pseudorandomAmp, 12);
    EXPECT_TRUE(s.pseudorandomResonances);
    EXPECT_EQ(s.quality, Quality::High);
    EXPECT_FALSE(s.maximize);
    EXPECT_FLOAT_EQ(s.duration, 12.5f);
}

TEST(RenderOptions, SettingAPartThatIsOffSwitchesItOn) {
    GenerationSettings vibrato;
    ASSERT_TRUE(Parse(vibrato, {"-o", "a.wav", "--vibrato-depth", "30"}).ok());
    EXPECT_TRUE(vibrato.vibratoOn);
    EXPECT_EQ(vibrato.vibratoSpeedIndex, 23);

    GenerationSettings volume;
    ASSERT_TRUE(Parse(volume, {"-o", "a.wav", "--volume", "-20"}).ok());
    EXPECT_EQ(volume.volumeDb, -20);
    EXPECT_FALSE(volume.maximize) << "a volume under Maximize would be silently ignored";

    GenerationSettings resonance;
    ASSERT_TRUE(Parse(resonance, {"-o", "a.wav", "--resonance", "3=212,13,9"}).ok());
    EXPECT_EQ(resonance.resonanceOn, (std::array<bool, 3>{true, true, false}));

    GenerationSettings noPseudorandom;
    ASSERT_TRUE(Parse(noPseudorandom, {"-o", "a.wav", "--no-pseudorandom"}).ok());
    EXPECT_FALSE(noPseudorandom.pseudorandomResonances);
}

std::string Exact(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", double{value});
    return text;
}

// Every value the window can give a setting, the renderer takes, and to the same float: the
// slider's every position, the ends and default of each range, and what the help shows.
TEST(RenderOptions, EveryValueTheWindowGivesIsAdmittedAsTheSameFloat) {
    for (const SettingRow& row : kSettingRows) {
        if (row.option.empty() || row.kind == SettingKind::Toggle) {
            continue;
        }
        SCOPED_TRACE(std::string(row.option));
        std::vector<float> values = {row.Low(), row.High(), row.Default()};
        for (int p = 0; row.slider.at != nullptr && p <= row.slider.positions; ++p) {
            values.push_back(row.slider.at(p, row.slider.positions));
        }
        for (std::size_t i = 0; i < row.listedCount; ++i) {
            values.push_back(row.listedAt(i));
        }
        for (const float value : values) {
            const std::string text = row.kind == SettingKind::Choice
                                         ? std::string(row.words[static_cast<std::size_t>(value)])
                                         : Exact(value);
            GenerationSettings s;
            const Parsed parsed = Parse(s, {"-o", "a.wav", std::string(row.option), text});
            ASSERT_TRUE(parsed.ok()) << text << ": " << parsed.exit().text;
            EXPECT_EQ(row.access.read(s), value) << text;
        }
        // The ends the help shows are rounded for reading, inward, so they are admitted too.
        if (row.kind == SettingKind::Real) {
            const std::string shown = AdmittedText(row);
            const auto dots = shown.find("..");
            const auto end = shown.find(' ', dots);
            for (const std::string& text :
                 {shown.substr(0, dots), shown.substr(dots + 2, end - dots - 2)}) {
                GenerationSettings s;
                EXPECT_TRUE(Parse(s, {"-o", "a.wav", std::string(row.option), text}).ok()) << text;
            }
        }
    }
}

TEST(RenderOptions, SignedNumbersNamesInAnyCaseAndFlagsAreTaken) {
    GenerationSettings s;
    const Parsed parsed = Parse(s, {"-o", "a.wav", "--detune", "+105", "--note", "c#5", "--just",
                                    "a#", "--quality", "HIGH", "--resonance", "2=40,16,1"});
    ASSERT_TRUE(parsed.ok()) << parsed.exit().text;
    EXPECT_EQ(s.detune, 105);
    EXPECT_EQ(s.noteIndex, FindNoteIndex("C#5"));
    EXPECT_EQ(s.keyIndex, 10);
    EXPECT_EQ(s.justIntonation, Temperament::Just);
    EXPECT_EQ(s.quality, Quality::High);
    EXPECT_EQ(s.resonanceWidthIndex[1], 4);

    GenerationSettings flags;
    ASSERT_TRUE(
        Parse(flags, {"-o", "a.wav", "--vibrato", "--no-pseudorandom", "--no-maximize"}).ok());
    EXPECT_TRUE(flags.vibratoOn);
    EXPECT_FALSE(flags.pseudorandomResonances);
    EXPECT_FALSE(flags.maximize);
}

TEST(RenderOptions, AnUnknownOptionPointsToTheHelpInLinesOfItsOwn) {
    GenerationSettings settings;
    const Parsed parsed = Parse(settings, {"-o", "a.wav", "--frobnicate\nx"});
    ASSERT_FALSE(parsed.ok());
    EXPECT_EQ(parsed.exit().code, kUsageExitCode);
    EXPECT_EQ(parsed.exit().text,
              "sordanel-render: unknown option --frobnicate\\x0ax\n"
              "Run 'sordanel-render --help' for the options.\n");
    const Parsed stray = Parse(settings, {"-o", "a.wav", "C5"});
    ASSERT_FALSE(stray.ok());
    EXPECT_NE(stray.exit().text.find("--help"), std::string::npos) << stray.exit().text;
}

TEST(RenderOptions, RelativeOutputIsMadeAbsolute) {
    GenerationSettings s;
    ASSERT_TRUE(Parse(s, {"-o", "take1.wav"}).ok());
    EXPECT_EQ(s.outputPath, (std::filesystem::current_path() / "take1.wav").string());
}

struct BadCommandLine {
    std::vector<std::string> args;
    std::vector<std::string> mentions;  // option, value and admitted range
};

class RenderOptionsRefusal : public ::testing::TestWithParam<BadCommandLine> {};

TEST_P(RenderOptionsRefusal, IsAOneLineUsageErrorNamingOptionValueAndRange) {
    GenerationSettings settings;
    std::vector<std::string> args = {"-o", "/out/a.wav"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const Parsed parsed = Parse(settings, args);
    ASSERT_FALSE(parsed.ok());
    EXPECT_EQ(parsed.exit().code, kUsageExitCode);
    const std::string& text = parsed.exit().text;
    EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
    for (const std::string& mention : GetParam().mentions) {
        EXPECT_NE(text.find(mention), std::string::npos) << text << " lacks " << mention;
    }
}

INSTANTIATE_TEST_SUITE_P(
    BadValues, RenderOptionsRefusal,
    ::testing::Values(
        BadCommandLine{{"--force", "3.6"}, {"--force", "\"3.6\"", "0.351..3.5"}},
        BadCommandLine{{"--force", "1.5x"}, {"--force", "\"1.5x\"", "not a number"}},
        BadCommandLine{{"--speed", "nan"}, {"--speed", "\"nan\"", "0.06016..0.6"}},
        BadCommandLine{{"--position", "0.04"}, {"--position", "0.05..0.35"}},
        BadCommandLine{{"--damping", "inf"}, {"--damping", "\"inf\"", "0.0002513..0.025"}},
        BadCommandLine{{"--friction-ratio", "0.51"}, {"--friction-ratio", "0.07..0.5"}},
        BadCommandLine{{"--t1", "0.7"}, {"--t1", "\"0.7\"", "0.05..0.65"}},
        BadCommandLine{{"--t2", "0"}, {"--t2", "0.05..0.65"}},
        BadCommandLine{{"--box-ratio", "-0.1"}, {"--box-ratio", "\"-0.1\"", "0..1"}},
        BadCommandLine{{"--duration", "20.5"}, {"--duration", "\"20.5\"", "0.07..20 s"}},
        BadCommandLine{{"--duration", ""}, {"--duration", "not a number"}},
        BadCommandLine{{"--note", "H4"}, {"--note", "\"H4\"", "C1..E7"}},
        BadCommandLine{{"--note", "Db4"}, {"--note", "sharps only"}},
        BadCommandLine{{"--note", ""}, {"--note", "\"\"", "C1..E7"}},
        BadCommandLine{{"--just", "Bb"}, {"--just", "\"Bb\"", "C, C#, D"}},
        BadCommandLine{{"--detune", "106"}, {"--detune", "\"106\"", "-105..105 cents"}},
        BadCommandLine{{"--detune", "2.5"}, {"--detune", "whole number"}},
        BadCommandLine{{"--vibrato-speed", "9.5"}, {"--vibrato-speed", "\"9.5\"", "8, 9, 10"}},
        BadCommandLine{{"--vibrato-depth", "12"},
                       {"--vibrato-depth", "10..150 cents in steps of 5"}},
        BadCommandLine{{"--vibrato-depth", "155"}, {"--vibrato-depth", "\"155\""}},
        BadCommandLine{{"--autocorrection", "on"},
                       {"--autocorrection", "realtime, precalculated, off"}},
        BadCommandLine{{"--quality", "medium"}, {"--quality", "\"medium\"", "low, high"}},
        BadCommandLine{{"--volume", "31"}, {"--volume", "\"31\"", "-20..30 dB"}},
        BadCommandLine{{"--pseudorandom-amp", "13"}, {"--pseudorandom-amp", "\"13\"", "1..12 dB"}},
        BadCommandLine{{"--resonance", "5=280,20,9"}, {"--resonance", "\"5=280,20,9\"", "N 1..4"}},
        BadCommandLine{{"--resonance", "1=39,16,9"}, {"--resonance", "F 40..1500"}},
        BadCommandLine{{"--resonance", "1=280,21,9"}, {"--resonance", "not offered", "6, 8, 10"}},
        BadCommandLine{{"--resonance", "1=40,20,9"}, {"--resonance", "18 Hz", "0.46 x F"}},
        BadCommandLine{{"--resonance", "1=280,20,21"}, {"--resonance", "A 1..20"}},
        BadCommandLine{{"--resonance", "1=280,20"}, {"--resonance", "N=F,dF,A"}},
        BadCommandLine{{"--resonance-on", "1"}, {"--resonance-on", "\"1\"", "2..4"}},
        BadCommandLine{{"--resonance-off", "5"}, {"--resonance-off", "\"5\"", "2..4"}},
        BadCommandLine{{"--resonance-on", "3", "--resonance-off", "3"},
                       {"--resonance-off", "\"3\""}},
        BadCommandLine{{"--no-pseudorandom", "--pseudorandom-amp", "3"}, {"--pseudorandom-amp"}},
        BadCommandLine{{"--force", "1", "--force", "2"}, {"--force"}},
        BadCommandLine{{"--force", "0.3509"}, {"--force", "0.351..3.5"}},
        BadCommandLine{{"--note", "c\n5"}, {"--note", "c\\x0a5"}}));

TEST(RenderOptions, OutputIsRequiredAndItsLengthLimited) {
    GenerationSettings settings;
    const Parsed missing = Parse(settings, {"--note", "A4"});
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.exit().code, kUsageExitCode);
    EXPECT_NE(missing.exit().text.find("--output"), std::string::npos);

    const Parsed tooLong = Parse(settings, {"-o", "/" + std::string(390, 'a')});
    ASSERT_FALSE(tooLong.ok());
    EXPECT_EQ(tooLong.exit().code, kUsageExitCode);
    EXPECT_NE(tooLong.exit().text.find("File path too long"), std::string::npos);
    EXPECT_NE(tooLong.exit().text.find("390"), std::string::npos);
    EXPECT_TRUE(settings.outputPath.empty());

    EXPECT_TRUE(Parse(settings, {"-o", "/" + std::string(389, 'a')}).ok());
}

TEST(RenderOptions, HelpAndVersionEndWithoutAnOutput) {
    GenerationSettings settings;
    const Parsed help = Parse(settings, {"--help"});
    ASSERT_FALSE(help.ok());
    EXPECT_EQ(help.exit().code, 0);
    for (const char* option : {"--note", "--resonance-off", "--print-constants", "--preview"}) {
        EXPECT_NE(help.exit().text.find(option), std::string::npos) << option;
    }
    const Parsed version = Parse(settings, {"--version"});
    ASSERT_FALSE(version.ok());
    EXPECT_EQ(version.exit().code, 0);
    EXPECT_EQ(version.exit().text.rfind("sordanel-render ", 0), 0u);
}

}  // namespace
}  // namespace sordanel
