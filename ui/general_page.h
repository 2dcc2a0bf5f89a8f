#pragma once

#include <QWidget>

#include "engine/generation_settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace sordanel {

class VerticalSlider;

// The controls of the "General/File" page, made and owned by the page. It holds them as a private
// base, so its own code names them directly and others reach them only through controls().
struct GeneralControls {
    QSlider* quality = nullptr;
    QLabel* volumeLabel = nullptr;
    VerticalSlider* volume = nullptr;
    QLineEdit* volumeText = nullptr;
    QLabel* volumeUnit = nullptr;
    QCheckBox* maximize = nullptr;
    QSlider* duration = nullptr;
    QLineEdit* durationText = nullptr;
    QLineEdit* outputPath = nullptr;
    QLabel* outputPathNotice = nullptr;
    QPushButton* browse = nullptr;
};

// The "General/File" page: sound quality, volume or "Maximize", duration and the output file.
// Every control writes its settings at once; the page reports changed(), or
// outputPathChanged() for a new output path, which leaves the preview as it is.
class GeneralPage : public QWidget, private GeneralControls {
    Q_OBJECT
public:
    explicit GeneralPage(GenerationSettings& settings, QWidget* parent = nullptr);

    // The save-file chooser: a chosen path becomes the output path, one longer than the box
    // holds is refused with a message, and a cancel changes nothing.
    void BrowseOutputFile();
    // Where the chooser opens and a typed relative path is resolved: the folder of the current
    // path when it exists, else the user's music folder, else the home folder.
    QString StartFolder() const;
    // Enables the volume while "Maximize" is off, which sets the level itself.
    void UpdateControls();
    // The controls, for tests that work the page as a user does. The window goes through the
    // page's functions and signals instead.
    const GeneralControls& controls() const { return *this; }

signals:
    void changed();
    void outputPathChanged();

private:
    void CreateVolumeGroup();
    void CreateDurationGroup();
    void CreateOutputGroup();
    void Connect();

    void UpdateGeneralValues();
    void ShowGeneralValues();
    void OnDurationTyped();
    void OnOutputPathTyped();
    void SetOutputPath(const QString& path);

    GenerationSettings& settings_;
    // Duration-slider position last turned into `duration`; no position has the start value.
    int durationSliderPos = -777;
};

}  // namespace sordanel
