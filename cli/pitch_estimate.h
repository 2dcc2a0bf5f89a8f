#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace sordanel {

// The fundamental of a note, or why it has none to show.
struct PitchReading {
    std::optional<double> hz;
    std::string_view unmeasured;  // words for the summary when hz is empty
};

// The fundamental of the steady part of a sustained note, Hz, between 25 Hz and 4 kHz.
//
// Two methods, each catching the other's mistakes. The spectrum's harmonic comb picks the
// fundamental: a candidate scores the spectrum at its multiples less the spectrum halfway
// between them, so a harmonic (whose halfway points hold the odd partials) and a subharmonic
// (whose multiples fall half on nothing) both score below the true fundamental, even when
// that is weak or missing. The autocorrelation then refines it to a fraction of a cent, and
// must agree: the refined period has to repeat the signal closely and lie within a few cents
// of the comb's choice. Where either fails, the reading says why instead of guessing.
PitchReading EstimatePitch(std::span<const double> steadyPart, double sampleRate);

}  // namespace sordanel
