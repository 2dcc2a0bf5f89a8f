#pragma once

namespace sordanel {

// The program's own images and sounds, built into it from res/.
inline constexpr const char* kAppIconPath = ":/icons/sordanel.svg";
inline constexpr const char* kExitIconPath = ":/icons/exit.svg";
inline constexpr const char* kBannerPath = ":/images/banner.svg";
inline constexpr const char* kEnvelopeDiagramPath = ":/images/envelope.svg";
inline constexpr const char* kResonanceDiagramPath = ":/images/resonance.svg";
inline constexpr const char* kAlertSoundPath = ":/sounds/alert.wav";

}  // namespace sordanel
