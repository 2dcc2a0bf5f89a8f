#include "tests/fft.h"

#include <numbers>
#include <utility>

namespace sordanel::testing {

void Fft(std::vector<std::complex<double>>& x, bool inverse) {
    const std::size_t n = x.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
        if (i < j) {
            std::swap(x[i], x[j]);
        }
    }
    // One table of twiddles, each computed directly: a running product of them drifts over
    // long transforms and lifts the floor between a note's harmonics.
    const double sign = inverse ? 1.0 : -1.0;
    std::vector<std::complex<double>> twiddles(n / 2);
    for (std::size_t k = 0; k < n / 2; ++k) {
        twiddles[k] = std::polar(
            1.0, sign * 2 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(n));
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const std::size_t stride = n / len;
        for (std::size_t start = 0; start < n; start += len) {
            for (std::size_t k = 0; k < len / 2; ++k) {
                const auto even = x[start + k];
                const auto odd = x[start + k + len / 2] * twiddles[k * stride];
                x[start + k] = even + odd;
                x[start + k + len / 2] = even - odd;
            }
        }
    }
    if (inverse) {
        for (auto& value : x) {
            value /= static_cast<double>(n);
        }
    }
}

}  // namespace sordanel::testing
