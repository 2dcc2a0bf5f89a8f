#pragma once

// Works the main window as a user does: arrow clicks, typing with Enter, focus changes.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include "app/shell_dialog_set.h"
#include "control/generation_job.h"
#include "platform/step_value_box.h"
#include "platform/up_down_control.h"
#include "platform/vertical_slider.h"
#include "tests/engine_fakes.h"
#include "ui/general_page.h"
#include "ui/main_dlg.h"
#include "ui/sound_box_page.h"
#include "ui/string_bow_page.h"

namespace sordanel {

class WindowDriver {
public:
    WindowDriver() : window_(shell_, player_) {}
    // Hidden before it goes, as at the end of a run of the program: a text box still being
    // edited commits into the settings while they exist.
    ~WindowDriver() { window_.hide(); }

    // Shows the window and makes it the active one, so that focus moves as it does for a user.
    // False when it does not come up.
    bool Open() {
        if (!window_.started()) {
            return false;
        }
        window_.show();
        QApplication::setActiveWindow(&window_);
        return QTest::qWaitForWindowActive(&window_);
    }

    CMainDlg& window() { return window_; }
    const GenerationSettings& settings() const { return window_.settings(); }
    GenerationJob& job() { return window_.job(); }
    StringBowPage& bowPage() { return window_.stringBowPage(); }
    SoundBoxPage& boxPage() { return window_.soundBoxPage(); }
    GeneralPage& generalPage() { return window_.generalPage(); }
    // The pages' controls, which the tests work.
    const StringBowControls& bow() { return bowPage().controls(); }
    const SoundBoxControls& box() { return boxPage().controls(); }
    const GeneralControls& general() { return generalPage().controls(); }
    testing::RecordingPlayer& player() { return player_; }

    QString Text(const QLineEdit* box) const { return box->text(); }
    bool Enabled(const QWidget* control) const { return control->isEnabled(); }
    void ShowPage(int page) { window_.tabs().setCurrentIndex(page); }
    void Click(QAbstractButton* button) { button->click(); }
    // Vertical sliders count their positions from the top, as the settings read them.
    void SlideTo(VerticalSlider* slider, int position) { slider->setPosition(position); }
    void SlideTo(QSlider* slider, int position) { slider->setValue(position); }

    // Clicks the upper arrow of an up/down control `times` times, or the lower one for a
    // negative count. A disabled control does not step.
    void Step(UpDownControl* control, int times) {
        QToolButton* arrow = times > 0 ? control->upArrow() : control->downArrow();
        for (int i = 0; i < std::abs(times); ++i) {
            arrow->click();
        }
    }
    // Presses `key` in a value box, as a keyboard user steps it.
    void Press(StepValueBox* box, Qt::Key key) {
        Focus(box);
        QTest::keyClick(box, key);
    }

    // Puts the keyboard focus into a control, as a click into it does, which also brings the
    // window back to the front after another one was in use.
    void Focus(QWidget* control) {
        QApplication::setActiveWindow(&window_);
        control->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(control->hasFocus());
    }

    // Replaces a text box's text by typing, then commits it with Enter.
    void Type(QLineEdit* box, const QString& text) {
        Focus(box);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        // Key by key, as a keyboard whose layout has every character of `text`.
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        QTest::keyClick(box, Qt::Key_Return);
        QTRY_VERIFY(!box->hasFocus());
    }

    // A preview of the current settings, synthesised or replayed.
    void Preview() { window_.previewButton()->click(); }

private:
    ShellDialogSet shell_;
    testing::RecordingPlayer player_;
    CMainDlg window_;
};

}  // namespace sordanel
