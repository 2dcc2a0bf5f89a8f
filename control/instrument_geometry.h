#pragma once

#include <array>
#include <cstdint>

namespace sordanel {

// A point of the instrument's model plane: `across` runs left to right when the instrument
// stands upright (the body spans about -2.05 .. 2.05), `along` upward from the bottom of the
// body (0) to the top of the scroll (10.8).
struct ModelPoint {
    float across;
    float along;
};

// Part of the ellipse inscribed in the rectangle of two corners, drawn counterclockwise from
// where the ray from its centre through `start` meets it to where the ray through `end` does.
struct ModelArc {
    ModelPoint corner1;
    ModelPoint corner2;
    ModelPoint start;
    ModelPoint end;
};

struct ModelLine {
    ModelPoint from;
    ModelPoint to;
};

// A flood fill of one enclosed part; colour is 0xRRGGBB.
struct ModelFill {
    ModelPoint seed;
    std::uint32_t colour;
};

inline constexpr std::uint32_t kDarkPartColour = 0x333333;      // tailpiece, fingerboard
inline constexpr std::uint32_t kProgressFillColour = 0x963C12;  // body, pegbox, scroll ears

extern const std::array<ModelArc, 17> kOutlineArcs;    // body outline
extern const std::array<ModelLine, 21> kOutlineLines;  // tailpiece, bridge, neck, pegbox
extern const std::array<ModelPoint, 4> kPegDots;       // peg heads
extern const std::array<ModelArc, 8> kSoundHoleArcs;   // the two sound holes, thick pen
extern const std::array<ModelFill, 5> kPartFills;      // parts filled before the body
extern const std::array<ModelLine, 8> kStringLines;    // four strings, over everything

// Where the body fill starts: left and right of the tailpiece near the bottom.
inline constexpr std::array<ModelPoint, 2> kBodySeeds{{{-0.45f, 0.3f}, {0.5f, 0.3f}}};

}  // namespace sordanel
