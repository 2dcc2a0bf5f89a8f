#include "cli/preview_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/engine_messages.h"
#include "engine/temp_file_name.h"
#include "engine/wave_header.h"
#include "tests/engine_fakes.h"

namespace sordanel {
namespace {

using testing::MemoryFileLayer;
using testing::RecordingHost;

const std::string kPath = "/out/preview.wav";

std::vector<std::uint8_t> Image() {
    std::vector<std::uint8_t> image(kWaveHeaderBytes + 6, 7);
    const auto header = BuildWaveHeader(3);
    std::copy(header.begin(), header.end(), image.begin());
    return image;
}

TEST(PreviewFile, WritesTheWholeImage) {
    MemoryFileLayer files;
    RecordingHost host;
    EXPECT_EQ(WritePreviewFile(Image(), kPath, files, host), GenerationResult::Finished);
    EXPECT_EQ(files.Bytes(kPath), Image());
    EXPECT_FALSE(files.files.at(kPath).open);
    EXPECT_TRUE(host.errors.empty());
}

TEST(PreviewFile, FailuresSpeakLikeTheEngineAndLeaveNoFile) {
    struct Case {
        int failFromWrite;
        GenerationResult result;
    };
    for (const Case c :
         {Case{0, GenerationResult::HeaderFailed}, Case{1, GenerationResult::WriteFailed}}) {
        MemoryFileLayer files;
        RecordingHost host;
        files.failFromWrite = c.failFromWrite;
        EXPECT_EQ(WritePreviewFile(Image(), kPath, files, host), c.result);
        EXPECT_EQ(host.errors, std::vector<std::string>{messages::kWaveWriteFailed});
        EXPECT_FALSE(files.Exists(kPath)) << "write " << c.failFromWrite;
        EXPECT_TRUE(files.files.empty()) << "nothing half-written beside it either";
    }

    MemoryFileLayer files;
    RecordingHost host;
    files.refusedPath = PartialFileName(kPath);
    EXPECT_EQ(WritePreviewFile(Image(), kPath, files, host), GenerationResult::NotStarted);
    EXPECT_EQ(host.errors, std::vector<std::string>{messages::kCannotCreateOutput});
    EXPECT_FALSE(files.Exists(kPath));
}

}  // namespace
}  // namespace sordanel
