#pragma once

#include <optional>
#include <ostream>

namespace sordanel {

// Answers "--help" and "--version" on `out` without opening the window: the program's exit
// status then. Nothing when the window should open; any other argument is left to Qt.
std::optional<int> AnswerCommandLine(int argc, const char* const* argv, std::ostream& out);

}  // namespace sordanel
