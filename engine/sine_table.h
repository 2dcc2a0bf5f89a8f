#pragma once

#include <array>

namespace sordanel {

// One period of the sine in 256 entries, shared by the vibrato and the autocorrection.
using SineTable = std::array<float, 256>;

void FillSineTable(SineTable& table);

}  // namespace sordanel
