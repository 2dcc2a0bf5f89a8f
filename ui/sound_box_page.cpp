// The Sound Box page: the string/box ratio, four resonances and the pseudorandom resonances.

#include "control_ids.h"
#include "main_dialog.h"
#include "settings_rules.h"
#include "settings_text.h"

namespace sordanel {

void CMainDlg::UpdateBoxOptions() {
    job_.previewValid = false;
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
    job_.previewValid = false;
    for (int r = 0; r < 4; ++r) {
        SetText(ids::kResonanceFreq[r], QString::number(settings_.resonanceFreq[r]));
    }
}

void CMainDlg::ShowResonanceDetails() {
    job_.previewValid = false;
    SetText(ids::kPseudorandomAmp, QString::number(settings_.pseudorandomAmp));
    for (int r = 0; r < 4; ++r) {
        SetText(ids::kResonanceWidth[r],
                QString::number(kResonanceWidthsHz[settings_.resonanceWidthIndex[r]]));
        SetText(ids::kResonanceAmp[r], QString::number(settings_.resonanceAmp[r]));
    }
}

// A step of F or dF lowers the width until it fits, not only once: for a step of one a single
// lowering always suffices, but the larger step of a held button could otherwise leave a
// width above 0.46 F.
void CMainDlg::ChangeResonanceFreq(int r, int step) {
    settings_.resonanceFreq[r] = StepResonanceFreq(settings_.resonanceFreq[r], step);
    ShowResonanceFrequencies();
    const std::int32_t widthIndex =
        WidthIndexAfterTypedFreq(settings_.resonanceFreq[r], settings_.resonanceWidthIndex[r]);
    if (widthIndex != settings_.resonanceWidthIndex[r]) {
        settings_.resonanceWidthIndex[r] = widthIndex;
        ShowResonanceDetails();
    }
}

void CMainDlg::ChangeResonanceWidth(int r, int step) {
    settings_.resonanceWidthIndex[r] =
        WidthIndexAfterTypedFreq(settings_.resonanceFreq[r],
                                 StepResonanceWidthIndex(settings_.resonanceWidthIndex[r], step));
    ShowResonanceDetails();
}

void CMainDlg::ChangeResonanceAmp(int r, int step) {
    settings_.resonanceAmp[r] = StepResonanceAmp(settings_.resonanceAmp[r], step);
    ShowResonanceDetails();
}

void CMainDlg::CommitTypedResonanceFreq(int r) {
    settings_.resonanceFreq[r] = TypedResonanceFreq(Text(ids::kResonanceFreq[r]).toStdString());
    ShowResonanceFrequencies();
    settings_.resonanceWidthIndex[r] =
        WidthIndexAfterTypedFreq(settings_.resonanceFreq[r], settings_.resonanceWidthIndex[r]);
    ShowResonanceDetails();
}

void CMainDlg::OnPseudorandomAmpStep(int step) {
    settings_.pseudorandomAmp = StepPseudorandomAmp(settings_.pseudorandomAmp, step);
    ShowResonanceDetails();
}

}  // namespace sordanel
