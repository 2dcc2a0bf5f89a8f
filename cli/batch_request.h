#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/settings_tables.h"

namespace sordanel {

// The MIDI key of a note of kNoteNames: C4 is 60, the list's C1 to E7 are 24 to 100.
inline int MidiKey(std::int32_t noteIndex) {
    return 60 + FindNoteIndex("C4") - noteIndex;
}

// The bow setting that differs between the layers of a batch.
enum class LayerParameter { Force, Speed };

// One layer: the value given to its parameter, and that value as the user typed it, which
// names its files.
struct Layer {
    float value;
    std::string text;
};

// One render of a batch and the file it becomes.
struct BatchItem {
    std::int32_t noteIndex;  // into kNoteNames
    int layer;               // into BatchRequest::layers; -1 without layers
    std::string fileName;    // inside BatchRequest::directory
};

// A batch of notes from the command line: every note of a range, each once per layer, with the
// other options applied to each.
struct BatchRequest {
    std::string directory;  // absolute, where every file of the batch lands
    int jobs = 1;           // renders at the same time
    LayerParameter layerParameter = LayerParameter::Force;
    std::vector<Layer> layers;  // empty: one render per note
    std::vector<BatchItem> items;
    std::string sfzName;  // file name of the SFZ instrument; empty: none
    bool summary = false;
    bool json = false;
};

}  // namespace sordanel
