#include "dialog_templates.h"
#include "resource_paths.h"

namespace sordanel {

namespace {

using enum ControlKind;

constexpr ControlRow kMainControls[] = {
    {1024, TabControl, "", 113, 60, 353, 186},
    {1000, Custom, "", 22, 60, 70, 178},
    {kNoId, Bitmap, kBannerPath, 123, 7, 240, 44},

    // String & Bow: the string and bow group.
    {1007, VerticalSlider, "", 202, 80, 19, 60, kTicks},
    {1078, Label, "Bow pressing force", 201, 142, 26, 30},
    {1005, VerticalSlider, "", 242, 80, 19, 61, kTicks},
    {1079, Label, "Bow speed", 233, 143, 37, 16},
    {1008, VerticalSlider, "", 282, 80, 24, 60, kTicks},
    {1080, Label, "Bow pos. (slider low means near the bridge)", 273, 140, 39, 33},
    {1006, VerticalSlider, "", 321, 80, 24, 59, kTicks},
    {1081, Label, "String damping factor", 319, 140, 33, 32},
    {1029, VerticalSlider, "", 362, 80, 24, 59, kTicks},
    {1104, Label, "Kinetic / static fric- tion ratio", 359, 140, 34, 31},
    {1093, PushButton, "Reset to defaults", 404, 99, 47, 22, kMultiLine},
    {1112, PushButton, "Show remarks", 400, 152, 54, 15},
    {1082, Label, "Volume fading time", 347, 177, 72, 8},
    {1067, Bitmap, kEnvelopeDiagramPath, 301, 192, 74, 48, kBorder},
    {1071, Label, "t1/T", 383, 202, 15, 9},
    {1069, HorizontalSlider, "", 397, 199, 62, 21},
    {1072, Label, "t2/T", 383, 224, 14, 8},
    {1070, HorizontalSlider, "", 397, 221, 62, 18},

    // String & Bow: the pitch controls.
    {1077, Label, "Note", 128, 90, 16, 9},
    {1113, RadioButton, "Equal temperament", 124, 108, 58, 16, kGroup | kMultiLine},
    {1114, RadioButton, "Just intonation", 124, 128, 66, 10, kMultiLine},
    {1115, Label, "Key", 126, 144, 13, 8, kDisabled},
    {1109, Label, "Detune (cents)", 121, 161, 24, 16},
    {1110, TextBox, "", 149, 163, 26, 14, kReadOnly | kDigitsOnly},
    {1111, UpDown, "", 176, 163, 12, 14},
    {1127, PushButton, "0", 188, 163, 11, 14, kNoTabStop},
    {1096, CheckBox, "Vibrato", 141, 190, 39, 10},
    {1099, Label, "Speed (Hz)", 125, 203, 21, 17, kDisabled},
    {1097, TextBox, "", 151, 204, 25, 14, kReadOnly | kDisabled},
    {1101, UpDown, "", 177, 204, 11, 14, kDisabled},
    {1100, Label, "Depth (cents)", 125, 224, 25, 16, kDisabled},
    {1098, TextBox, "", 151, 225, 25, 14, kReadOnly | kDisabled},
    {1102, UpDown, "", 177, 225, 11, 14, kDisabled},
    {1142, Label, "Frequency Autocorrection", 201, 193, 84, 8},
    {1139, RadioButton, "Real time", 203, 205, 45, 10, kGroup},
    {1140, RadioButton, "Precalculated", 203, 217, 59, 10},
    {1121, RadioButton, "Off", 203, 229, 27, 10},

    // Sound Box.
    {1083, Label, "String sound to box sound ratio", 139, 86, 109, 10, kHidden},
    {1085, Label, "String", 130, 99, 24, 12, kHidden},
    {1009, HorizontalSlider, "", 151, 97, 71, 15, kHidden},
    {1084, Label, "Box", 226, 99, 16, 9, kHidden},
    {1086, Label,
     "Remark: Setting this slider to the extreme left position prevents generating box sound, "
     "thus reducing generation time",
     143, 117, 87, 43, kHidden},
    {1095, Label, "Resonance parameters (settings below)", 273, 86, 76, 19, kHidden},
    {1068, Bitmap, kResonanceDiagramPath, 269, 106, 84, 50, kBorder | kHidden},
    {1050, Label, "First resonance", 124, 160, 50, 16, kCentred | kHidden},
    {1051, Label, "Second resonance", 184, 160, 50, 16, kCentred | kHidden},
    {1052, Label, "Third resonance", 247, 160, 50, 16, kCentred | kHidden},
    {1053, Label, "Fourth resonance", 311, 160, 50, 16, kCentred | kHidden},
    {1023, CheckBox, "", 205, 176, 16, 8, kHidden},
    {1038, CheckBox, "", 268, 176, 16, 8, kHidden},
    {1045, CheckBox, "", 333, 176, 16, 8, kHidden},
    {1054, Label, "F", 126, 191, 7, 8, kHidden},
    {1011, TextBox, "", 133, 188, 30, 14, kDigitsOnly | kHidden},
    {1012, UpDown, "", 164, 188, 11, 14, kHidden},
    {1055, Label, "dF", 124, 210, 9, 8, kHidden},
    {1013, TextBox, "", 134, 207, 29, 14, kReadOnly | kHidden},
    {1014, UpDown, "", 164, 207, 11, 14, kHidden},
    {1056, Label, "A", 126, 228, 7, 8, kHidden},
    {1015, TextBox, "", 134, 225, 29, 14, kReadOnly | kHidden},
    {1016, UpDown, "", 164, 225, 11, 14, kHidden},
    {1057, Label, "F", 186, 191, 7, 8, kHidden},
    {1017, TextBox, "", 194, 188, 30, 14, kDigitsOnly | kHidden},
    {1018, UpDown, "", 224, 188, 11, 14, kHidden},
    {1058, Label, "dF", 184, 210, 9, 8, kHidden},
    {1019, TextBox, "", 194, 207, 30, 14, kReadOnly | kHidden},
    {1020, UpDown, "", 224, 207, 11, 14, kHidden},
    {1059, Label, "A", 186, 228, 7, 8, kHidden},
    {1021, TextBox, "", 194, 225, 30, 14, kReadOnly | kHidden},
    {1022, UpDown, "", 224, 225, 11, 14, kHidden},
    {1060, Label, "F", 249, 191, 7, 8, kHidden},
    {1032, TextBox, "", 257, 188, 30, 14, kDigitsOnly | kHidden},
    {1033, UpDown, "", 287, 188, 11, 14, kHidden},
    {1061, Label, "dF", 247, 210, 9, 8, kHidden},
    {1034, TextBox, "", 257, 207, 30, 14, kReadOnly | kHidden},
    {1035, UpDown, "", 287, 207, 11, 14, kHidden},
    {1062, Label, "A", 249, 228, 7, 8, kHidden},
    {1036, TextBox, "", 257, 225, 30, 14, kReadOnly | kHidden},
    {1037, UpDown, "", 287, 225, 11, 14, kHidden},
    {1063, Label, "F", 313, 191, 7, 8, kHidden},
    {1039, TextBox, "", 321, 188, 30, 14, kDigitsOnly | kHidden},
    {1040, UpDown, "", 351, 188, 11, 14, kHidden},
    {1064, Label, "dF", 311, 210, 9, 8, kHidden},
    {1041, TextBox, "", 321, 207, 30, 14, kReadOnly | kHidden},
    {1042, UpDown, "", 351, 207, 11, 14, kHidden},
    {1065, Label, "A", 313, 228, 7, 8, kHidden},
    {1043, TextBox, "", 321, 225, 30, 14, kReadOnly | kHidden},
    {1066, UpDown, "", 351, 225, 11, 14, kHidden},
    {1025, CheckBox, "Generate other pseudorandom resonances (always the same)", 379, 188, 79, 34,
     kMultiLine | kHidden},
    {1087, Label, "Amplitude (dB)", 378, 224, 35, 17, kHidden},
    {1046, TextBox, "", 415, 226, 26, 14, kReadOnly | kDigitsOnly | kHidden},
    {1044, UpDown, "", 441, 225, 11, 14, kHidden},

    // General/File.
    {1092, Label, "Volume", 131, 80, 24, 8, kHidden},
    {1027, VerticalSlider, "", 128, 89, 27, 142, kTicksBoth | kDisabled | kHidden},
    {1106, TextBox, "", 163, 143, 28, 14, kReadOnly | kDisabled | kHidden},
    {1107, Label, "dB", 194, 145, 9, 8, kDisabled | kHidden},
    {1028, CheckBox, "Maximize", 163, 162, 45, 10, kHidden},
    {1124, Label, "Sound duration (seconds)", 242, 80, 86, 9, kHidden},
    {1123, HorizontalSlider, "", 223, 92, 85, 19, kHidden},
    {1125, TextBox, "", 310, 93, 30, 13, kHidden},
    {1126, Label, "Note: preview duration will be limited to 3 sec.", 240, 112, 93, 18, kHidden},
    {1089, Label, "Sound quality", 226, 132, 44, 8, kHidden},
    {1047, HorizontalSlider, "", 223, 143, 47, 19, kHidden},
    {1090, Label, "Low", 226, 162, 14, 8, kHidden},
    {1091, Label, "High", 255, 162, 15, 8, kHidden},
    {1088, Label, "Output file (WAV)", 183, 182, 58, 8, kHidden},
    {1048, TextBox, "", 179, 196, 222, 13, kHidden},
    {1049, PushButton, "Browse", 409, 196, 39, 14, kHidden},

    // Below the pages.
    {1105, PushButton, "About...", 32, 244, 50, 14},
    {1134, Label, "Generating preview - 100% done", 106, 252, 110, 10, kHidden},
    {1073, PushButton, "Preview (Lo-Fi)", 228, 250, 59, 14},
    {1074, PushButton, "Generate", 297, 250, 50, 14},
    {1075, PushButton, "Listen", 357, 250, 50, 14},
    {2, PushButton, "Exit", 416, 250, 50, 14},

    // Where the note and key lists are created at start, and the target of Enter.
    {1026, Label, "To jest miejsce na wybor nuty", 147, 69, 42, 119, kHidden},
    {1119, Label, "Pole na wybor tonacji", 142, 123, 32, 79, kHidden},
    {1, PushButton, "Invisible OK", 32, 26, 50, 16, kDefault | kHidden},
};

constexpr int kStringBowPage[] = {
    1077, 1007, 1005, 1008, 1006, 1078, 1079, 1080, 1081, 1069, 1071, 1070, 1072,
    1082, 1067, 7777, 1093, 7778, 1112, 1099, 1100, 1096, 1097, 1098, 1101, 1102,
    1104, 1109, 1029, 1110, 1111, 1114, 1113, 1115, 1127, 1142, 1139, 1140, 1121,
};

constexpr int kSoundBoxPage[] = {
    1050, 1051, 1052, 1053, 1054, 1011, 1012, 1055, 1013, 1014, 1056, 1015, 1016, 1057,
    1017, 1018, 1058, 1019, 1020, 1059, 1021, 1022, 1060, 1032, 1033, 1061, 1034, 1035,
    1062, 1036, 1037, 1063, 1039, 1040, 1064, 1041, 1042, 1065, 1043, 1066, 1083, 1084,
    1085, 1009, 1068, 1025, 1087, 1046, 1044, 1086, 1095, 1023, 1038, 1045,
};

constexpr int kGeneralFilePage[] = {
    1089, 1090, 1091, 1047, 1088, 1048, 1125, 1124, 1049, 1028, 1092, 1027, 1106, 1107, 1123, 1126,
};

}  // namespace

const DialogTemplate kMainDialogTemplate{"Sordanel", 479, 271, true, kMainControls};

const std::array<std::span<const int>, 3> kMainDialogPages{kStringBowPage, kSoundBoxPage,
                                                           kGeneralFilePage};

}  // namespace sordanel
