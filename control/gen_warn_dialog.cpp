#include "gen_warn_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "alert_sound.h"
#include "control_ids.h"
#include "dialog_templates.h"

namespace sordanel {

CGenWarnDlg::CGenWarnDlg() : TemplateDialog(kWarningTemplate) {
    controls_.Get<QLabel>(ids::kWarningIcon)
        ->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    connect(controls_.Get<QPushButton>(ids::kProceed), &QPushButton::clicked, this,
            &CGenWarnDlg::OnProceed);
    connect(controls_.Get<QPushButton>(ids::kReady), &QPushButton::clicked, this,
            &CGenWarnDlg::OnReady);
}

void CGenWarnDlg::showEvent(QShowEvent* event) {
    TemplateDialog::showEvent(event);
    PlayAlertSound();
}

void CGenWarnDlg::OnProceed() {
    controls_.Find(ids::kReady)->setEnabled(true);
    controls_.Find(ids::kProceed)->setEnabled(false);
}

void CGenWarnDlg::OnReady() {
    accept();
}

}  // namespace sordanel
