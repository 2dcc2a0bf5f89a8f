// The window program's command line: --help and --version answer without a window.

#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

namespace sordanel {
namespace {

std::optional<int> Answer(std::initializer_list<const char*> arguments, std::string& printed) {
    std::vector<const char*> argv = {"sordanel"};
    argv.insert(argv.end(), arguments);
    std::ostringstream out;
    const auto status = AnswerCommandLine(static_cast<int>(argv.size()), argv.data(), out);
    printed = out.str();
    return status;
}

TEST(CommandLine, HelpAndVersionPrintAndEnd) {
    std::string printed;
    EXPECT_EQ(Answer({"--help"}, printed), 0);
    EXPECT_EQ(printed.rfind("Usage: sordanel", 0), 0u);
    EXPECT_EQ(Answer({"-platform", "offscreen", "-h"}, printed), 0);
    EXPECT_NE(printed.find("--version"), std::string::npos);
    EXPECT_EQ(Answer({"--version"}, printed), 0);
    EXPECT_EQ(printed, "sordanel " SORDANEL_VERSION "\n");
}

TEST(CommandLine, AnythingElseOpensTheWindow) {
    std::string printed;
    EXPECT_EQ(Answer({}, printed), std::nullopt);
    EXPECT_EQ(Answer({"-platform", "offscreen"}, printed), std::nullopt);
    EXPECT_TRUE(printed.empty());
}

}  // namespace
}  // namespace sordanel
