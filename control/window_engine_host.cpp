#include "window_engine_host.h"

#include <QLabel>

#include "show_error_dialog.h"

namespace sordanel {

void WindowEngineHost::ShowError(std::string_view message) {
    ShowErrorDialog(message);
}

void WindowEngineHost::ShowPreviewStatus(std::string_view text) {
    previewStatus_.setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    previewStatus_.repaint();
}

}  // namespace sordanel
