#include "template_dialog.h"

#include <QAbstractButton>

namespace sordanel {

TemplateDialog::TemplateDialog(const DialogTemplate& layout, const CustomControlMaker& makeCustom)
    : controls_(BuildDialog(*this, layout, makeCustom)) {
    if (auto* ok = controls_.Get<QAbstractButton>(kOkId)) {
        connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
    }
    if (auto* cancel = controls_.Get<QAbstractButton>(kCancelId)) {
        connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    }
}

}  // namespace sordanel
