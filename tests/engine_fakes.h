#pragma once

// Stand-ins for the engine's ports: they record what the engine asked for, keep files in
// memory and fail on request, so every engine behaviour can be checked without a window.

#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine_host.h"
#include "engine/file_layer.h"
#include "engine/progress_receiver.h"
#include "engine/sound_player.h"
#include "engine/temp_file_name.h"

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

// Files kept in memory. An output file lies under its partial name until committed. Writes
// can be made to fail from the Nth write call on, a target to be refused by the check, opens
// of a given name to fail, and storage can be pre-reserved so that writing allocates nothing.
class MemoryFileLayer : public FileLayer {
public:
    struct Stored {
        std::vector<std::uint8_t> bytes;
        bool open = false;
    };

    bool CheckTarget(const std::string& path) override { return path != unfitTarget; }
    std::unique_ptr<File> CreateOutput(const std::string& path) override {
        return Open(PartialFileName(path), path);
    }
    std::unique_ptr<File> CreateScratch(const std::string& preferredPath) override {
        return Open(preferredPath, "");
    }

    bool Exists(const std::string& path) const { return files.count(path) > 0; }
    const std::vector<std::uint8_t>& Bytes(const std::string& path) const {
        return files.at(path).bytes;
    }

    std::map<std::string, Stored> files;
    // A discarded file's last content stays here, for checks after the run.
    std::map<std::string, std::vector<std::uint8_t>> removed;
    std::string unfitTarget;
    std::string refusedPath;
    int failFromWrite = -1;  // index of the first write call that fails; -1 never
    int writeCalls = 0;
    // Called before each write with its index, and before each read.
    std::function<void(int)> onWrite;
    std::function<void()> onRead;
    std::size_t reserveBytes = 0;

private:
    std::unique_ptr<File> Open(const std::string& name, const std::string& target) {
        if (name == refusedPath) {
            return nullptr;
        }
        Stored& stored = files[name];
        stored.bytes.clear();
        stored.bytes.reserve(reserveBytes);
        stored.open = true;
        return std::make_unique<MemoryFile>(*this, name, target);
    }

    class MemoryFile : public File {
    public:
        MemoryFile(MemoryFileLayer& layer, std::string name, std::string target)
            : layer_(layer), name_(std::move(name)), target_(std::move(target)) {}
        ~MemoryFile() override { Discard(); }
        bool Write(const void* data, std::size_t size) override {
            if (layer_.onWrite) {
                layer_.onWrite(layer_.writeCalls);
            }
            if (layer_.failFromWrite >= 0 && layer_.writeCalls >= layer_.failFromWrite) {
                ++layer_.writeCalls;
                return false;
            }
            ++layer_.writeCalls;
            const auto* bytes = static_cast<const std::uint8_t*>(data);
            auto& stored = layer_.files.at(name_).bytes;
            stored.insert(stored.end(), bytes, bytes + size);
            return true;
        }
        bool Read(void* data, std::size_t size) override {
            if (layer_.onRead) {
                layer_.onRead();
            }
            const auto& stored = layer_.files.at(name_).bytes;
            if (readPosition_ + size > stored.size()) {
                return false;
            }
            std::memcpy(data, stored.data() + readPosition_, size);
            readPosition_ += size;
            return true;
        }
        bool SeekToStart() override {
            readPosition_ = 0;
            return true;
        }
        bool Commit() override {
            if (target_.empty()) {
                Discard();
                return true;
            }
            auto found = layer_.files.find(name_);
            Stored moved = std::move(found->second);
            moved.open = false;
            layer_.files.erase(found);
            layer_.files[target_] = std::move(moved);
            done_ = true;
            return true;
        }
        void Discard() override {
            if (done_) {
                return;
            }
            done_ = true;
            const auto found = layer_.files.find(name_);
            layer_.removed[name_] = found->second.bytes;
            layer_.files.erase(found);
        }

    private:
        MemoryFileLayer& layer_;
        std::string name_;
        std::string target_;
        std::size_t readPosition_ = 0;
        bool done_ = false;
    };
};

}  // namespace sordanel::testing
