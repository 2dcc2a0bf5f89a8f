#include "engine/temp_file_name.h"

namespace sordanel {

std::int32_t PathHash(const std::string& outputPath) {
    std::uint32_t hash = 0;
    for (std::size_t i = 0; i < outputPath.size(); ++i) {
        const auto byte = static_cast<std::int32_t>(static_cast<std::int8_t>(outputPath[i]));
        // Shifting the bit pattern keeps the sign-extended high bits, as the name requires.
        hash ^= static_cast<std::uint32_t>(byte) << (i % 19);
    }
    return static_cast<std::int32_t>(hash);
}

std::string TemporaryFileName(const std::string& tempDir, const std::string& outputPath) {
    return tempDir + "sd" + std::to_string(PathHash(outputPath)) + ".tmp";
}

std::string PartialFileName(const std::string& outputPath) {
    // Named after the file itself, so that different notes in one folder never share it; the
    // name is cut where a long one would exceed what a folder entry may hold, and the hash of
    // the whole path keeps two cut names apart.
    constexpr std::size_t kNameKept = 200;
    const std::size_t nameStart = outputPath.rfind('/') + 1;  // 0 without a folder
    return outputPath.substr(0, nameStart) + "." + outputPath.substr(nameStart, kNameKept) + "." +
           std::to_string(PathHash(outputPath)) + ".part";
}

}  // namespace sordanel
