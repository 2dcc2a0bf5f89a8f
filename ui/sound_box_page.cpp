#include "ui/sound_box_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QSlider>

#include "engine/setting_table.h"
#include "engine/settings_rules.h"
#include "engine/settings_tables.h"
#include "engine/settings_text.h"
#include "platform/dialog_controls.h"
#include "platform/multi_line_button.h"
#include "platform/step_value_box.h"
#include "platform/up_down_control.h"
#include "res/resource_paths.h"
#include "ui/page_units.h"

namespace sordanel {

namespace {

// Where the controls of each resonance stand: the left edge of its F label and box, its
// up/down controls, and the width of its boxes.
struct ResonanceColumn {
    int label, box, step, boxWidth;
};
constexpr std::array<ResonanceColumn, 4> kColumns = {{
    {126, 134, 164, 29},
    {186, 194, 224, 30},
    {249, 257, 287, 30},
    {313, 321, 351, 30},
}};
constexpr std::array<int, 4> kHeadingLeft = {124, 184, 247, 311};
constexpr std::array<int, 3> kEnableLeft = {205, 268, 333};
constexpr const char* kHeadings[] = {"First resonance", "Second resonance", "Third resonance",
                                     "Fourth resonance"};

}  // namespace

SoundBoxPage::SoundBoxPage(GenerationSettings& settings, QWidget* parent)
    : QWidget(parent), settings_(settings) {
    CreateRatioGroup();
    CreateResonances();
    CreatePseudorandomGroup();
    ShowResonanceFrequencies();
    ShowResonanceDetails();
    UpdateBoxOptions();
    Connect();
}

void SoundBoxPage::CreateRatioGroup() {
    const PageUnits units(font());
    units.Place(MakeLabel(QStringLiteral("String sound to box sound ratio"), this), 139, 86, 109,
                10);
    units.Place(MakeLabel(QStringLiteral("String"), this), 130, 99, 24, 12);
    stringToBoxRatio = MakeHorizontalSlider(this);
    stringToBoxRatio->setRange(0, SliderPositions(SettingId::StringToBoxRatio));
    stringToBoxRatio->setValue(SliderDefaultPosition(SettingId::StringToBoxRatio));
    units.Place(stringToBoxRatio, 151, 97, 71, 15);
    units.Place(MakeLabel(QStringLiteral("Box"), this), 226, 99, 16, 9);
    units.Place(MakeLabel(QStringLiteral("Remark: Setting this slider to the extreme left "
                                         "position prevents generating box sound, thus reducing "
                                         "generation time"),
                          this),
                143, 117, 87, 43);
    units.Place(MakeLabel(QStringLiteral("Resonance parameters (settings below)"), this), 273, 86,
                76, 19);
    const QRect diagram = units.ToPixels(269, 106, 84, 50);
    MakeFramedImage(kResonanceDiagramPath, diagram.size(), this)->move(diagram.topLeft());
}

void SoundBoxPage::CreateResonances() {
    const PageUnits units(font());
    const auto value = [&](const char* name, int y, const ResonanceColumn& at, bool typed) {
        StepValue made{MakeLabel(QString::fromUtf8(name), this), new StepValueBox(this, !typed),
                       new UpDownControl(this)};
        units.Place(made.label, at.label - (name[1] == 'F' ? 2 : 0), y + 3, name[1] ? 9 : 7, 8);
        units.Place(made.box, at.box, y, at.boxWidth, 14);
        units.Place(made.step, at.step, y, 11, 14);
        return made;
    };
    for (int r = 0; r < 4; ++r) {
        const ResonanceColumn& at = kColumns[r];
        units.Place(MakeLabel(QString::fromUtf8(kHeadings[r]), this, true), kHeadingLeft[r], 160,
                    50, 16);
        resonance[r] = {value("F", 188, at, true), value("dF", 207, at, false),
                        value("A", 225, at, false)};
        resonance[r].freq.box->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[0-9]*")), resonance[r].freq.box));
    }
    for (int i = 0; i < 3; ++i) {
        resonanceEnable[i] = new QCheckBox(this);
        resonanceEnable[i]->setChecked(settings_.resonanceOn[i]);
        units.Place(resonanceEnable[i], kEnableLeft[i], 176, 16, 8);
    }
}

void SoundBoxPage::CreatePseudorandomGroup() {
    const PageUnits units(font());
    pseudorandom = new MultiLineButton<QCheckBox>(
        QStringLiteral("Generate other pseudorandom resonances (always the same)"), this);
    pseudorandom->setChecked(settings_.pseudorandomResonances);
    units.Place(pseudorandom, 379, 188, 79, 34);
    pseudorandomAmp = {MakeLabel(QStringLiteral("Amplitude (dB)"), this), new StepValueBox(this),
                       new UpDownControl(this)};
    units.Place(pseudorandomAmp.label, 378, 224, 35, 17);
    units.Place(pseudorandomAmp.box, 415, 226, 26, 14);
    units.Place(pseudorandomAmp.step, 441, 225, 11, 14);
}

void SoundBoxPage::Connect() {
    connect(stringToBoxRatio, &QSlider::valueChanged, this, &SoundBoxPage::UpdateBoxOptions);
    connect(pseudorandom, &QCheckBox::toggled, this, &SoundBoxPage::UpdateBoxOptions);
    for (QCheckBox* enable : resonanceEnable) {
        connect(enable, &QCheckBox::toggled, this, &SoundBoxPage::UpdateBoxOptions);
    }
    const auto steps = [this](const StepValue& value, auto handler) {
        connect(value.step, &UpDownControl::stepped, this, handler);
        connect(value.box, &StepValueBox::stepped, this, handler);
    };
    for (int r = 0; r < 4; ++r) {
        steps(resonance[r].freq, [this, r](int step) { ChangeResonanceFreq(r, step); });
        steps(resonance[r].width, [this, r](int step) { ChangeResonanceWidth(r, step); });
        steps(resonance[r].amp, [this, r](int step) { ChangeResonanceAmp(r, step); });
        connect(resonance[r].freq.box, &QLineEdit::editingFinished, this,
                [this, r] { CommitTypedResonanceFreq(r); });
    }
    steps(pseudorandomAmp, [this](int step) { OnPseudorandomAmpStep(step); });
}

void SoundBoxPage::UpdateBoxOptions() {
    settings_.stringToBoxRatio = SliderValueAt(
        SettingId::StringToBoxRatio, stringToBoxRatio->value(), stringToBoxRatio->maximum());
    settings_.pseudorandomResonances = pseudorandom->isChecked();
    for (int i = 0; i < 3; ++i) {
        settings_.resonanceOn[i] = resonanceEnable[i]->isChecked();
    }
    emit changed();
}

void SoundBoxPage::UpdateControls() {
    // Resonances 2, 3 and 4; the first is always on.
    for (int r = 1; r < 4; ++r) {
        for (const StepValue& value : {resonance[r].freq, resonance[r].width, resonance[r].amp}) {
            for (QWidget* control :
                 std::initializer_list<QWidget*>{value.label, value.box, value.step}) {
                control->setEnabled(settings_.resonanceOn[r - 1]);
            }
        }
    }
    for (QWidget* control : std::initializer_list<QWidget*>{
             pseudorandomAmp.label, pseudorandomAmp.box, pseudorandomAmp.step}) {
        control->setEnabled(settings_.pseudorandomResonances);
    }
}

void SoundBoxPage::ShowResonanceFrequencies() {
    for (int r = 0; r < 4; ++r) {
        resonance[r].freq.box->setText(QString::number(settings_.resonanceFreq[r]));
    }
}

void SoundBoxPage::ShowResonanceDetails() {
    pseudorandomAmp.box->setText(QString::number(settings_.pseudorandomAmp));
    for (int r = 0; r < 4; ++r) {
        resonance[r].width.box->setText(
            QString::number(kResonanceWidthsHz[settings_.resonanceWidthIndex[r]]));
        resonance[r].amp.box->setText(QString::number(settings_.resonanceAmp[r]));
    }
}

// A step of F lowers the width until it fits, not only once: for a step of one a single
// lowering always suffices, but a larger step could otherwise leave a width above 0.46 F.
void SoundBoxPage::ChangeResonanceFreq(int r, int step) {
    settings_.resonanceFreq[r] = StepResonanceFreq(settings_.resonanceFreq[r], step);
    settings_.resonanceWidthIndex[r] =
        WidthIndexAfterTypedFreq(settings_.resonanceFreq[r], settings_.resonanceWidthIndex[r]);
    ShowResonanceFrequencies();
    ShowResonanceDetails();
    emit changed();
}

void SoundBoxPage::ChangeResonanceWidth(int r, int step) {
    settings_.resonanceWidthIndex[r] =
        WidthIndexAfterTypedFreq(settings_.resonanceFreq[r],
                                 StepResonanceWidthIndex(settings_.resonanceWidthIndex[r], step));
    ShowResonanceDetails();
    emit changed();
}

void SoundBoxPage::ChangeResonanceAmp(int r, int step) {
    settings_.resonanceAmp[r] = StepResonanceAmp(settings_.resonanceAmp[r], step);
    ShowResonanceDetails();
    emit changed();
}

void SoundBoxPage::CommitTypedResonanceFreq(int r) {
    settings_.resonanceFreq[r] = TypedResonanceFreq(resonance[r].freq.box->text().toStdString());
    settings_.resonanceWidthIndex[r] =
        WidthIndexAfterTypedFreq(settings_.resonanceFreq[r], settings_.resonanceWidthIndex[r]);
    ShowResonanceFrequencies();
    ShowResonanceDetails();
    emit changed();
}

void SoundBoxPage::OnPseudorandomAmpStep(int step) {
    settings_.pseudorandomAmp = StepPseudorandomAmp(settings_.pseudorandomAmp, step);
    ShowResonanceDetails();
    emit changed();
}

}  // namespace sordanel
