#include "ui/main_dlg.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "control/error_dialog.h"
#include "control/gen_warn_dlg.h"
#include "control/gener_dlg.h"
#include "control/generation_job.h"
#include "control/instrument_picture.h"
#include "platform/dialog_controls.h"
#include "platform/dialog_units.h"
#include "platform/files/system_temp_dir.h"
#include "platform/resource_image.h"
#include "res/resource_paths.h"
#include "ui/general_page.h"
#include "ui/shell_dialogs.h"
#include "ui/sound_box_page.h"
#include "ui/string_bow_page.h"

namespace sordanel {

namespace {

constexpr const char* kNoteC4MissingMessage = "Internal Error: Note C4 not found in the list";
constexpr const char* kWorkerRefusedMessage =
    "Cannot start the sound generation: the system refused to start another thread. Close "
    "some programs and try again";
constexpr const char* kAboutMenuText = "&About Sordanel...";
constexpr const char* kPreviewStarting = "Generating preview...";
constexpr const char* kListenNothingYet =
    "Nothing to play yet: \"Listen\" plays the file of the last finished \"Generate\" to the "
    "current output path";

// Room the window manager's frame and caption take around the window.
constexpr QSize kFrameAllowance(16, 48);
// The window's size in dialog units, and the smallest font it is shrunk to on a small screen.
constexpr int kWindowWidth = 479;
constexpr int kWindowHeight = 271;
constexpr qreal kSmallestPointSize = 5.5;

QSize AvailableRoom() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry().size() - kFrameAllowance
                             : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

// The dialog font, made smaller until the whole window fits the screen, as far as it stays
// readable; what still does not fit is scrolled.
QFont FittingFont() {
    QFont font = DialogFont();
    const QSize room = AvailableRoom();
    while (font.pointSizeF() > kSmallestPointSize) {
        const QSize size = DialogUnits(font).ToPixels(kWindowWidth, kWindowHeight);
        if (size.width() <= room.width() && size.height() <= room.height()) {
            break;
        }
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    return font;
}

}  // namespace

CMainDlg::CMainDlg(ShellDialogs& shell, SoundPlayer& player, std::span<const char* const> noteNames)
    : shell_(shell), player_(player), job_(new GenerationJob(player, this)) {
    settings_.tempDir = SystemTempDir();
    job_->SweepScratchFolder(settings_.tempDir);
    setWindowTitle(QStringLiteral("Sordanel"));
    setFont(FittingFont());
    // A main window of its own: in the task bar, with a minimise box, never resized.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(ResourceIcon(QString::fromUtf8(kAppIconPath)));
    windowMenu_ = new QMenu(this);
    windowMenu_->addSeparator();
    windowMenu_->addAction(QString::fromUtf8(kAboutMenuText), this, &CMainDlg::OnAbout);

    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidget(CreateContent(noteNames));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll_);
    FitToScreen();
    ConnectControls();
    UpdateControls();
    picture_->PrepareImage();
    picture_->DrawInstrument(1.0f);
    if (!started()) {
        CErrorDialog(QString::fromUtf8(kNoteC4MissingMessage)).exec();
    }
}

CMainDlg::~CMainDlg() {
    // Hiding takes the focus from a text box, whose commit must still find every member.
    hide();
}

bool CMainDlg::started() const {
    return stringBow_->noteListReady();
}

QWidget* CMainDlg::CreateContent(std::span<const char* const> noteNames) {
    auto* content = new QWidget;
    content->setFont(font());
    const DialogUnits units(font());
    content->setFixedSize(units.ToPixels(kWindowWidth, kWindowHeight));
    tabs_ = new QTabWidget(content);
    units.Place(tabs_, 113, 60, 353, 186);
    // Made inside the tabs, so that they lay themselves out in the window's font.
    stringBow_ = new StringBowPage(settings_, noteNames, tabs_);
    soundBox_ = new SoundBoxPage(settings_, tabs_);
    general_ = new GeneralPage(settings_, tabs_);
    tabs_->addTab(stringBow_, QStringLiteral("String && Bow"));
    tabs_->addTab(soundBox_, QStringLiteral("Sound Box"));
    tabs_->addTab(general_, QStringLiteral("General/File"));
    picture_ = new CInstrumentPicture(false, 2, content);
    units.Place(picture_, 22, 60, 70, 178);
    auto* banner = new QLabel(content);
    const QRect bannerPlace = units.ToPixels(123, 7, 240, 44);
    banner->setPixmap(ResourceImage(QString::fromUtf8(kBannerPath), bannerPlace.size()));
    banner->setGeometry(bannerPlace);
    CreateButtons(content);
    return content;
}

void CMainDlg::CreateButtons(QWidget* content) {
    const DialogUnits units(font());
    about_ = MakeButton(QStringLiteral("About..."), content);
    units.Place(about_, 32, 244, 50, 14);
    previewStatus_ = new QLabel(QStringLiteral("Generating preview - 100% done"), content);
    units.Place(previewStatus_, 106, 252, 110, 10);
    previewStatus_->hide();
    preview_ = MakeButton(QStringLiteral("Preview (Lo-Fi)"), content);
    units.Place(preview_, 228, 250, 59, 14);
    generate_ = MakeButton(QStringLiteral("Generate"), content);
    units.Place(generate_, 297, 250, 50, 14);
    listen_ = MakeButton(QStringLiteral("Listen"), content);
    units.Place(listen_, 357, 250, 50, 14);
    exit_ = MakeButton(QStringLiteral("Exit"), content);
    units.Place(exit_, 416, 250, 50, 14);
    // Enter belongs to the window's OK command, never to a button clicked last.
    for (QPushButton* button : {about_, preview_, generate_, listen_, exit_}) {
        button->setAutoDefault(false);
    }
}

void CMainDlg::ConnectControls() {
    connect(about_, &QPushButton::clicked, this, &CMainDlg::OnAbout);
    connect(preview_, &QPushButton::clicked, this, &CMainDlg::OnPreview);
    connect(generate_, &QPushButton::clicked, this, &CMainDlg::OnGenerate);
    connect(listen_, &QPushButton::clicked, this, &CMainDlg::OnListen);
    connect(exit_, &QPushButton::clicked, this, &CMainDlg::OnExit);
    connect(stringBow_, &StringBowPage::changed, this, &CMainDlg::OnSettingsChanged);
    connect(stringBow_, &StringBowPage::remarksRequested, this, &CMainDlg::OnShowRemarks);
    connect(soundBox_, &SoundBoxPage::changed, this, &CMainDlg::OnSettingsChanged);
    connect(general_, &GeneralPage::changed, this, &CMainDlg::OnSettingsChanged);
    connect(general_, &GeneralPage::outputPathChanged, this, &CMainDlg::OnOutputPathChanged);
    connect(job_, &GenerationJob::returned, this, &CMainDlg::UpdateControls);
    connect(job_, &GenerationJob::previewStatus, previewStatus_, [this](const QString& text) {
        previewStatus_->setText(text);
        // The preview holds this thread; the line is repainted at once.
        previewStatus_->repaint();
    });
}

void CMainDlg::FitToScreen() {
    const QSize content = scroll_->widget()->size();
    // The whole window where it fits; otherwise as much as fits, the rest a scroll away.
    const QSize shown = content.boundedTo(AvailableRoom());
    const bool scrolls = shown != content;
    scroll_->setHorizontalScrollBarPolicy(scrolls ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setFixedSize(shown);
}

void CMainDlg::UpdateControls() {
    stringBow_->UpdateControls();
    soundBox_->UpdateControls();
    general_->UpdateControls();
    const bool playable = job_->outputValid() && !job_->busy();
    listen_->setEnabled(playable);
    listen_->setToolTip(playable ? QString() : QString::fromUtf8(kListenNothingYet));
}

void CMainDlg::OnSettingsChanged() {
    job_->InvalidatePreview();
    UpdateControls();
}

void CMainDlg::OnOutputPathChanged() {
    job_->InvalidateOutput();
    UpdateControls();
}

void CMainDlg::contextMenuEvent(QContextMenuEvent* event) {
    windowMenu_->popup(event->globalPos());
}

void CMainDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FitToScreen();
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
    QDialog::keyPressEvent(event);
}

void CMainDlg::OnOK() {
    // The focus goes nowhere visible. Taking it away from a text box commits what was typed.
    if (QWidget* focused = focusWidget()) {
        focused->clearFocus();
    }
}

void CMainDlg::OnExit() {
    job_->DiscardPreview();
    if (job_->busy()) {
        CGenWarnDlg warning(this);
        if (warning.exec() == QDialog::Accepted) {
            // The run still reads the job's state: the window goes at once, the program once
            // the run has returned.
            job_->RequestAbort();
            hide();
            job_->WhenReturned([this] { QDialog::done(QDialog::Rejected); });
        }
        return;
    }
    if (shell_.ConfirmExit()) {
        QDialog::done(QDialog::Rejected);
    }
}

void CMainDlg::OnAbout() {
    shell_.ShowAbout();
}

void CMainDlg::OnShowRemarks() {
    shell_.ShowRemarks();
}

void CMainDlg::OnGenerate() {
    if (!job_->busy()) {
        StartGenerate();
        return;
    }
    // The new run starts once the one still ending has returned: both would write the job's
    // state and perhaps the same files.
    CGenWarnDlg warning(this);
    if (warning.exec() == QDialog::Accepted) {
        job_->WhenReturned([this] { StartGenerate(); });
    }
}

void CMainDlg::StartGenerate() {
    if (settings_.outputPath.empty()) {
        general_->BrowseOutputFile();
        if (settings_.outputPath.empty()) {
            return;
        }
    }
    CGenerDlg progress(this);
    connect(job_, &GenerationJob::progressed, &progress,
            [this, &progress] { progress.SetProgress(job_->progress()); });
    connect(job_, &GenerationJob::finished, &progress, &CGenerDlg::GenerationFinished);
    if (!job_->Start(settings_)) {
        CErrorDialog(QString::fromUtf8(kWorkerRefusedMessage), this).exec();
        return;
    }
    UpdateControls();
    job_->ProgressClosed(progress.exec() == QDialog::Accepted);
}

void CMainDlg::OnPreview() {
    if (!job_->busy()) {
        RunPreview();
        return;
    }
    CGenWarnDlg warning(this);
    if (warning.exec() == QDialog::Accepted) {
        job_->WhenReturned([this] { RunPreview(); });
    }
}

void CMainDlg::RunPreview() {
    previewStatus_->setText(QString::fromUtf8(kPreviewStarting));
    previewStatus_->show();
    previewStatus_->repaint();
    job_->RunPreview(settings_);
    previewStatus_->hide();
}

void CMainDlg::OnListen() {
    if (job_->outputValid()) {
        player_.PlayFile(settings_.outputPath);
    }
}

}  // namespace sordanel
