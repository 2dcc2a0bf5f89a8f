#pragma once

namespace sordanel::messages {

// What the engine tells the user when a run cannot go on.
inline constexpr const char* kNoPreviewMemory = "Not enough memory to generate preview";
inline constexpr const char* kCannotCreateOutput =
    "Cannot create output file. Check if it isn't open in another program and if the specified "
    "directory exists";
inline constexpr const char* kWaveWriteFailed = "Error writing to WAVE file. Probably disk is full";
inline constexpr const char* kCannotCreateTemporary =
    "Can't create temporary file in system TEMP directory";
inline constexpr const char* kTemporaryWriteFailed =
    "Error writing to temporary file in system TEMP directory. Probably disk full";
inline constexpr const char* kTemporaryReadFailed =
    "Error reading the temporary file in system TEMP directory. The output file was deleted";

// The preview's status line while it is synthesised.
inline constexpr const char* kPreviewProgressFormat = "Generating preview - %d%% done";

}  // namespace sordanel::messages
