#pragma once

#include <string_view>

namespace sordanel {

// Shows `message` in the error dialog and returns once the user has closed it.
//
// On the user-interface thread the dialog runs modally. From any other thread the dialog is
// opened on the user-interface thread as a parentless, non-modal window while the caller
// waits: no event loop runs on the caller's thread, and the rest of the program stays usable.
void ShowErrorDialog(std::string_view message);

}  // namespace sordanel
