#pragma once

#include <optional>
#include <span>

namespace sordanel {

// The fundamental of the steady part of a sustained note, Hz: the autocorrelation peak near a
// lag of as many periods as a third of the part holds, refined by a parabola through its
// neighbours, which keeps the sub-sample error small even for the shortest periods. Nothing
// when the part is silent or has no period between 25 Hz and 4 kHz that two periods of a
// sixth of the part can show.
std::optional<double> EstimatePitchHz(std::span<const double> steadyPart, double sampleRate);

}  // namespace sordanel
