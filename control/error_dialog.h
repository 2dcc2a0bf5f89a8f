#pragma once

#include "template_dialog.h"

namespace sordanel {

// One failure message with a stop sign and "OK". Open it through ShowErrorDialog, which also
// works from the worker thread of a generation.
class CErrorDialog : public TemplateDialog {
    Q_OBJECT
public:
    explicit CErrorDialog(const QString& message);

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace sordanel
