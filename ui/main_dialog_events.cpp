// The main dialog's event table: which member runs when a control reports.

#include "control_ids.h"
#include "event_table.h"
#include "main_dialog.h"

namespace sordanel {

void CMainDlg::BindEvents() {
    using enum ControlEvent;
    using D = CMainDlg;
    static const EventEntry<D> kEvents[] = {
        On(ids::kTabs, SelectionChange, &D::OnSelectPage),
        On(ids::kBowSpeed, Draw, &D::UpdateStringBowValues),
        On(ids::kStringDamping, Draw, &D::UpdateStringBowValues),
        On(ids::kBowPressingForce, Draw, &D::UpdateStringBowValues),
        On(ids::kBowPosition, Draw, &D::UpdateStringBowValues),
        On(ids::kFrictionRatio, Draw, &D::UpdateStringBowValues),
        On(ids::kT1Ratio, Draw, &D::UpdateStringBowValues),
        On(ids::kT2Ratio, Draw, &D::UpdateStringBowValues),
        On(ids::kQuality, Draw, &D::UpdateGeneralValues),
        On(ids::kVolume, Draw, &D::UpdateGeneralValues),
        On(ids::kVolume, Draw, &D::ShowGeneralValues),
        On(ids::kDuration, Draw, &D::UpdateGeneralValues),
        On(ids::kDuration, Draw, &D::ShowGeneralValues),
        On(ids::kStringToBoxRatio, Draw, &D::UpdateBoxOptions),
        On(ids::kPseudorandom, Click, &D::UpdateBoxOptions),
        On(ids::kResonanceEnable[0], Click, &D::UpdateBoxOptions),
        On(ids::kResonanceEnable[1], Click, &D::UpdateBoxOptions),
        On(ids::kResonanceEnable[2], Click, &D::UpdateBoxOptions),
        On(ids::kMaximize, Click, &D::UpdateGeneralValues),
        On(ids::kBrowse, Click, &D::BrowseOutputFile),
        OnStep(ids::kPseudorandomAmpStep, &D::OnPseudorandomAmpStep),
        On(ids::kOutputPath, FocusLost, &D::OnOutputPathFocusLost),
        On(ids::kOutputPath, FocusGained, &D::OnOutputPathFocusGained),
        OnStep(ids::kResonanceFreqStep[0], &D::OnResonanceFreqStep<0>),
        OnStep(ids::kResonanceWidthStep[0], &D::OnResonanceWidthStep<0>),
        OnStep(ids::kResonanceAmpStep[0], &D::OnResonanceAmpStep<0>),
        OnStep(ids::kResonanceFreqStep[1], &D::OnResonanceFreqStep<1>),
        OnStep(ids::kResonanceWidthStep[1], &D::OnResonanceWidthStep<1>),
        OnStep(ids::kResonanceAmpStep[1], &D::OnResonanceAmpStep<1>),
        OnStep(ids::kResonanceFreqStep[2], &D::OnResonanceFreqStep<2>),
        OnStep(ids::kResonanceWidthStep[2], &D::OnResonanceWidthStep<2>),
        OnStep(ids::kResonanceAmpStep[2], &D::OnResonanceAmpStep<2>),
        OnStep(ids::kResonanceFreqStep[3], &D::OnResonanceFreqStep<3>),
        OnStep(ids::kResonanceWidthStep[3], &D::OnResonanceWidthStep<3>),
        OnStep(ids::kResonanceAmpStep[3], &D::OnResonanceAmpStep<3>),
        On(ids::kResonanceFreq[0], FocusLost, &D::OnResonanceFreqTyped<0>),
        On(ids::kResonanceFreq[1], FocusLost, &D::OnResonanceFreqTyped<1>),
        On(ids::kResonanceFreq[2], FocusLost, &D::OnResonanceFreqTyped<2>),
        On(ids::kResonanceFreq[3], FocusLost, &D::OnResonanceFreqTyped<3>),
        On(ids::kResetDefaults, Click, &D::OnResetDefaults),
        On(ids::kVibrato, Click, &D::UpdatePitchOptions),
        On(ids::kEqualTemperament, Click, &D::UpdatePitchOptions),
        On(ids::kJustIntonation, Click, &D::UpdatePitchOptions),
        On(ids::kRealTime, Click, &D::UpdatePitchOptions),
        On(ids::kPrecalculated, Click, &D::UpdatePitchOptions),
        On(ids::kAutocorrectionOff, Click, &D::UpdatePitchOptions),
        OnStep(ids::kVibratoSpeedStep, &D::OnVibratoSpeedStep),
        OnStep(ids::kVibratoDepthStep, &D::OnVibratoDepthStep),
        OnStep(ids::kDetuneStep, &D::OnDetuneStep),
        On(ids::kDetuneZero, Click, &D::OnDetuneZero),
        On(ids::kAbout, Click, &D::OnAbout),
        On(ids::kGenerate, Click, &D::OnGenerate),
        On(ids::kPreview, Click, &D::OnPreview),
        On(ids::kListen, Click, &D::OnListen),
        On(ids::kShowRemarks, Click, &D::OnShowRemarks),
        On(ids::kDurationText, FocusLost, &D::OnDurationTyped),
        On(ids::kNoteList, SelectionChange, &D::OnNoteOrKeyChanged),
        On(ids::kKeyList, SelectionChange, &D::OnNoteOrKeyChanged),
    };
    Bind<D>(*this, controls_, kEvents);
}

}  // namespace sordanel
