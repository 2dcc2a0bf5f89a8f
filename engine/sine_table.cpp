#include "engine/sine_table.h"

#include <cmath>

namespace sordanel {

void FillSineTable(SineTable& table) {
    const float entryAngle = 0.02454369f;  // 2 pi / 256 as the single-precision constant
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = static_cast<float>(std::sin(static_cast<double>(i) * double{entryAngle}));
    }
}

}  // namespace sordanel
