#pragma once

// Stand-ins for the engine's ports: they record what the engine asked for, keep files in
// memory and fail on request, so every engine behaviour can be checked without a window.

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine_host.h"
#include "file_layer.h"
#include "progress_receiver.h"
#include "sound_player.h"

namespace sordanel::testing {

class RecordingHost : public EngineHost {
public:
    void ShowError(std::string_view message) override { errors.emplace_back(message); }
    void ShowPreviewStatus(std::string_view text) override { statuses.emplace_back(text); }
    std::vector<std::string> errors;
    std::vector<std::string> statuses;
};

class RecordingPlayer : public SoundPlayer {
public:
    void PlayImage(const std::uint8_t* image, std::size_t size) override {
        played.assign(image, image + size);
        imagesPlayed++;
    }
    void PlayFile(const std::string& path) override { filesPlayed.push_back(path); }
    void Stop() override { stops++; }
    std::vector<std::uint8_t> played;
    int imagesPlayed = 0;
    int stops = 0;
    std::vector<std::string> filesPlayed;
};

class RecordingProgress : public ProgressReceiver {
public:
    void SetProgress(float fraction) override { fractions.push_back(fraction); }
    void GenerationFinished() override { finishedCalls++; }
    std::vector<float> fractions;
    int finishedCalls = 0;
};

// Files kept in memory. Writes can be made to fail from the Nth write call on, opens of a
// given path to fail, and storage can be pre-reserved so that writing allocates nothing.
class MemoryFileLayer : public FileLayer {
public:
    struct Stored {
        std::vector<std::uint8_t> bytes;
        bool open = false;
    };

    std::unique_ptr<File> Create(const std::string& path, FileAccess) override {
        if (path == refusedPath) {
            return nullptr;
        }
        Stored& stored = files[path];
        stored.bytes.clear();
        stored.bytes.reserve(reserveBytes);
        stored.open = true;
        return std::make_unique<MemoryFile>(*this, stored);
    }
    // A removed file's last content stays in `removed`, for checks after the run.
    bool Remove(const std::string& path) override {
        const auto found = files.find(path);
        if (found == files.end()) {
            return false;
        }
        removed[path] = found->second.bytes;
        files.erase(found);
        return true;
    }

    bool Replace(const std::string& from, const std::string& to) override {
        const auto found = files.find(from);
        if (found == files.end() || found->second.open) {
            return false;
        }
        Stored moved = std::move(found->second);
        files.erase(found);
        files[to] = std::move(moved);
        return true;
    }

    bool Exists(const std::string& path) const { return files.count(path) > 0; }
    const std::vector<std::uint8_t>& Bytes(const std::string& path) const {
        return files.at(path).bytes;
    }

    std::map<std::string, Stored> files;
    std::map<std::string, std::vector<std::uint8_t>> removed;
    std::string refusedPath;
    int failFromWrite = -1;  // index of the first write call that fails; -1 never
    int writeCalls = 0;
    std::size_t reserveBytes = 0;

private:
    class MemoryFile : public File {
    public:
        MemoryFile(MemoryFileLayer& layer, Stored& stored) : layer_(layer), stored_(stored) {}
        bool Write(const void* data, std::size_t size) override {
            if (layer_.failFromWrite >= 0 && layer_.writeCalls++ >= layer_.failFromWrite) {
                return false;
            }
            const auto* bytes = static_cast<const std::uint8_t*>(data);
            stored_.bytes.insert(stored_.bytes.end(), bytes, bytes + size);
            return true;
        }
        bool Read(void* data, std::size_t size) override {
            if (readPosition_ + size > stored_.bytes.size()) {
                return false;
            }
            std::memcpy(data, stored_.bytes.data() + readPosition_, size);
            readPosition_ += size;
            return true;
        }
        bool SeekToStart() override {
            readPosition_ = 0;
            return true;
        }
        bool Close() override {
            stored_.open = false;
            return true;
        }

    private:
        MemoryFileLayer& layer_;
        Stored& stored_;
        std::size_t readPosition_ = 0;
    };
};

}  // namespace sordanel::testing
