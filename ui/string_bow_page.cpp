// The String & Bow page: the five string and bow sliders and the two envelope sliders.

#include "control_ids.h"
#include "main_dialog.h"
#include "settings_rules.h"

namespace sordanel {

void CMainDlg::SetStringBowDefaults() {
    SetSlider(ids::kBowPressingForce, SliderMaximum(ids::kBowPressingForce), 7);
    SetSlider(ids::kBowSpeed, SliderMaximum(ids::kBowSpeed), 15);
    SetSlider(ids::kFrictionRatio, SliderMaximum(ids::kFrictionRatio), 13);
    SetSlider(ids::kBowPosition, SliderMaximum(ids::kBowPosition), 12);
    SetSlider(ids::kStringDamping, SliderMaximum(ids::kStringDamping), 12);
}

void CMainDlg::UpdateStringBowValues() {
    settings_.previewValid = false;
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
