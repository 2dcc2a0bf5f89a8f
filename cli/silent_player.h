#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/sound_player.h"

namespace sordanel {

// The renderer plays nothing: a preview is written to its file instead of being heard.
class SilentPlayer : public SoundPlayer {
public:
    void PlayImage(const std::uint8_t*, std::size_t) override {}
    void PlayFile(const std::string&) override {}
    void Stop() override {}
};

}  // namespace sordanel
