#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sordanel {

// Plays sounds asynchronously; a new sound replaces the one playing. With no audio device the
// player stays silent rather than failing.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Plays a complete WAVE image from memory. The caller keeps the image alive and unchanged
    // until Stop() or the next Play call returns.
    virtual void PlayImage(const std::uint8_t* image, std::size_t size) = 0;
    // Plays a WAVE file; a file that cannot be read plays nothing.
    virtual void PlayFile(const std::string& path) = 0;
    // Stops whatever is playing; afterwards no image given earlier is read any more.
    virtual void Stop() = 0;
};

}  // namespace sordanel
