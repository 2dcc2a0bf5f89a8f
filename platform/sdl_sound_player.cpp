#include "platform/sdl_sound_player.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

namespace sordanel {

SdlSoundPlayer::SdlSoundPlayer() : audioReady_(SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {}

SdlSoundPlayer::~SdlSoundPlayer() {
    Stop();
    if (audioReady_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void SdlSoundPlayer::PlayImage(const std::uint8_t* image, std::size_t size) {
    Stop();
    if (image == nullptr || size == 0 || size > INT32_MAX) {
        return;
    }
    PlayWave(SDL_RWFromConstMem(image, static_cast<int>(size)));
}

void SdlSoundPlayer::PlayFile(const std::string& path) {
    Stop();
    PlayWave(SDL_RWFromFile(path.c_str(), "rb"));
}

void SdlSoundPlayer::PlayWave(SDL_RWops* source) {
    if (source == nullptr) {
        return;
    }
    SDL_AudioSpec format{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    // Decoding copies the samples and closes the source, whatever the outcome.
    if (SDL_LoadWAV_RW(source, 1, &format, &samples, &length) == nullptr) {
        return;
    }
    if (audioReady_) {
        format.callback = nullptr;  // the device is fed by queueing the whole sound
        device_ = SDL_OpenAudioDevice(nullptr, 0, &format, nullptr, 0);
        if (device_ != 0 && SDL_QueueAudio(device_, samples, length) == 0) {
            SDL_PauseAudioDevice(device_, 0);
        }
    }
    SDL_FreeWAV(samples);
}

void SdlSoundPlayer::Stop() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
}

}  // namespace sordanel
