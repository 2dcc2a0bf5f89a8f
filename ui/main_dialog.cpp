#include "main_dialog.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>

#include "control_ids.h"
#include "dialog_templates.h"
#include "gen_warn_dialog.h"
#include "instrument_picture.h"
#include "main_dialog_messages.h"
#include "resource_image.h"
#include "resource_paths.h"
#include "settings_text.h"
#include "shell_dialogs.h"
#include "sound_engine.h"
#include "sound_player.h"
#include "system_temp_dir.h"
#include "tab_control.h"
#include "text_limit_validator.h"
#include "up_down_control.h"
#include "wait_while_busy.h"
#include "window_engine_host.h"

namespace sordanel {

namespace {

QWidget* MakeUprightPicture(const ControlRow&, QWidget* parent) {
    return new CInstrumentPicture(false, 2, parent);
}

}  // namespace

CMainDlg::CMainDlg(ShellDialogs& shell, SoundPlayer& player, std::span<const char* const> noteNames)
    : TemplateDialog(kMainDialogTemplate, MakeUprightPicture),
      shell_(shell),
      player_(player),
      noteNames_(noteNames),
      picture(controls_.Get<CInstrumentPicture>(ids::kPicture)) {
    settings_.tempDir = SystemTempDir();
    files_.SweepScratchFolder(settings_.tempDir);
    engineHost_ = std::make_unique<WindowEngineHost>(*controls_.Get<QLabel>(ids::kPreviewStatus));
    engine_ = std::make_unique<SoundEngine>(runSettings_, job_, *engineHost_, files_, player_);
    // A main window of its own: in the task bar, with a minimise box, never resized.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(ResourceIcon(QString::fromUtf8(kAppIconPath)));
}

CMainDlg::~CMainDlg() {
    // Hiding takes the focus from a text box, whose commit must still find every member.
    hide();
    // DoModal waited until the last run returned; its thread is ending or gone.
    if (worker_.joinable()) {
        worker_.join();
    }
}

int CMainDlg::DoModal() {
    if (!InitDialog()) {
        return QDialog::Rejected;
    }
    const int result = exec();
    // A run confirmed away by the warning was asked to abort; it still reads this dialog.
    WaitWhileBusy(job_);
    return result;
}

bool CMainDlg::InitDialog() {
    CreateWindowMenu();
    const bool noteListReady = CreateNoteList();
    InitControls();
    BindEvents();
    return noteListReady;
}

void CMainDlg::CreateWindowMenu() {
    windowMenu_ = new QMenu(this);
    windowMenu_->addSeparator();
    windowMenu_->addAction(QString::fromUtf8(kAboutMenuText), this, &CMainDlg::OnAbout);
}

void CMainDlg::contextMenuEvent(QContextMenuEvent* event) {
    windowMenu_->popup(event->globalPos());
}

void CMainDlg::InitControls() {
    CreateKeyList();
    InsertPages();
    SetSliderRanges();
    SetCheckDefaults();
    SetStringBowDefaults();
    UpdateStringBowValues();
    UpdatePitchOptions();

    SetStepRanges();
    const GenerationSettings defaults;
    settings_.vibratoSpeedIndex = defaults.vibratoSpeedIndex;
    settings_.vibratoDepth = defaults.vibratoDepth;
    settings_.detune = defaults.detune;
    ShowPitchValues();
    UpdateBoxOptions();

    settings_.resonanceFreq = defaults.resonanceFreq;
    settings_.resonanceWidthIndex = defaults.resonanceWidthIndex;
    settings_.resonanceAmp = defaults.resonanceAmp;
    settings_.pseudorandomAmp = defaults.pseudorandomAmp;
    ShowResonanceFrequencies();
    ShowResonanceDetails();

    settings_.outputPath.clear();
    durationSliderPos = -777;
    UpdateGeneralValues();
    ShowGeneralValues();

    picture->PrepareImage();
    picture->DrawInstrument(1.0f);
}

void CMainDlg::InsertPages() {
    auto* tabs = controls_.Get<TabControl>(ids::kTabs);
    tabs->AddTab(QStringLiteral("String && Bow"));
    tabs->AddTab(QStringLiteral("Sound Box"));
    tabs->AddTab(QStringLiteral("General/File"));
}

void CMainDlg::SetSliderRanges() {
    for (const int id : {ids::kBowPressingForce, ids::kBowSpeed, ids::kBowPosition,
                         ids::kStringDamping, ids::kFrictionRatio}) {
        controls_.Get<QSlider>(id)->setRange(0, kBowSliderMax);
    }
    const SliderPositions& at = kSliderDefaults;
    SetSlider(ids::kQuality, 1, 0);
    SetSlider(ids::kVolume, kVolumeSliderMax, at.volume);
    controls_.Get<QSlider>(ids::kVolume)->setTickInterval(5);
    SetSlider(ids::kStringToBoxRatio, kStringToBoxSliderMax, at.stringToBoxRatio);
    SetSlider(ids::kT1Ratio, kEnvelopeSliderMax, at.t1Ratio);
    SetSlider(ids::kT2Ratio, kEnvelopeSliderMax, at.t2Ratio);
}

void CMainDlg::SetCheckDefaults() {
    SetChecked(ids::kPseudorandom, true);
    auto* outputPath = controls_.Get<QLineEdit>(ids::kOutputPath);
    outputPath->setValidator(
        new TextLimitValidator(static_cast<int>(kOutputPathMaxChars), outputPath));
    outputPath->setText(QString::fromUtf8(kOutputPathHint));
    SetChecked(ids::kResonanceEnable[0], true);
    SetChecked(ids::kResonanceEnable[1], false);
    SetChecked(ids::kResonanceEnable[2], false);
    SetChecked(ids::kVibrato, false);
    SetChecked(ids::kEqualTemperament, true);
    SetChecked(ids::kPrecalculated, true);
    SetSlider(ids::kDuration, kDurationSliderMax, kSliderDefaults.duration);
    SetChecked(ids::kMaximize, true);
}

void CMainDlg::SetStepRanges() {
    for (const int id : {ids::kVibratoSpeedStep, ids::kVibratoDepthStep, ids::kDetuneStep,
                         ids::kPseudorandomAmpStep}) {
        controls_.Get<UpDownControl>(id)->SetRange(0, 10);
    }
    for (int i = 0; i < 4; ++i) {
        for (const int id :
             {ids::kResonanceFreqStep[i], ids::kResonanceWidthStep[i], ids::kResonanceAmpStep[i]}) {
            controls_.Get<UpDownControl>(id)->SetRange(0, 10);
        }
    }
}

void CMainDlg::OnSelectPage() {
    const int current = controls_.Get<TabControl>(ids::kTabs)->currentIndex();
    for (int page = 0; page < static_cast<int>(kMainDialogPages.size()); ++page) {
        for (const int id : kMainDialogPages[page]) {
            if (QWidget* control = controls_.Find(id)) {
                control->setVisible(page == current);
            }
        }
    }
}

void CMainDlg::accept() {
    OnOK();
}

void CMainDlg::reject() {
    OnExit();
}

void CMainDlg::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        accept();
        return;
    }
    TemplateDialog::keyPressEvent(event);
}

