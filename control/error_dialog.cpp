#include "error_dialog.h"

#include <QLabel>
#include <QStyle>

#include "alert_sound.h"
#include "control_ids.h"
#include "dialog_templates.h"

namespace sordanel {

CErrorDialog::CErrorDialog(const QString& message) : TemplateDialog(kErrorTemplate) {
    controls_.Get<QLabel>(ids::kErrorMessage)->setText(message);
    controls_.Get<QLabel>(ids::kErrorIcon)
        ->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));
}

void CErrorDialog::showEvent(QShowEvent* event) {
    TemplateDialog::showEvent(event);
    PlayAlertSound();
}

}  // namespace sordanel
