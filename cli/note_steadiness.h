#pragma once

#include <optional>
#include <span>
#include <string>

#include "engine/generation_settings.h"

namespace sordanel {

// Whether a note holds one pitch over its steady part, and that pitch.
struct Steadiness {
    std::optional<double> hz;  // the pitch of the whole steady part, when it shows one
    bool steady = false;
    std::string why;         // when not steady, why, in words
    double wanderCents = 0;  // how far the windows' pitches lie apart
};

// The part of a rendered note where the bow neither rises nor falls, less a margin for the
// string to settle after the attack; the middle of the note when the envelope leaves little.
std::span<const double> SteadyPart(std::span<const double> samples,
                                   const GenerationSettings& settings);

// Cuts the steady part into consecutive windows and measures each: the note is steady when
// every window shows a pitch, the pitches agree within a few cents and the level holds. With
// vibrato (`vibratoHz`) each window spans whole vibrato periods, so each reads the same centre.
Steadiness JudgeSteadiness(std::span<const double> steadyPart, double sampleRate,
                           std::optional<double> vibratoHz);

// Both of the above for a note rendered with `settings`.
Steadiness MeasureNote(std::span<const double> samples, const GenerationSettings& settings);

}  // namespace sordanel
