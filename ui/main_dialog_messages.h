#pragma once

namespace sordanel {

// What the main dialog tells the user when something fails.
inline constexpr const char* kNoteC4MissingMessage =
    "Internal Error: Note C4 not found in the list";
inline constexpr const char* kPathTooLongMessage = "File path too long";
inline constexpr const char* kWorkerRefusedMessage =
    "Cannot start the sound generation: the system refused to start another thread. Close "
    "some programs and try again";

// Shown in the output path box while no path is set.
inline constexpr const char* kOutputPathHint = "Choose or enter a path and a file name";

// The output-file chooser of "Browse".
inline constexpr const char* kOutputChooserTitle = "Choose output folder and file name";
inline constexpr const char* kWaveFilesFilter = "Microsoft wave (*.wav)";
inline constexpr const char* kAllFilesFilter = "All files (*.*)";

}  // namespace sordanel
