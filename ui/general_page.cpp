// The General/File page: sound quality, volume or "Maximize", duration and the output file.

#include "control_ids.h"
#include "main_dialog.h"
#include "settings_rules.h"

namespace sordanel {

void CMainDlg::UpdateGeneralValues() {
    settings_.previewValid = false;
    settings_.maximize = IsChecked(ids::kMaximize);
    for (const int id : {ids::kVolume, ids::kVolumeText, ids::kVolumeUnit}) {
        SetEnabled(id, !settings_.maximize);
    }
    settings_.quality = SliderPosition(ids::kQuality);
    settings_.volumeDb = VolumeDbAt(SliderPosition(ids::kVolume));
    // A typed duration stays until the slider itself is moved to another position.
    const int position = SliderPosition(ids::kDuration);
    if (position != durationSliderPos) {
        settings_.duration = DurationAt(position);
        durationSliderPos = position;
    }
}

void CMainDlg::ShowGeneralValues() {
    settings_.previewValid = false;
    SetText(ids::kVolumeText,
            QString::asprintf("%s%d", settings_.volumeDb > 0 ? "+" : "", settings_.volumeDb));
    SetText(ids::kDurationText, QString::asprintf("%.4g", double{settings_.duration}));
}

}  // namespace sordanel
