// The pitch controls on the String & Bow page: note and key lists, temperament, detune,
// vibrato and frequency autocorrection.

#include <QComboBox>
#include <QFontMetrics>
#include <QPushButton>

#include "control_ids.h"
#include "main_dialog.h"
#include "main_dialog_messages.h"
#include "settings_rules.h"
#include "settings_text.h"
#include "show_error_dialog.h"

namespace sordanel {

namespace {

// Offset of "C5" above "C4" in the note list, which runs from the highest note down.
constexpr int kOctave = 12;

// A drop-down list beside its label, as wide as its placeholder and opening as far down as the
// placeholder reaches.
QComboBox* CreateList(QWidget* dialog, const QWidget* placeholder, const QWidget* label) {
    auto* list = new QComboBox(dialog);
    const QRect place = placeholder->geometry();
    const int height = list->sizeHint().height();
    list->setGeometry(place.x(), label->geometry().center().y() - height / 2, place.width(),
                      height);
    const int rowHeight = QFontMetrics(list->font()).height() + 4;
    list->setMaxVisibleItems(std::max(1, (place.height() - height) / rowHeight));
    return list;
}

}  // namespace

bool CMainDlg::CreateNoteList() {
    noteList =
        CreateList(this, controls_.Find(ids::kNoteListPlace), controls_.Find(ids::kNoteLabel));
    for (const char* name : noteNames_) {
        if (*name == '\0') {
            break;
        }
        noteList->addItem(QString::fromUtf8(name));
    }
    controls_.Add(ids::kNoteList, noteList);
    settings_.c4Index =
        noteList->findText(QStringLiteral("C4"), Qt::MatchExactly | Qt::MatchCaseSensitive);
    const bool found = settings_.c4Index >= 0;
    if (!found) {
        ShowErrorDialog(kNoteC4MissingMessage);
    }
    noteList->setCurrentIndex(settings_.c4Index < kOctave ? 0 : settings_.c4Index - kOctave);
    settings_.noteIndex = noteList->currentIndex();
    return found;
}

void CMainDlg::CreateKeyList() {
    keyList = CreateList(this, controls_.Find(ids::kKeyListPlace), controls_.Find(ids::kKeyLabel));
    keyList->setEnabled(false);
    for (const char* name : kKeyNames) {
        keyList->addItem(QString::fromUtf8(name));
    }
    keyList->setCurrentIndex(0);
    settings_.keyIndex = 0;
    controls_.Add(ids::kKeyList, keyList);
}

void CMainDlg::UpdatePitchOptions() {
    job_.previewValid = false;
    settings_.vibratoOn = IsChecked(ids::kVibrato);
    for (const int id : {ids::kVibratoSpeedLabel, ids::kVibratoDepthLabel, ids::kVibratoSpeed,
                         ids::kVibratoDepth, ids::kVibratoSpeedStep, ids::kVibratoDepthStep}) {
        SetEnabled(id, settings_.vibratoOn);
    }
    settings_.justIntonation =
        IsChecked(ids::kEqualTemperament) ? Temperament::Equal : Temperament::Just;
    SetEnabled(ids::kKeyLabel, settings_.justIntonation == Temperament::Just);
    SetEnabled(ids::kKeyList, settings_.justIntonation == Temperament::Just);
    settings_.autocorrection = IsChecked(ids::kRealTime)        ? AutocorrectionMode::RealTime
                               : IsChecked(ids::kPrecalculated) ? AutocorrectionMode::Precalculated
                                                                : AutocorrectionMode::Off;
}

void CMainDlg::ShowPitchValues() {
    job_.previewValid = false;
    SetText(ids::kVibratoSpeed,
            QString::fromStdString(FormatTenths(kVibratoSpeedsHz[settings_.vibratoSpeedIndex])));
    SetText(ids::kVibratoDepth, QString::number(settings_.vibratoDepth));
    SetText(ids::kDetune, QString::fromStdString(FormatSigned(settings_.detune)));
}

void CMainDlg::OnVibratoSpeedStep(int step) {
    settings_.vibratoSpeedIndex = StepVibratoSpeedIndex(settings_.vibratoSpeedIndex, step);
    ShowPitchValues();
}

void CMainDlg::OnVibratoDepthStep(int step) {
    settings_.vibratoDepth = StepVibratoDepth(settings_.vibratoDepth, step);
    ShowPitchValues();
}

void CMainDlg::OnDetuneStep(int step) {
    settings_.detune = StepDetune(settings_.detune, step);
    ShowPitchValues();
}

void CMainDlg::OnDetuneZero() {
    settings_.detune = 0;
    ShowPitchValues();
    // A clicked button holds the focus and takes Enter for itself; Enter belongs to the hidden
    // default button, so "0" gives both back.
    auto* zero = controls_.Get<QPushButton>(ids::kDetuneZero);
    zero->setDefault(false);
    zero->clearFocus();
}

void CMainDlg::OnNoteOrKeyChanged() {
    job_.previewValid = false;
    settings_.noteIndex = noteList->currentIndex();
    settings_.keyIndex = keyList->currentIndex();
}

}  // namespace sordanel
