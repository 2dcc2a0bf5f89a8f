#pragma once

#include <complex>
#include <vector>

namespace sordanel::testing {

// In-place radix-2 discrete Fourier transform (e^-i), of a power-of-two length; `inverse` uses
// e^+i and divides by the length.
void Fft(std::vector<std::complex<double>>& x, bool inverse = false);

}  // namespace sordanel::testing