void CMainDlg::OnOK() {
    // The focus goes where the hidden "Invisible OK" stands: nowhere visible. Taking it away
    // from a text box commits what was typed into it.
    if (QWidget* focused = focusWidget()) {
        focused->clearFocus();
    }
}

void CMainDlg::OnExit() {
    job_.previewValid = false;
    if (!job_.previewSound.empty()) {
        player_.Stop();
        job_.previewSound = {};
    }
    bool leave = false;
    if (job_.busy) {
        CGenWarnDlg warning;
        leave = warning.exec() == QDialog::Accepted;
        if (leave) {
            job_.abortRequested = true;
        }
    } else {
        leave = shell_.ConfirmExit();
    }
    if (leave) {
        QDialog::done(QDialog::Rejected);
    }
}

void CMainDlg::OnAbout() {
    shell_.ShowAbout();
}

void CMainDlg::OnShowRemarks() {
    shell_.ShowRemarks();
}

int CMainDlg::SliderPosition(int id) const {
    return controls_.Get<QSlider>(id)->value();
}

int CMainDlg::SliderMaximum(int id) const {
    return controls_.Get<QSlider>(id)->maximum();
}

void CMainDlg::SetSlider(int id, int maximum, int position) {
    auto* slider = controls_.Get<QSlider>(id);
    slider->setRange(0, maximum);
    slider->setValue(position);
}

bool CMainDlg::IsChecked(int id) const {
    return controls_.Get<QAbstractButton>(id)->isChecked();
}

void CMainDlg::SetChecked(int id, bool checked) {
    controls_.Get<QAbstractButton>(id)->setChecked(checked);
}

QString CMainDlg::Text(int id) const {
    return controls_.Get<QLineEdit>(id)->text();
}

void CMainDlg::SetText(int id, const QString& text) {
    controls_.Get<QLineEdit>(id)->setText(text);
}

void CMainDlg::SetEnabled(int id, bool enabled) {
    controls_.Find(id)->setEnabled(enabled);
}

}  // namespace sordanel
