#include "app/command_line.h"

#include <string_view>

namespace sordanel {

namespace {

constexpr std::string_view kUsage =
    "Usage: sordanel [--help] [--version] [Qt options]\n"
    "\n"
    "Opens the window of the bowed-string note generator: shape one sustained note, preview it,\n"
    "and generate it as a mono 16-bit 44100 Hz WAVE file. sordanel-render renders notes\n"
    "without a window.\n"
    "\n"
    "  -h, --help     print this help and exit\n"
    "  --version      print the version and exit\n";

}  // namespace

std::optional<int> AnswerCommandLine(int argc, const char* const* argv, std::ostream& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            out << kUsage;
            return 0;
        }
        if (argument == "--version") {
            out << "sordanel " SORDANEL_VERSION "\n";
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace sordanel
