#pragma once

// Answers the modal dialogs that the code under test opens, as a user would.

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

namespace sordanel {

// Runs `answer` on the next dialog that becomes modal, from within its own event loop.
inline void WhenModalOpens(std::function<void(QDialog&)> answer) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(*dialog);
        }
    });
    poll->start(10);
}

// Runs `answer` on the next dialog of kind `Dialog` that is shown, whether another one has
// already opened above it or not.
template <class Dialog>
void WhenOpens(std::function<void(Dialog&)> answer) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<Dialog*>(window); dialog && dialog->isVisible()) {
                poll->stop();
                poll->deleteLater();
                answer(*dialog);
                return;
            }
        }
    });
    poll->start(10);
}

// The button of `dialog` that shows `text`, or nullptr.
inline QAbstractButton* ButtonWithText(const QWidget& dialog, const QString& text) {
    for (auto* button : dialog.findChildren<QAbstractButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

}  // namespace sordanel
