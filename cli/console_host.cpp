#include "cli/console_host.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace sordanel {

namespace {

constexpr int kBarWidth = 40;

}  // namespace

void ConsoleHost::ShowError(std::string_view message) {
    EndProgressLine();
    std::fprintf(stderr, "sordanel-render: %.*s\n", static_cast<int>(message.size()),
                 message.data());
}

void ConsoleHost::ShowPreviewStatus(std::string_view text) {
    if (!drawProgress_) {
        return;
    }
    // "\033[K" clears what a longer earlier status left on the line.
    std::fprintf(stderr, "\r%.*s\033[K", static_cast<int>(text.size()), text.data());
    std::fflush(stderr);
    lineOpen_ = true;
}

void ConsoleHost::SetProgress(float fraction) {
    const int percent = static_cast<int>(std::clamp(fraction, 0.0f, 1.0f) * 100.0f);
    if (!drawProgress_ || percent == shownPercent_) {
        return;
    }
    shownPercent_ = percent;
    const int filled = percent * kBarWidth / 100;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(kBarWidth - filled), ' ');
    std::fprintf(stderr, "\r[%s] %3d%%", bar.c_str(), percent);
    std::fflush(stderr);
    lineOpen_ = true;
}

void ConsoleHost::EndProgressLine() {
    if (lineOpen_) {
        std::fputc('\n', stderr);
        lineOpen_ = false;
    }
}

}  // namespace sordanel
