// The General/File page: sound quality, volume or "Maximize", duration and the output file.

#include <QFileDialog>
#include <QLineEdit>
#include <QSlider>

#include "control_ids.h"
#include "main_dialog.h"
#include "main_dialog_messages.h"
#include "settings_rules.h"
#include "settings_text.h"
#include "show_error_dialog.h"
#include "text_limit_validator.h"

namespace sordanel {

void CMainDlg::UpdateGeneralValues() {
    job_.previewValid = false;
    settings_.maximize = IsChecked(ids::kMaximize);
    for (const int id : {ids::kVolume, ids::kVolumeText, ids::kVolumeUnit}) {
        SetEnabled(id, !settings_.maximize);
    }
    settings_.quality = static_cast<Quality>(SliderPosition(ids::kQuality));
    settings_.volumeDb = VolumeDbAt(SliderPosition(ids::kVolume));
    // A typed duration stays until the slider itself is moved to another position.
    const int position = SliderPosition(ids::kDuration);
    if (position != durationSliderPos) {
        settings_.duration = DurationAt(position);
        durationSliderPos = position;
    }
}

void CMainDlg::ShowGeneralValues() {
    job_.previewValid = false;
    SetText(ids::kVolumeText, QString::fromStdString(FormatSigned(settings_.volumeDb)));
    SetText(ids::kDurationText, QString::fromStdString(FormatDuration(settings_.duration)));
}

void CMainDlg::OnDurationTyped() {
    // Anything but a positive number leaves the duration alone; the box shows it again below.
    if (const auto typed = TypedDuration(Text(ids::kDurationText).toStdString())) {
        settings_.duration = *typed;
        // Marked as applied before the slider moves, so the slider keeps the typed value
        // instead of replacing it by its nearest step.
        durationSliderPos = DurationSliderPosition(*typed);
        controls_.Get<QSlider>(ids::kDuration)->setValue(durationSliderPos);
    }
    ShowGeneralValues();
}

void CMainDlg::OnOutputPathFocusGained() {
    if (settings_.outputPath.empty()) {
        SetText(ids::kOutputPath, QString());
    }
}

void CMainDlg::OnOutputPathFocusLost() {
    const std::string typed = Text(ids::kOutputPath).toStdString();
    if (typed != settings_.outputPath) {
        job_.outputValid = false;
        settings_.outputPath = typed;
    }
    if (settings_.outputPath.empty()) {
        SetText(ids::kOutputPath, QString::fromUtf8(kOutputPathHint));
    }
}

void CMainDlg::BrowseOutputFile() {
    QFileDialog chooser(this, QString::fromUtf8(kOutputChooserTitle));
    // Saving asks before an existing file is chosen for overwriting.
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setFileMode(QFileDialog::AnyFile);
    chooser.setNameFilters(
        {QString::fromUtf8(kWaveFilesFilter), QString::fromUtf8(kAllFilesFilter)});
    chooser.setDefaultSuffix(QStringLiteral("wav"));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return;
    }
    const QString path = chooser.selectedFiles().constFirst();
    if (CharacterCount(path) > static_cast<int>(kOutputPathMaxChars)) {
        ShowErrorDialog(kPathTooLongMessage);
        return;
    }
    if (!path.isEmpty()) {
        job_.outputValid = false;
        settings_.outputPath = path.toStdString();
        SetText(ids::kOutputPath, path);
    }
}

}  // namespace sordanel
