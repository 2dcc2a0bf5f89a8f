#pragma once

namespace sordanel {

// The program's own images and sounds, built into it from res/ (resource_paths.cpp holds
// the names, beside the resources linked into this library).
extern const char* const kAppIconPath;
extern const char* const kExitIconPath;
extern const char* const kBannerPath;
extern const char* const kEnvelopeDiagramPath;
extern const char* const kResonanceDiagramPath;
extern const char* const kAlertSoundPath;

}  // namespace sordanel
