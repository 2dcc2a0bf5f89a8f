// Any text typed into an F box gives a frequency of 40 .. 1500 Hz, and the width rule then
// always finds an admitted width.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/settings_rules.h"
#include "engine/settings_tables.h"
#include "engine/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::int32_t freq = sordanel::TypedResonanceFreq(text);
    if (freq < 40 || freq > 1500)
        std::abort();
    const std::int32_t width = sordanel::WidthIndexAfterTypedFreq(freq, 15);
    if (width < 4 || sordanel::kResonanceWidthsHz[static_cast<std::size_t>(width)] >
                         sordanel::WidthLimitHz(freq)) {
        std::abort();
    }
    return 0;
}
