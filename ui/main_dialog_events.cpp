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
        On(ids::kVibrato, Click, &D::UpdatePitchOptions),
        On(ids::kEqualTemperament, Click, &D::UpdatePitchOptions),
        On(ids::kJustIntonation, Click, &D::UpdatePitchOptions),
        On(ids::kRealTime, Click, &D::UpdatePitchOptions),
        On(ids::kPrecalculated, Click, &D::UpdatePitchOptions),
        On(ids::kAutocorrectionOff, Click, &D::UpdatePitchOptions),
        On(ids::kAbout, Click, &D::OnAbout),
        On(ids::kShowRemarks, Click, &D::OnShowRemarks),
        On(ids::kNoteList, SelectionChange, &D::OnNoteOrKeyChanged),
        On(ids::kKeyList, SelectionChange, &D::OnNoteOrKeyChanged),
    };
    Bind<D>(*this, controls_, kEvents);
}

}  // namespace sordanel
