// The String & Bow page: the five string and bow sliders and the two envelope sliders.

#include "control_ids.h"
#include "main_dialog.h"
#include "settings_rules.h"

namespace sordanel {

void CMainDlg::SetStringBowDefaults() {
    const SliderPositions& at = kSliderDefaults;
    SetSlider(ids::kBowPressingForce, kBowSliderMax, at.bowPressingForce);
    SetSlider(ids::kBowSpeed, kBowSliderMax, at.bowSpeed);
    SetSlider(ids::kFrictionRatio, kBowSliderMax, at.frictionRatio);
    SetSlider(ids::kBowPosition, kBowSliderMax, at.bowPosition);
    SetSlider(ids::kStringDamping, kBowSliderMax, at.stringDamping);
}

void CMainDlg::UpdateStringBowValues() {
    job_.previewValid = false;
    const auto at = [this](int id, auto mapping) {
        return mapping(SliderPosition(id), SliderMaximum(id));
    };
    settings_.bowPressingForce = at(ids::kBowPressingForce, BowPressingForceAt);
    settings_.bowSpeed = at(ids::kBowSpeed, BowSpeedAt);
    settings_.bowPosition = at(ids::kBowPosition, BowPositionAt);
    settings_.stringDamping = at(ids::kStringDamping, StringDampingAt);
    settings_.frictionRatio = at(ids::kFrictionRatio, FrictionRatioAt);
    settings_.t1Ratio = at(ids::kT1Ratio, EnvelopeRatioAt);
    settings_.t2Ratio = at(ids::kT2Ratio, EnvelopeRatioAt);
}

void CMainDlg::OnResetDefaults() {
    SetStringBowDefaults();
    UpdateStringBowValues();
}

}  // namespace sordanel
