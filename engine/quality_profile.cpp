#include "engine/quality_profile.h"

namespace sordanel {

const std::array<QualityProfile, 2> kQualityProfiles = {{
    {37, 0.09f, KernelKind::Low},
    {73, 0.09f, KernelKind::High},
}};

const QualityProfile kPreviewProfile = {19, 0.12f, KernelKind::Preview};

}  // namespace sordanel
