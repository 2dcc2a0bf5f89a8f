#include "res/resource_paths.h"

namespace sordanel {

const char* const kAppIconPath = ":/icons/sordanel.svg";
const char* const kExitIconPath = ":/icons/exit.svg";
const char* const kBannerPath = ":/images/banner.svg";
const char* const kEnvelopeDiagramPath = ":/images/envelope.svg";
const char* const kResonanceDiagramPath = ":/images/resonance.svg";
const char* const kAlertSoundPath = ":/sounds/alert.wav";

}  // namespace sordanel
