#pragma once

namespace sordanel::ids {

// Main dialog: controls on no page.
inline constexpr int kOk = 1;  // hidden "Invisible OK", the target of Enter
inline constexpr int kExit = 2;
inline constexpr int kPicture = 1000;
inline constexpr int kTabs = 1024;
inline constexpr int kPreview = 1073;
inline constexpr int kGenerate = 1074;
inline constexpr int kListen = 1075;
inline constexpr int kAbout = 1105;
inline constexpr int kPreviewStatus = 1134;
inline constexpr int kNoteListPlace = 1026;
inline constexpr int kKeyListPlace = 1119;

// String & Bow page.
inline constexpr int kBowPressingForce = 1007;
inline constexpr int kBowSpeed = 1005;
inline constexpr int kBowPosition = 1008;
inline constexpr int kStringDamping = 1006;
inline constexpr int kFrictionRatio = 1029;
inline constexpr int kT1Ratio = 1069;
inline constexpr int kT2Ratio = 1070;
inline constexpr int kResetDefaults = 1093;
inline constexpr int kShowRemarks = 1112;

// Pitch controls, on the String & Bow page.
inline constexpr int kNoteLabel = 1077;
inline constexpr int kNoteList = 7777;
inline constexpr int kKeyList = 7778;
inline constexpr int kEqualTemperament = 1113;
inline constexpr int kJustIntonation = 1114;
inline constexpr int kKeyLabel = 1115;
inline constexpr int kDetune = 1110;
inline constexpr int kDetuneStep = 1111;
inline constexpr int kDetuneZero = 1127;
inline constexpr int kVibrato = 1096;
inline constexpr int kVibratoSpeedLabel = 1099;
inline constexpr int kVibratoSpeed = 1097;
inline constexpr int kVibratoSpeedStep = 1101;
inline constexpr int kVibratoDepthLabel = 1100;
inline constexpr int kVibratoDepth = 1098;
inline constexpr int kVibratoDepthStep = 1102;
inline constexpr int kRealTime = 1139;
inline constexpr int kPrecalculated = 1140;
inline constexpr int kAutocorrectionOff = 1121;

// Sound Box page.
inline constexpr int kStringToBoxRatio = 1009;
inline constexpr int kPseudorandom = 1025;
inline constexpr int kPseudorandomAmpLabel = 1087;
inline constexpr int kPseudorandomAmp = 1046;
inline constexpr int kPseudorandomAmpStep = 1044;
// Enable boxes of resonances 2, 3 and 4; the first resonance is always on.
inline constexpr int kResonanceEnable[3] = {1023, 1038, 1045};
// Per resonance 1..4: F, dF and A labels, text boxes and up/down controls.
inline constexpr int kResonanceFreqLabel[4] = {1054, 1057, 1060, 1063};
inline constexpr int kResonanceFreq[4] = {1011, 1017, 1032, 1039};
inline constexpr int kResonanceFreqStep[4] = {1012, 1018, 1033, 1040};
inline constexpr int kResonanceWidthLabel[4] = {1055, 1058, 1061, 1064};
inline constexpr int kResonanceWidth[4] = {1013, 1019, 1034, 1041};
inline constexpr int kResonanceWidthStep[4] = {1014, 1020, 1035, 1042};
inline constexpr int kResonanceAmpLabel[4] = {1056, 1059, 1062, 1065};
inline constexpr int kResonanceAmp[4] = {1015, 1021, 1036, 1043};
inline constexpr int kResonanceAmpStep[4] = {1016, 1022, 1037, 1066};

// General/File page.
inline constexpr int kQuality = 1047;
inline constexpr int kVolume = 1027;
inline constexpr int kVolumeText = 1106;
inline constexpr int kVolumeUnit = 1107;
inline constexpr int kMaximize = 1028;
inline constexpr int kDuration = 1123;
inline constexpr int kDurationText = 1125;
inline constexpr int kOutputPath = 1048;
inline constexpr int kBrowse = 1049;

// Unfinished-generation warning.
inline constexpr int kProceed = 1131;
inline constexpr int kReady = 1132;
inline constexpr int kWarningIcon = 1133;

// Error dialog.
inline constexpr int kErrorMessage = 1028;
inline constexpr int kErrorIcon = 1029;

// Progress dialog.
inline constexpr int kProgressPicture = 1128;
inline constexpr int kProgressIcon = 1135;
inline constexpr int kAbnormalModeText = 1136;

}  // namespace sordanel::ids
