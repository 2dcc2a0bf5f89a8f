#pragma once

namespace sordanel {

// The application's informational and exit dialogs, which the main dialog opens but which
// belong to the application shell.
class ShellDialogs {
public:
    virtual ~ShellDialogs() = default;
    virtual void ShowAbout() = 0;
    virtual void ShowRemarks() = 0;
    // The exit question; true when the user confirms.
    virtual bool ConfirmExit() = 0;
};

}  // namespace sordanel
