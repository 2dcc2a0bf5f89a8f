#include "engine/settings_tables.h"

#include <cstring>

namespace sordanel {

const std::array<const char*, kNoteCount + 1> kNoteNames = {
    "E7",  "D#7", "D7",  "C#7", "C7",  "B6",  "A#6", "A6",  "G#6", "G6",  "F#6", "F6",  "E6",
    "D#6", "D6",  "C#6", "C6",  "B5",  "A#5", "A5",  "G#5", "G5",  "F#5", "F5",  "E5",  "D#5",
    "D5",  "C#5", "C5",  "B4",  "A#4", "A4",  "G#4", "G4",  "F#4", "F4",  "E4",  "D#4", "D4",
    "C#4", "C4",  "B3",  "A#3", "A3",  "G#3", "G3",  "F#3", "F3",  "E3",  "D#3", "D3",  "C#3",
    "C3",  "B2",  "A#2", "A2",  "G#2", "G2",  "F#2", "F2",  "E2",  "D#2", "D2",  "C#2", "C2",
    "B1",  "A#1", "A1",  "G#1", "G1",  "F#1", "F1",  "E1",  "D#1", "D1",  "C#1", "C1",  ""};

const std::array<const char*, 12> kKeyNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                               "F#", "G",  "G#", "A",  "A#", "B"};

const std::array<float, 29> kVibratoSpeedsHz = {
    0.5f, 0.6f, 0.7f, 0.8f, 0.9f, 1.0f, 1.2f, 1.4f, 1.6f, 1.8f,  2.0f,  2.3f,  2.7f,  3.0f, 3.3f,
    3.7f, 4.0f, 4.5f, 5.0f, 5.5f, 6.0f, 7.0f, 8.0f, 9.0f, 10.0f, 12.0f, 15.0f, 17.0f, 20.0f};

const std::array<int, 16> kResonanceWidthsHz = {6,  8,  10, 13, 16,  20,  25,  30,
                                                40, 50, 65, 80, 100, 130, 160, 200};

const std::array<float, 21> kDurationStepsSec = {0.1f, 0.15f, 0.2f, 0.25f, 0.3f, 0.4f,  0.5f,
                                                 0.6f, 0.7f,  0.8f, 0.9f,  1.0f, 1.2f,  1.4f,
                                                 1.6f, 1.8f,  2.0f, 2.25f, 2.5f, 2.75f, 3.0f};

int FindNoteIndex(const char* name) {
    // The empty end marker stops the search, as it stops every reader of the list.
    for (int i = 0; kNoteNames[i][0] != '\0'; ++i) {
        if (std::strcmp(kNoteNames[i], name) == 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace sordanel
