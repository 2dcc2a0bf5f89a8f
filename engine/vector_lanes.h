#pragma once

#include <cstdint>
#include <cstring>

namespace sordanel {

// Four lanes side by side, in the compiler's generic vectors: each instruction-set copy of a
// hot loop lowers them to its own registers (one 256-bit register of doubles under AVX2, two
// 128-bit ones otherwise), and the arithmetic is that of each lane alone, rounded as in scalar
// code.
using Float4 = float __attribute__((vector_size(16)));
using Double4 = double __attribute__((vector_size(32)));
using Mask4 = std::int32_t __attribute__((vector_size(16)));

// Built lane by lane, which GCC turns into one widening instruction; its generic conversion
// widens each half apart and joins them.
[[gnu::always_inline]] inline Double4 Widen(Float4 x) {
    return Double4{x[0], x[1], x[2], x[3]};
}
// Rounds each lane to the nearest float, as a cast does.
[[gnu::always_inline]] inline Float4 Narrow(Double4 x) {
    return __builtin_convertvector(x, Float4);
}
[[gnu::always_inline]] inline Double4 Broadcast(double x) {
    return Double4{x, x, x, x};
}
// The neighbours of each lane of `here` on the side of `before` or of `after`.
[[gnu::always_inline]] inline Double4 ShiftInLast(Double4 before, Double4 here) {
    return __builtin_shufflevector(before, here, 3, 4, 5, 6);
}
[[gnu::always_inline]] inline Double4 ShiftInFirst(Double4 here, Double4 after) {
    return __builtin_shufflevector(here, after, 1, 2, 3, 4);
}
// Lanes of `a` where maskA is set, of `b` where maskB is set, +0 elsewhere, bit for bit; the
// masks never both set one lane.
[[gnu::always_inline]] inline Float4 Merge(Mask4 maskA, Float4 a, Mask4 maskB, Float4 b) {
    return reinterpret_cast<Float4>((reinterpret_cast<Mask4>(a) & maskA) |
                                    (reinterpret_cast<Mask4>(b) & maskB));
}
[[gnu::always_inline]] inline Float4 LoadFloat4(const float* from) {
    Float4 x;
    std::memcpy(&x, from, sizeof x);
    return x;
}
[[gnu::always_inline]] inline void StoreFloat4(float* to, Float4 x) {
    std::memcpy(to, &x, sizeof x);
}
// The lanes' sum as a 256-bit register adds them: the upper half onto the lower, then the two.
[[gnu::always_inline]] inline double SumLanes(Double4 x) {
    return (x[0] + x[2]) + (x[1] + x[3]);
}

}  // namespace sordanel
