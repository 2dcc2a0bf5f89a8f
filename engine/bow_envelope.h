#pragma once

namespace sordanel {

// The attack's share after `fraction` (0 .. 1) of it: a line from 0.12 up to 1.
inline double AttackShare(double fraction) {
    return 1.0 - (1.0 - fraction) * 0.88;
}
// The release's share after `fraction` (0 .. 1) of it: a parabola from 1, which it leaves
// horizontally, down to 0.
inline double ReleaseShare(double fraction) {
    return 1.0 - fraction * fraction;
}

// Share of the bow's force and speed at envelope position p (0 at the start, 1 where the bow
// leaves the string): a linear attack from 0.12 over t1Ratio, a parabolic release over the last
// t2Ratio, their product where they overlap, and 0 after p = 1.
float BowEnvelope(float p, float t1Ratio, float t2Ratio);

// The same shapes for a note played live, whose length nobody knows in advance: the attack
// runs over `attack` seconds from the key going down, the bow holds while the key is held, and
// the release runs over `release` seconds from the key coming up, multiplying whatever the
// attack has reached. sinceOn and sinceOff in seconds; sinceOff is negative while the key is
// held. After the release the bow has left the string: 0.
float HeldBowEnvelope(double sinceOn, double sinceOff, double attack, double release);

}  // namespace sordanel
