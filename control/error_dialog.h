#pragma once

#include <QDialog>

class QLabel;

namespace sordanel {

// One failure message with a stop sign and "OK"; plays the alert sound as it opens. A worker's
// failure reaches it through the GenerationJob, which opens it on the user-interface thread.
class CErrorDialog : public QDialog {
    Q_OBJECT
public:
    explicit CErrorDialog(const QString& message, QWidget* parent = nullptr);

    QLabel* message() const { return message_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* message_;
};

}  // namespace sordanel
