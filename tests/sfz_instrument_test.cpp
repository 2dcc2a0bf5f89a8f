// The SFZ instrument of a batch: every key and velocity between its outermost regions is
// answered by exactly one sample, and the text reads back through a strict reader.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/sfz_instrument.h"
#include "engine/settings_tables.h"

namespace sordanel {
namespace {

// A batch over the notes from `low` upward every `step` semitones, with `layerCount` layers.
BatchRequest BatchOf(const char* low, const char* high, int step, int layerCount) {
    BatchRequest batch;
    for (int layer = 0; layer < layerCount; ++layer) {
        batch.layers.push_back({1.0f + static_cast<float>(layer), std::to_string(layer)});
    }
    for (int note = FindNoteIndex(low); note >= FindNoteIndex(high); note -= step) {
        for (int layer = layerCount > 0 ? 0 : -1; layer < layerCount; ++layer) {
            batch.items.push_back(
                {note, layer, std::to_string(note) + "_" + std::to_string(layer) + ".wav"});
        }
    }
    return batch;
}

void ExpectExactCover(const std::vector<SfzRegion>& regions) {
    int lowest = 127, highest = 0;
    for (const SfzRegion& r : regions) {
        lowest = std::min(lowest, r.lowKey);
        highest = std::max(highest, r.highKey);
        EXPECT_LE(r.lowKey, r.keyCenter) << r.sample;
        EXPECT_GE(r.highKey, r.keyCenter) << r.sample;
    }
    for (int key = lowest; key <= highest; ++key) {
        for (int velocity = 1; velocity <= 127; ++velocity) {
            int answering = 0;
            for (const SfzRegion& r : regions) {
                answering += key >= r.lowKey && key <= r.highKey && velocity >= r.lowVelocity &&
                             velocity <= r.highVelocity;
            }
            ASSERT_EQ(answering, 1) << "key " << key << " velocity " << velocity;
        }
    }
}

TEST(SfzInstrument, RegionsCoverEveryKeyAndVelocityOnce) {
    for (int step = 1; step <= 13; ++step) {
        for (int layers : {0, 1, 2, 3, 5}) {
            SCOPED_TRACE("step " + std::to_string(step) + ", layers " + std::to_string(layers));
            ExpectExactCover(SfzRegions(BatchOf("C1", "E7", step, layers)));
        }
    }
}

TEST(SfzInstrument, KeysSplitHalfwayAndTheEndsReachAsFarOut) {
    // C2, E2, G#2: gaps of four keys; the middle key of each goes to the upper note.
    const auto regions = SfzRegions(BatchOf("C2", "G#2", 4, 0));
    ASSERT_EQ(regions.size(), 3u);
    EXPECT_EQ(regions[0].keyCenter, 36);
    EXPECT_EQ(regions[0].lowKey, 35);
    EXPECT_EQ(regions[0].highKey, 37);
    EXPECT_EQ(regions[1].lowKey, 38);
    EXPECT_EQ(regions[1].highKey, 41);
    EXPECT_EQ(regions[2].lowKey, 42);
    EXPECT_EQ(regions[2].highKey, 46);

    const auto lone = SfzRegions(BatchOf("A4", "A4", 1, 2));
    EXPECT_EQ(lone[0].lowKey, 69);
    EXPECT_EQ(lone[0].highKey, 69);
    EXPECT_EQ(lone[0].lowVelocity, 1);
    EXPECT_EQ(lone[0].highVelocity, 63);
    EXPECT_EQ(lone[1].lowVelocity, 64) << "the louder band belongs to the higher value";
    EXPECT_EQ(lone[1].highVelocity, 127);
}

// Reads SFZ the way a strict loader does: only comments and <region> headers, only known
// opcodes, whole numbers within MIDI range, one sample per region, nothing unparsed.
std::vector<SfzRegion> ReadStrictly(const std::string& text) {
    std::vector<SfzRegion> regions;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("//", 0) == 0) {
            continue;
        }
        EXPECT_EQ(line.rfind("<region> ", 0), 0u) << line;
        const auto sample = line.find(" sample=");
        EXPECT_NE(sample, std::string::npos) << line;
        std::map<std::string, int> values;
        std::istringstream opcodes(line.substr(9, sample - 9));
        std::string opcode;
        while (opcodes >> opcode) {
            const auto equals = opcode.find('=');
            const std::string name = opcode.substr(0, equals);
            std::size_t used = 0;
            const int value = std::stoi(opcode.substr(equals + 1), &used);
            EXPECT_EQ(used, opcode.size() - equals - 1) << opcode;
            EXPECT_TRUE(value >= 0 && value <= 127) << opcode;
            EXPECT_TRUE(values.emplace(name, value).second) << "repeated " << opcode;
        }
        for (const char* name : {"pitch_keycenter", "lokey", "hikey", "lovel", "hivel"}) {
            EXPECT_EQ(values.count(name), 1u) << name << " in " << line;
        }
        EXPECT_EQ(values.size(), 5u) << line;
        regions.push_back({line.substr(sample + 8), values["pitch_keycenter"], values["lokey"],
                           values["hikey"], values["lovel"], values["hivel"]});
    }
    return regions;
}

TEST(SfzInstrument, TextReadsBackRegionForRegion) {
    BatchRequest batch = BatchOf("C3", "C4", 3, 2);
    batch.items[0].fileName = "C3 soft.wav";
    const auto regions = SfzRegions(batch);
    const auto read = ReadStrictly(SfzText(regions));
    ASSERT_EQ(read.size(), regions.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].sample, regions[i].sample);
        EXPECT_EQ(read[i].keyCenter, regions[i].keyCenter);
        EXPECT_EQ(read[i].lowKey, regions[i].lowKey);
        EXPECT_EQ(read[i].highKey, regions[i].highKey);
        EXPECT_EQ(read[i].lowVelocity, regions[i].lowVelocity);
        EXPECT_EQ(read[i].highVelocity, regions[i].highVelocity);
    }
}

}  // namespace
}  // namespace sordanel
