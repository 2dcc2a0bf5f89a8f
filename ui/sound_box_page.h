#pragma once

#include <QWidget>
#include <array>

#include "engine/generation_settings.h"

class QCheckBox;
class QLabel;
class QSlider;

namespace sordanel {

class StepValueBox;
class UpDownControl;

// The controls of the "Sound Box" page, made and owned by the page. It holds them as a private
// base, so its own code names them directly and others reach them only through controls().
struct SoundBoxControls {
    // The label, box and up/down control of one value of a resonance.
    struct StepValue {
        QLabel* label = nullptr;
        StepValueBox* box = nullptr;
        UpDownControl* step = nullptr;
    };
    struct ResonanceControls {
        StepValue freq, width, amp;
    };

    QSlider* stringToBoxRatio = nullptr;
    std::array<ResonanceControls, 4> resonance{};
    std::array<QCheckBox*, 3> resonanceEnable{};  // resonances 2, 3 and 4
    QCheckBox* pseudorandom = nullptr;
    StepValue pseudorandomAmp;
};

// The "Sound Box" page: the share of the box sound, four resonances (frequency F, width dF,
// amplitude A; the second to fourth can be switched off) and the built-in pseudorandom
// resonances with their amplitude. Every control writes its settings at once and the page
// reports changed().
class SoundBoxPage : public QWidget, private SoundBoxControls {
    Q_OBJECT
public:
    explicit SoundBoxPage(GenerationSettings& settings, QWidget* parent = nullptr);

    // Enables the values of the resonances switched on and the pseudorandom resonances'
    // amplitude while they are on; the headings and the enable boxes stay usable.
    void UpdateControls();
    // The controls, for tests that work the page as a user does. The window goes through the
    // page's functions and signals instead.
    const SoundBoxControls& controls() const { return *this; }

signals:
    void changed();

private:
    void CreateRatioGroup();
    void CreateResonances();
    void CreatePseudorandomGroup();
    void Connect();

    void UpdateBoxOptions();
    void ShowResonanceFrequencies();
    void ShowResonanceDetails();
    void ChangeResonanceFreq(int r, int step);
    void ChangeResonanceWidth(int r, int step);
    void ChangeResonanceAmp(int r, int step);
    void CommitTypedResonanceFreq(int r);
    void OnPseudorandomAmpStep(int step);

    GenerationSettings& settings_;
};

}  // namespace sordanel
