#include "ui/string_bow_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <algorithm>

#include "engine/setting_table.h"
#include "engine/settings_rules.h"
#include "engine/settings_tables.h"
#include "engine/settings_text.h"
#include "platform/dialog_controls.h"
#include "platform/multi_line_button.h"
#include "platform/step_value_box.h"
#include "platform/up_down_control.h"
#include "platform/vertical_slider.h"
#include "res/resource_paths.h"
#include "ui/page_units.h"

namespace sordanel {

namespace {

// Offset of "C5" above "C4" in the note list, which runs from the highest note down.
constexpr int kOctave = 12;

// A drop-down list `width` units wide, centred on its label's height, opening as many rows as
// `listHeight` units hold.
QComboBox* MakeList(QWidget* page, const PageUnits& units, const QLabel* label, int x, int width,
                    int listHeight) {
    auto* list = new QComboBox(page);
    units.Place(list, x, 0, width, listHeight);
    const int height = list->sizeHint().height();
    const QRect place = list->geometry();
    list->setGeometry(place.x(), label->geometry().center().y() - height / 2, place.width(),
                      height);
    const int rowHeight = QFontMetrics(list->font()).height() + 4;
    list->setMaxVisibleItems(std::max(1, (place.height() - height) / rowHeight));
    return list;
}

QRadioButton* MakeRadio(const QString& text, QWidget* parent, QButtonGroup* group) {
    auto* radio = new MultiLineButton<QRadioButton>(text, parent);
    group->addButton(radio);
    return radio;
}

}  // namespace

StringBowPage::StringBowPage(GenerationSettings& settings, std::span<const char* const> noteNames,
                             QWidget* parent)
    : QWidget(parent), settings_(settings) {
    CreateStringBowGroup();
    CreatePitchControls(noteNames);
    SetStringBowDefaults();
    UpdateStringBowValues();
    UpdatePitchOptions();
    ShowPitchValues();
    Connect();
}

void StringBowPage::CreateStringBowGroup() {
    const PageUnits units(font());
    const auto slider = [&](SettingId id, int x, int width, int height, const char* text,
                            QRect label) {
        auto* made = new VerticalSlider(this);
        made->setRange(0, SliderPositions(id));
        units.Place(made, x, 80, width, height);
        units.Place(MakeLabel(QString::fromUtf8(text), this), label.x(), label.y(), label.width(),
                    label.height());
        return made;
    };
    bowPressingForce =
        slider(SettingId::BowPressingForce, 202, 19, 60, "Bow pressing force", {201, 142, 26, 30});
    bowSpeed = slider(SettingId::BowSpeed, 242, 19, 61, "Bow speed", {233, 143, 37, 16});
    bowPosition = slider(SettingId::BowPosition, 282, 24, 60,
                         "Bow pos. (slider low means near the bridge)", {273, 140, 41, 36});
    stringDamping =
        slider(SettingId::StringDamping, 321, 24, 59, "String damping factor", {319, 140, 33, 32});
    frictionRatio = slider(SettingId::FrictionRatio, 362, 24, 59,
                           "Kinetic / static fric- tion ratio", {359, 140, 34, 31});
    resetDefaults = MakeButton(QStringLiteral("Reset to defaults"), this, true);
    units.Place(resetDefaults, 404, 99, 47, 22);
    showRemarks = MakeButton(QStringLiteral("Show remarks"), this);
    units.Place(showRemarks, 400, 152, 54, 15);
    units.Place(MakeLabel(QStringLiteral("Volume fading time"), this), 347, 177, 72, 8);
    const QRect diagram = units.ToPixels(301, 192, 74, 48);
    MakeFramedImage(kEnvelopeDiagramPath, diagram.size(), this)->move(diagram.topLeft());
    units.Place(MakeLabel(QStringLiteral("t1/T"), this), 383, 202, 15, 9);
    t1Ratio = MakeHorizontalSlider(this);
    t1Ratio->setRange(0, SliderPositions(SettingId::T1Ratio));
    t1Ratio->setValue(SliderDefaultPosition(SettingId::T1Ratio));
    units.Place(t1Ratio, 397, 199, 62, 21);
    units.Place(MakeLabel(QStringLiteral("t2/T"), this), 383, 224, 14, 8);
    t2Ratio = MakeHorizontalSlider(this);
    t2Ratio->setRange(0, SliderPositions(SettingId::T2Ratio));
    t2Ratio->setValue(SliderDefaultPosition(SettingId::T2Ratio));
    units.Place(t2Ratio, 397, 221, 62, 18);
}

void StringBowPage::CreatePitchControls(std::span<const char* const> noteNames) {
    const PageUnits units(font());
    QLabel* noteLabel = MakeLabel(QStringLiteral("Note"), this);
    units.Place(noteLabel, 128, 90, 16, 9);
    noteList = MakeList(this, units, noteLabel, 147, 42, 119);
    for (const char* name : noteNames) {
        if (*name == '\0') {
            break;
        }
        noteList->addItem(QString::fromUtf8(name));
    }
    settings_.c4Index =
        noteList->findText(QStringLiteral("C4"), Qt::MatchExactly | Qt::MatchCaseSensitive);
    noteList->setCurrentIndex(settings_.c4Index < kOctave ? 0 : settings_.c4Index - kOctave);
    settings_.noteIndex = noteList->currentIndex();

    auto* temperament = new QButtonGroup(this);
    equalTemperament = MakeRadio(QStringLiteral("Equal temperament"), this, temperament);
    units.Place(equalTemperament, 124, 108, 64, 16);
    justIntonation = MakeRadio(QStringLiteral("Just intonation"), this, temperament);
    units.Place(justIntonation, 124, 128, 66, 10);
    equalTemperament->setChecked(settings_.justIntonation == Temperament::Equal);
    justIntonation->setChecked(settings_.justIntonation == Temperament::Just);
    keyLabel = MakeLabel(QStringLiteral("Key"), this);
    units.Place(keyLabel, 126, 144, 13, 8);
    keyList = MakeList(this, units, keyLabel, 142, 32, 79);
    for (const char* name : kKeyNames) {
        keyList->addItem(QString::fromUtf8(name));
    }
    keyList->setCurrentIndex(settings_.keyIndex);

    units.Place(MakeLabel(QStringLiteral("Detune (cents)"), this), 121, 161, 24, 16);
    detune = new StepValueBox(this);
    units.Place(detune, 149, 163, 26, 14);
    detuneStep = new UpDownControl(this);
    units.Place(detuneStep, 176, 163, 12, 14);
    detuneZero = MakeButton(QStringLiteral("0"), this);
    // Enter belongs to the window, not to a button clicked last.
    detuneZero->setAutoDefault(false);
    detuneZero->setFocusPolicy(Qt::NoFocus);
    units.Place(detuneZero, 188, 163, 11, 14);

    vibrato = new QCheckBox(QStringLiteral("Vibrato"), this);
    vibrato->setChecked(settings_.vibratoOn);
    units.Place(vibrato, 141, 190, 39, 10);
    vibratoSpeedLabel = MakeLabel(QStringLiteral("Speed (Hz)"), this);
    units.Place(vibratoSpeedLabel, 125, 203, 21, 17);
    vibratoSpeed = new StepValueBox(this);
    units.Place(vibratoSpeed, 151, 204, 25, 14);
    vibratoSpeedStep = new UpDownControl(this);
    units.Place(vibratoSpeedStep, 177, 204, 11, 14);
    vibratoDepthLabel = MakeLabel(QStringLiteral("Depth (cents)"), this);
    units.Place(vibratoDepthLabel, 125, 224, 25, 16);
    vibratoDepth = new StepValueBox(this);
    units.Place(vibratoDepth, 151, 225, 25, 14);
    vibratoDepthStep = new UpDownControl(this);
    units.Place(vibratoDepthStep, 177, 225, 11, 14);

    units.Place(MakeLabel(QStringLiteral("Frequency Autocorrection"), this), 201, 193, 84, 8);
    auto* autocorrection = new QButtonGroup(this);
    realTime = MakeRadio(QStringLiteral("Real time"), this, autocorrection);
    units.Place(realTime, 203, 205, 55, 10);
    precalculated = MakeRadio(QStringLiteral("Precalculated"), this, autocorrection);
    units.Place(precalculated, 203, 217, 59, 10);
    autocorrectionOff = MakeRadio(QStringLiteral("Off"), this, autocorrection);
    units.Place(autocorrectionOff, 203, 229, 27, 10);
    realTime->setChecked(settings_.autocorrection == AutocorrectionMode::RealTime);
    precalculated->setChecked(settings_.autocorrection == AutocorrectionMode::Precalculated);
    autocorrectionOff->setChecked(settings_.autocorrection == AutocorrectionMode::Off);
}

void StringBowPage::Connect() {
    for (QSlider* slider :
         std::initializer_list<QSlider*>{bowPressingForce, bowSpeed, bowPosition, stringDamping,
                                         frictionRatio, t1Ratio, t2Ratio}) {
        connect(slider, &QSlider::valueChanged, this, &StringBowPage::UpdateStringBowValues);
    }
    connect(resetDefaults, &QPushButton::clicked, this, &StringBowPage::OnResetDefaults);
    connect(showRemarks, &QPushButton::clicked, this, &StringBowPage::remarksRequested);
    for (QAbstractButton* option :
         std::initializer_list<QAbstractButton*>{vibrato, equalTemperament, justIntonation,
                                                 realTime, precalculated, autocorrectionOff}) {
        connect(option, &QAbstractButton::toggled, this, &StringBowPage::UpdatePitchOptions);
    }
    connect(noteList, &QComboBox::currentIndexChanged, this, &StringBowPage::OnNoteOrKeyChanged);
    connect(keyList, &QComboBox::currentIndexChanged, this, &StringBowPage::OnNoteOrKeyChanged);
    connect(vibratoSpeedStep, &UpDownControl::stepped, this, &StringBowPage::OnVibratoSpeedStep);
    connect(vibratoSpeed, &StepValueBox::stepped, this, &StringBowPage::OnVibratoSpeedStep);
    connect(vibratoDepthStep, &UpDownControl::stepped, this, &StringBowPage::OnVibratoDepthStep);
    connect(vibratoDepth, &StepValueBox::stepped, this, &StringBowPage::OnVibratoDepthStep);
    connect(detuneStep, &UpDownControl::stepped, this, &StringBowPage::OnDetuneStep);
    connect(detune, &StepValueBox::stepped, this, &StringBowPage::OnDetuneStep);
    connect(detuneZero, &QPushButton::clicked, this, &StringBowPage::OnDetuneZero);
}

void StringBowPage::SetStringBowDefaults() {
    bowPressingForce->setPosition(SliderDefaultPosition(SettingId::BowPressingForce));
    bowSpeed->setPosition(SliderDefaultPosition(SettingId::BowSpeed));
    frictionRatio->setPosition(SliderDefaultPosition(SettingId::FrictionRatio));
    bowPosition->setPosition(SliderDefaultPosition(SettingId::BowPosition));
    stringDamping->setPosition(SliderDefaultPosition(SettingId::StringDamping));
}

void StringBowPage::UpdateStringBowValues() {
    const auto at = [](SettingId id, const VerticalSlider* slider) {
        return SliderValueAt(id, slider->position(), slider->maximum());
    };
    settings_.bowPressingForce = at(SettingId::BowPressingForce, bowPressingForce);
    settings_.bowSpeed = at(SettingId::BowSpeed, bowSpeed);
    settings_.bowPosition = at(SettingId::BowPosition, bowPosition);
    settings_.stringDamping = at(SettingId::StringDamping, stringDamping);
    settings_.frictionRatio = at(SettingId::FrictionRatio, frictionRatio);
    settings_.t1Ratio = SliderValueAt(SettingId::T1Ratio, t1Ratio->value(), t1Ratio->maximum());
    settings_.t2Ratio = SliderValueAt(SettingId::T2Ratio, t2Ratio->value(), t2Ratio->maximum());
    emit changed();
}

void StringBowPage::OnResetDefaults() {
    // The sliders report each move; the settings are whole again once all stand at home.
    const QSignalBlocker force(bowPressingForce), speed(bowSpeed), position(bowPosition),
        damping(stringDamping), friction(frictionRatio);
    SetStringBowDefaults();
    UpdateStringBowValues();
}

void StringBowPage::UpdatePitchOptions() {
    settings_.vibratoOn = vibrato->isChecked();
    settings_.justIntonation =
        equalTemperament->isChecked() ? Temperament::Equal : Temperament::Just;
    settings_.autocorrection = realTime->isChecked()        ? AutocorrectionMode::RealTime
                               : precalculated->isChecked() ? AutocorrectionMode::Precalculated
                                                            : AutocorrectionMode::Off;
    emit changed();
}

void StringBowPage::UpdateControls() {
    for (QWidget* control :
         std::initializer_list<QWidget*>{vibratoSpeedLabel, vibratoSpeed, vibratoSpeedStep,
                                         vibratoDepthLabel, vibratoDepth, vibratoDepthStep}) {
        control->setEnabled(settings_.vibratoOn);
    }
    keyLabel->setEnabled(settings_.justIntonation == Temperament::Just);
    keyList->setEnabled(settings_.justIntonation == Temperament::Just);
}

void StringBowPage::ShowPitchValues() {
    vibratoSpeed->setText(
        QString::fromStdString(FormatTenths(kVibratoSpeedsHz[settings_.vibratoSpeedIndex])));
    vibratoDepth->setText(QString::number(settings_.vibratoDepth));
    detune->setText(QString::fromStdString(FormatSigned(settings_.detune)));
}

void StringBowPage::OnNoteOrKeyChanged() {
    settings_.noteIndex = noteList->currentIndex();
    settings_.keyIndex = keyList->currentIndex();
    emit changed();
}

void StringBowPage::OnVibratoSpeedStep(int step) {
    settings_.vibratoSpeedIndex = StepVibratoSpeedIndex(settings_.vibratoSpeedIndex, step);
    ShowPitchValues();
    emit changed();
}

void StringBowPage::OnVibratoDepthStep(int step) {
    settings_.vibratoDepth = StepVibratoDepth(settings_.vibratoDepth, step);
    ShowPitchValues();
    emit changed();
}

void StringBowPage::OnDetuneStep(int step) {
    settings_.detune = StepDetune(settings_.detune, step);
    ShowPitchValues();
    emit changed();
}

void StringBowPage::OnDetuneZero() {
    settings_.detune = 0;
    ShowPitchValues();
    emit changed();
}

}  // namespace sordanel
