#pragma once

#include <QWidget>
#include <span>

#include "engine/generation_settings.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace sordanel {

class StepValueBox;
class UpDownControl;
class VerticalSlider;

// The controls of the "String && Bow" page, made and owned by the page. It holds them as a private
// base, so its own code names them directly and others reach them only through controls().
struct StringBowControls {
    VerticalSlider* bowPressingForce = nullptr;
    VerticalSlider* bowSpeed = nullptr;
    VerticalSlider* bowPosition = nullptr;
    VerticalSlider* stringDamping = nullptr;
    VerticalSlider* frictionRatio = nullptr;
    QSlider* t1Ratio = nullptr;
    QSlider* t2Ratio = nullptr;
    QPushButton* resetDefaults = nullptr;
    QPushButton* showRemarks = nullptr;

    QComboBox* noteList = nullptr;
    QRadioButton* equalTemperament = nullptr;
    QRadioButton* justIntonation = nullptr;
    QLabel* keyLabel = nullptr;
    QComboBox* keyList = nullptr;
    StepValueBox* detune = nullptr;
    UpDownControl* detuneStep = nullptr;
    QPushButton* detuneZero = nullptr;
    QCheckBox* vibrato = nullptr;
    QLabel* vibratoSpeedLabel = nullptr;
    StepValueBox* vibratoSpeed = nullptr;
    UpDownControl* vibratoSpeedStep = nullptr;
    QLabel* vibratoDepthLabel = nullptr;
    StepValueBox* vibratoDepth = nullptr;
    UpDownControl* vibratoDepthStep = nullptr;
    QRadioButton* realTime = nullptr;
    QRadioButton* precalculated = nullptr;
    QRadioButton* autocorrectionOff = nullptr;
};

// The "String && Bow" page: the five string and bow sliders, the bow envelope ("t1/T",
// "t2/T"), and the pitch controls: note, temperament and key, detune, vibrato and frequency
// autocorrection. Every control writes its settings at once and the page reports changed().
class StringBowPage : public QWidget, private StringBowControls {
    Q_OBJECT
public:
    // noteNames: the entries of the note list, ended by an empty name.
    StringBowPage(GenerationSettings& settings, std::span<const char* const> noteNames,
                  QWidget* parent = nullptr);

    // False when the note list holds no "C4", which the window cannot start without.
    bool noteListReady() const { return settings_.c4Index >= 0; }
    // Enables the controls whose settings are in use: the vibrato's speed and depth while it
    // is on, the key in just intonation.
    void UpdateControls();
    // The controls, for tests that work the page as a user does. The window goes through the
    // page's functions and signals instead.
    const StringBowControls& controls() const { return *this; }

signals:
    void changed();
    void remarksRequested();

private:
    void CreateStringBowGroup();
    void CreatePitchControls(std::span<const char* const> noteNames);
    void Connect();

    void SetStringBowDefaults();
    void UpdateStringBowValues();
    void OnResetDefaults();
    void UpdatePitchOptions();
    void ShowPitchValues();
    void OnNoteOrKeyChanged();
    void OnVibratoSpeedStep(int step);
    void OnVibratoDepthStep(int step);
    void OnDetuneStep(int step);
    void OnDetuneZero();

    GenerationSettings& settings_;
};

}  // namespace sordanel
