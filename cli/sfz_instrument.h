#pragma once

#include <string>
#include <vector>

#include "cli/batch_request.h"

namespace sordanel {

// The keys and velocities one sample answers; both ranges are inclusive.
struct SfzRegion {
    std::string sample;  // file name, beside the instrument
    int keyCenter;       // MIDI key the sample sounds at unshifted
    int lowKey;
    int highKey;
    int lowVelocity;
    int highVelocity;
};

// One region per file of the batch. The keys between two rendered notes are split at the
// middle (the middle key of an even gap goes to the upper note, shifted down rather than up); the
// lowest and highest notes reach as far beyond themselves as their inner neighbour's half-gap.
// Layers share 1..127 in equal velocity bands, softest for the lowest value.
std::vector<SfzRegion> SfzRegions(const BatchRequest& batch);

// The instrument as SFZ text.
std::string SfzText(const std::vector<SfzRegion>& regions);

}  // namespace sordanel
