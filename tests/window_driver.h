#pragma once

// Works the main window as a user does: arrow clicks, typing with Enter, focus changes.

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

#include "control_ids.h"
#include "engine_fakes.h"
#include "main_dialog.h"
#include "shell_dialog_set.h"
#include "tab_control.h"
#include "up_down_control.h"

namespace sordanel {

class WindowDriver {
public:
    WindowDriver() : window_(shell_, player_) {}
    // Hidden before it goes, as at the end of a run of the program: a text box still being
    // edited commits into the settings while they exist.
    ~WindowDriver() { window_.hide(); }

    // Starts the window, shows it and makes it the active one, so that focus moves as it does
    // for a user. False when it does not come up.
    bool Open() {
        if (!window_.InitDialog()) {
            return false;
        }
        window_.show();
        QApplication::setActiveWindow(&window_);
        return QTest::qWaitForWindowActive(&window_);
    }

    CMainDlg& window() { return window_; }
    GenerationSettings& settings() { return window_.settings(); }
    JobState& job() { return window_.job(); }

    template <class Widget = QWidget>
    Widget* Get(int id) const {
        return window_.controls().Get<Widget>(id);
    }
    QString Text(int id) const { return Get<QLineEdit>(id)->text(); }
    bool Enabled(int id) const { return Get(id)->isEnabled(); }

    void ShowPage(int page) { Get<TabControl>(ids::kTabs)->setCurrentIndex(page); }
    void Click(int id) { Get<QAbstractButton>(id)->click(); }
    void SlideTo(int id, int position) { Get<QSlider>(id)->setValue(position); }

    // Clicks the upper arrow of an up/down control `times` times, or the lower one for a
    // negative count. A disabled control does not step.
    void Step(int id, int times) {
        const Qt::ArrowType direction = times > 0 ? Qt::UpArrow : Qt::DownArrow;
        for (auto* arrow : Get<UpDownControl>(id)->findChildren<QToolButton*>()) {
            if (arrow->arrowType() == direction) {
                for (int i = 0; i < std::abs(times); ++i) {
                    arrow->click();
                }
            }
        }
    }

    // Puts the keyboard focus into a text box, as a click into it does, which also brings the
    // window back to the front after another one was in use.
    void Focus(int id) {
        QApplication::setActiveWindow(&window_);
        QWidget* box = Get(id);
        box->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(box->hasFocus());
    }

    // Replaces a text box's text by typing, then commits it with Enter.
    void Type(int id, const QString& text) {
        Focus(id);
        auto* box = Get<QLineEdit>(id);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        // Key by key, as a keyboard whose layout has every character of `text`.
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        QTest::keyClick(box, Qt::Key_Return);
        QTRY_VERIFY(!box->hasFocus());
    }

private:
    ShellDialogSet shell_;
    testing::RecordingPlayer player_;
    CMainDlg window_;
};

}  // namespace sordanel
