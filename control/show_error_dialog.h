#pragma once

#include <string_view>

namespace sordanel {

// Shows `message` in the error dialog and returns once the user has closed it.
//
// On the user-interface thread the dialog runs modally. From any other thread it is opened on
// the user-interface thread, above every dialog already open, and shown without an event loop
// of its own while the caller waits: the user-interface thread goes on with whatever it was
// running, a modal progress dialog included.
void ShowErrorDialog(std::string_view message);

}  // namespace sordanel
