#pragma once

#include "ui/shell_dialogs.h"

namespace sordanel {

// The application's own About, remarks and exit dialogs, each run modally once per call.
class ShellDialogSet : public ShellDialogs {
public:
    void ShowAbout() override;
    void ShowRemarks() override;
    bool ConfirmExit() override;
};

}  // namespace sordanel
