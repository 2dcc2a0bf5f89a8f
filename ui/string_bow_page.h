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

// The "String && Bow" page: the five string and bow sliders, the bow envelope ("t1/T",
// "t2/T"), and the pitch controls: note, temperament and key, detune, vibrato and frequency
// autocorrection. Every control writes its settings at once and the page reports changed().
class StringBowPage : public QWidget {
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

    VerticalSlider* bowPressingForce;
    VerticalSlider* bowSpeed;
    VerticalSlider* bowPosition;
    VerticalSlider* stringDamping;
    VerticalSlider* frictionRatio;
    QSlider* t1Ratio;
    QSlider* t2Ratio;
    QPushButton* resetDefaults;
    QPushButton* showRemarks;

    QComboBox* noteList;
    QRadioButton* equalTemperament;
    QRadioButton* justIntonation;
    QLabel* keyLabel;
    QComboBox* keyList;
    StepValueBox* detune;
    UpDownControl* detuneStep;
    QPushButton* detuneZero;
    QCheckBox* vibrato;
    QLabel* vibratoSpeedLabel;
    StepValueBox* vibratoSpeed;
    UpDownControl* vibratoSpeedStep;
    QLabel* vibratoDepthLabel;
    StepValueBox* vibratoDepth;
    UpDownControl* vibratoDepthStep;
    QRadioButton* realTime;
    QRadioButton* precalculated;
    QRadioButton* autocorrectionOff;

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
