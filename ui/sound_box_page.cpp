// The Sound Box page: the string/box ratio, four resonances and the pseudorandom resonances.

#include "control_ids.h"
#include "main_dialog.h"
#include "settings_rules.h"

namespace sordanel {

void CMainDlg::UpdateBoxOptions() {
    settings_.previewValid = false;
    settings_.stringToBoxRatio = StringToBoxRatioAt(SliderPosition(ids::kStringToBoxRatio),
                                                    SliderMaximum(ids::kStringToBoxRatio));
    settings_.pseudorandomResonances = IsChecked(ids::kPseudorandom);
    for (const int id :
         {ids::kPseudorandomAmpLabel, ids::kPseudorandomAmp, ids::kPseudorandomAmpStep}) {
        SetEnabled(id, settings_.pseudorandomResonances);
    }
    // Resonances 2, 3 and 4; the heading and the enable box itself stay usable.
    for (int i = 0; i < 3; ++i) {
        const bool on = IsChecked(ids::kResonanceEnable[i]);
        settings_.resonanceOn[i] = on;
        const int r = i + 1;
        for (const int id :
             {ids::kResonanceFreqLabel[r], ids::kResonanceFreq[r], ids::kResonanceFreqStep[r],
              ids::kResonanceWidthLabel[r], ids::kResonanceWidth[r], ids::kResonanceWidthStep[r],
              ids::kResonanceAmpLabel[r], ids::kResonanceAmp[r], ids::kResonanceAmpStep[r]}) {
            SetEnabled(id, on);
        }
    }
}

void CMainDlg::ShowResonanceFrequencies() {
    settings_.previewValid = false;
    for (int r = 0; r < 4; ++r) {
        SetText(ids::kResonanceFreq[r], QString::asprintf("%d", settings_.resonanceFreq[r]));
    }
}

void CMainDlg::ShowResonanceDetails() {
    settings_.previewValid = false;
    SetText(ids::kPseudorandomAmp, QString::asprintf("%d", settings_.pseudorandomAmp));
    for (int r = 0; r < 4; ++r) {
        SetText(ids::kResonanceWidth[r],
                QString::asprintf("%d", kResonanceWidthsHz[settings_.resonanceWidthIndex[r]]));
        SetText(ids::kResonanceAmp[r], QString::asprintf("%d", settings_.resonanceAmp[r]));
    }
}

}  // namespace sordanel
