#include "cli/sfz_instrument.h"

#include <algorithm>
#include <set>

namespace sordanel {

namespace {

constexpr int kHighestKey = 127;
constexpr int kHighestVelocity = 127;

struct KeyRange {
    int low;
    int high;
};

// The range of each rendered key, from the keys in rising order.
std::vector<KeyRange> SplitKeys(const std::vector<int>& keys) {
    std::vector<KeyRange> ranges(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        ranges[i] = {keys[i], keys[i]};
    }
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
        ranges[i].high = keys[i] + (keys[i + 1] - keys[i] - 1) / 2;
        ranges[i + 1].low = ranges[i].high + 1;
    }
    if (keys.size() > 1) {
        ranges.front().low = std::max(0, keys.front() - (ranges.front().high - keys.front()));
        ranges.back().high = std::min(kHighestKey, keys.back() + (keys.back() - ranges.back().low));
    }
    return ranges;
}

}  // namespace

std::vector<SfzRegion> SfzRegions(const BatchRequest& batch) {
    std::set<int> distinct;
    for (const BatchItem& item : batch.items) {
        distinct.insert(MidiKey(item.noteIndex));
    }
    const std::vector<int> keys(distinct.begin(), distinct.end());
    const std::vector<KeyRange> ranges = SplitKeys(keys);
    const int bands = std::max<int>(1, static_cast<int>(batch.layers.size()));

    std::vector<SfzRegion> regions;
    for (const BatchItem& item : batch.items) {
        const int key = MidiKey(item.noteIndex);
        const KeyRange range = ranges[static_cast<std::size_t>(
            std::lower_bound(keys.begin(), keys.end(), key) - keys.begin())];
        const int band = std::max(0, item.layer);
        regions.push_back({item.fileName, key, range.low, range.high,
                           1 + kHighestVelocity * band / bands,
                           kHighestVelocity * (band + 1) / bands});
    }
    return regions;
}

std::string SfzText(const std::vector<SfzRegion>& regions) {
    std::string text =
        "// Made by sordanel-render: one sustained note per sample. Keys between the rendered\n"
        "// notes play the nearest one shifted; each layer of the bow has a velocity band.\n";
    for (const SfzRegion& r : regions) {
        // The sample comes last: its name may hold spaces, which end no other value.
        text += "<region> pitch_keycenter=" + std::to_string(r.keyCenter) +
                " lokey=" + std::to_string(r.lowKey) + " hikey=" + std::to_string(r.highKey) +
                " lovel=" + std::to_string(r.lowVelocity) +
                " hivel=" + std::to_string(r.highVelocity) + " sample=" + r.sample + "\n";
    }
    return text;
}

}  // namespace sordanel
