#include "ui/general_page.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QStandardPaths>

#include "control/error_dialog.h"
#include "engine/setting_table.h"
#include "engine/settings_rules.h"
#include "engine/settings_text.h"
#include "platform/dialog_controls.h"
#include "platform/text_limit_validator.h"
#include "platform/vertical_slider.h"
#include "ui/page_units.h"

namespace sordanel {

namespace {

constexpr const char* kOutputPathHint = "Choose or enter a path and a file name";
constexpr const char* kPathTooLongMessage = "File path too long";
constexpr const char* kPathCutNotice = "Cut to 390 characters: the longest path the box holds";
constexpr const char* kOutputChooserTitle = "Choose output folder and file name";
constexpr const char* kWaveFilesFilter = "Microsoft wave (*.wav)";
constexpr const char* kAllFilesFilter = "All files (*.*)";

// A typed duration with the locale's decimal separator or '.', as the engine reads it; empty
// when anything but one number stands in the box.
QString DurationWithPoint(QString typed) {
    typed.replace(QLocale().decimalPoint(), QStringLiteral("."));
    static const QRegularExpression number(
        QStringLiteral(R"(^\s*\+?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
    return number.match(typed).hasMatch() ? typed : QString();
}

}  // namespace

GeneralPage::GeneralPage(GenerationSettings& settings, QWidget* parent)
    : QWidget(parent), settings_(settings) {
    CreateVolumeGroup();
    CreateDurationGroup();
    CreateOutputGroup();
    UpdateGeneralValues();
    ShowGeneralValues();
    Connect();
}

void GeneralPage::CreateVolumeGroup() {
    const PageUnits units(font());
    volumeLabel = MakeLabel(QStringLiteral("Volume"), this);
    units.Place(volumeLabel, 131, 80, 24, 8);
    volume = new VerticalSlider(this, true);
    volume->setRange(0, SliderPositions(SettingId::Volume));
    volume->setTickInterval(5);
    volume->setPosition(SliderDefaultPosition(SettingId::Volume));
    units.Place(volume, 128, 89, 27, 142);
    volumeText = new QLineEdit(this);
    volumeText->setReadOnly(true);
    units.Place(volumeText, 163, 143, 28, 14);
    volumeUnit = MakeLabel(QStringLiteral("dB"), this);
    units.Place(volumeUnit, 194, 145, 9, 8);
    maximize = new QCheckBox(QStringLiteral("Maximize"), this);
    maximize->setChecked(settings_.maximize);
    units.Place(maximize, 163, 162, 45, 10);
}

void GeneralPage::CreateDurationGroup() {
    const PageUnits units(font());
    units.Place(MakeLabel(QStringLiteral("Sound duration (seconds)"), this), 242, 80, 86, 9);
    duration = MakeHorizontalSlider(this);
    duration->setRange(0, SliderPositions(SettingId::Duration));
    duration->setValue(SliderDefaultPosition(SettingId::Duration));
    units.Place(duration, 223, 92, 85, 19);
    durationText = new QLineEdit(this);
    durationText->setMaxLength(static_cast<int>(kTypedDurationMaxChars));
    units.Place(durationText, 310, 93, 30, 13);
    units.Place(MakeLabel(QStringLiteral("Note: preview duration will be limited to 3 sec."), this),
                240, 112, 93, 18);
    units.Place(MakeLabel(QStringLiteral("Sound quality"), this), 226, 132, 44, 8);
    quality = MakeHorizontalSlider(this);
    quality->setRange(0, 1);
    quality->setValue(static_cast<int>(settings_.quality));
    units.Place(quality, 223, 143, 47, 19);
    units.Place(MakeLabel(QStringLiteral("Low"), this), 226, 162, 14, 8);
    units.Place(MakeLabel(QStringLiteral("High"), this), 255, 162, 15, 8);
}

void GeneralPage::CreateOutputGroup() {
    const PageUnits units(font());
    units.Place(MakeLabel(QStringLiteral("Output file (WAV)"), this), 183, 182, 58, 8);
    outputPath = new QLineEdit(this);
    outputPath->setValidator(
        new TextLimitValidator(static_cast<int>(kOutputPathMaxChars), outputPath));
    outputPath->setPlaceholderText(QString::fromUtf8(kOutputPathHint));
    units.Place(outputPath, 179, 196, 222, 13);
    outputPathNotice = MakeLabel(QString::fromUtf8(kPathCutNotice), this);
    units.Place(outputPathNotice, 179, 210, 222, 8);
    outputPathNotice->hide();
    browse = MakeButton(QStringLiteral("Browse"), this);
    units.Place(browse, 409, 196, 39, 14);
}

void GeneralPage::Connect() {
    connect(quality, &QSlider::valueChanged, this, &GeneralPage::UpdateGeneralValues);
    connect(maximize, &QCheckBox::toggled, this, &GeneralPage::UpdateGeneralValues);
    for (QSlider* slider : {static_cast<QSlider*>(volume), duration}) {
        connect(slider, &QSlider::valueChanged, this, [this] {
            UpdateGeneralValues();
            ShowGeneralValues();
        });
    }
    connect(durationText, &QLineEdit::editingFinished, this, &GeneralPage::OnDurationTyped);
    connect(outputPath, &QLineEdit::editingFinished, this, &GeneralPage::OnOutputPathTyped);
    connect(outputPath, &QLineEdit::textEdited, this, [this](const QString& text) {
        outputPathNotice->setVisible(CharacterCount(text) >= static_cast<int>(kOutputPathMaxChars));
    });
    connect(browse, &QPushButton::clicked, this, &GeneralPage::BrowseOutputFile);
}

void GeneralPage::UpdateGeneralValues() {
    settings_.maximize = maximize->isChecked();
    settings_.quality = static_cast<Quality>(quality->value());
    settings_.volumeDb = static_cast<std::int32_t>(
        SliderValueAt(SettingId::Volume, volume->position(), volume->maximum()));
    // A typed duration stays until the slider itself is moved to another position.
    const int position = duration->value();
    if (position != durationSliderPos) {
        settings_.duration = SliderValueAt(SettingId::Duration, position, duration->maximum());
        durationSliderPos = position;
    }
    emit changed();
}

void GeneralPage::UpdateControls() {
    for (QWidget* control :
         std::initializer_list<QWidget*>{volumeLabel, volume, volumeText, volumeUnit}) {
        control->setEnabled(!settings_.maximize);
    }
}

void GeneralPage::ShowGeneralValues() {
    volumeText->setText(QString::fromStdString(FormatSigned(settings_.volumeDb)));
    durationText->setText(QString::fromStdString(FormatDuration(settings_.duration)));
}

void GeneralPage::OnDurationTyped() {
    // Anything but one positive number leaves the duration alone; the box shows it again below.
    const QString typed = DurationWithPoint(durationText->text());
    if (const auto seconds = TypedDuration(typed.toStdString());
        seconds && *seconds != settings_.duration) {
        settings_.duration = *seconds;
        // Marked as applied before the slider moves, so the slider keeps the typed value
        // instead of replacing it by its nearest step.
        durationSliderPos = DurationSliderPosition(*seconds);
        const QSignalBlocker quiet(duration);
        duration->setValue(durationSliderPos);
        emit changed();
    }
    ShowGeneralValues();
}

QString GeneralPage::StartFolder() const {
    if (!settings_.outputPath.empty()) {
        const QDir folder = QFileInfo(QString::fromStdString(settings_.outputPath)).dir();
        if (folder.exists()) {
            return folder.absolutePath();
        }
    }
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (!music.isEmpty() && QDir(music).exists()) {
        return music;
    }
    return QDir::homePath();
}

void GeneralPage::OnOutputPathTyped() {
    QString typed = outputPath->text();
    if (typed == QLatin1String("~") || typed.startsWith(QLatin1String("~/"))) {
        typed.replace(0, 1, QDir::homePath());
    } else if (!typed.isEmpty() && QDir::isRelativePath(typed)) {
        typed = QDir(StartFolder()).filePath(typed);
    }
    if (CharacterCount(typed) > static_cast<int>(kOutputPathMaxChars)) {
        // Resolved, the path would no longer fit: the previous one stays.
        outputPathNotice->show();
        typed = QString::fromStdString(settings_.outputPath);
    }
    SetOutputPath(typed);
}

void GeneralPage::SetOutputPath(const QString& path) {
    outputPath->setText(path);
    const std::string chosen = path.toStdString();
    if (chosen != settings_.outputPath) {
        settings_.outputPath = chosen;
        emit outputPathChanged();
    }
}

void GeneralPage::BrowseOutputFile() {
    QFileDialog chooser(this, QString::fromUtf8(kOutputChooserTitle), StartFolder());
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
        CErrorDialog(QString::fromUtf8(kPathTooLongMessage), this).exec();
        return;
    }
    if (!path.isEmpty()) {
        outputPathNotice->hide();
        SetOutputPath(path);
    }
}

}  // namespace sordanel
