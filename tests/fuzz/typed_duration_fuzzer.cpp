// Any text typed into the duration box either is refused or gives a duration the engine
// admits, and the slider finds a position for it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto seconds = sordanel::TypedDuration(text)) {
        if (!(*seconds >= 0.07f && *seconds <= 20.0f))
            std::abort();
        const int position = sordanel::DurationSliderPosition(*seconds);
        if (position < 0 || position > 20)
            std::abort();
        // What the box shows afterwards reads back as the same duration.
        if (sordanel::TypedDuration(sordanel::FormatDuration(*seconds)).value_or(-1) <= 0) {
            std::abort();
        }
    }
    return 0;
}
