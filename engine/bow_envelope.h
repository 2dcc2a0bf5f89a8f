#pragma once

namespace sordanel {

// Share of the bow's force and speed at envelope position p (0 at the start, 1 where the bow
// leaves the string): a linear attack from 0.12 over t1Ratio, a parabolic release over the last
// t2Ratio, their product where they overlap, and 0 after p = 1.
float BowEnvelope(float p, float t1Ratio, float t2Ratio);

}  // namespace sordanel
