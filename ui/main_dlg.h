#pragma once

#include <QDialog>
#include <span>

#include "engine/generation_settings.h"
#include "engine/settings_tables.h"

class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class QTabWidget;

namespace sordanel {

class CInstrumentPicture;
class GeneralPage;
class GenerationJob;
class ShellDialogs;
class SoundBoxPage;
class SoundPlayer;
class StringBowPage;

// The application's main window: the banner, the instrument picture, three tab pages of
// controls and the row of buttons below them. It owns the one settings record, which its pages
// keep equal to what their controls show, and the job that runs the engine on it.
class CMainDlg : public QDialog {
    Q_OBJECT
public:
    // Lays the window out in the dialog font, made smaller where the screen has no room for
    // it. noteNames: the entries of the note list, ended by an empty name.
    CMainDlg(ShellDialogs& shell, SoundPlayer& player,
             std::span<const char* const> noteNames = kNoteNames);
    ~CMainDlg() override;

    // False when the start failed (the note list lacks "C4") and the program has to end.
    bool started() const;

    const GenerationSettings& settings() const { return settings_; }
    GenerationSettings& settings() { return settings_; }
    GenerationJob& job() const { return *job_; }
    StringBowPage& stringBowPage() const { return *stringBow_; }
    SoundBoxPage& soundBoxPage() const { return *soundBox_; }
    GeneralPage& generalPage() const { return *general_; }
    QTabWidget& tabs() const { return *tabs_; }
    CInstrumentPicture& picture() const { return *picture_; }
    QLabel* previewStatus() const { return previewStatus_; }
    QPushButton* previewButton() const { return preview_; }
    QPushButton* generateButton() const { return generate_; }
    QPushButton* listenButton() const { return listen_; }
    QPushButton* exitButton() const { return exit_; }
    QPushButton* aboutButton() const { return about_; }
    QMenu* windowMenu() const { return windowMenu_; }

protected:
    // The OK command (Enter) never closes the window.
    void accept() override;
    // The cancel command ("Exit", Escape, the close box) asks first.
    void reject() override;
    // Enter gives the OK command although the window shows no OK button.
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* CreateContent(std::span<const char* const> noteNames);
    void CreateButtons(QWidget* content);
    void ConnectControls();
    void FitToScreen();

    // Decides which controls can be used: the buttons below here, each page's controls through
    // the page's UpdateControls(). Nothing else enables or disables any.
    void UpdateControls();
    // A page changed a setting: the preview no longer matches it.
    void OnSettingsChanged();
    void OnOutputPathChanged();

    void OnOK();
    void OnExit();
    void OnAbout();
    void OnShowRemarks();
    void OnGenerate();
    void StartGenerate();
    void OnPreview();
    void RunPreview();
    void OnListen();

    ShellDialogs& shell_;
    SoundPlayer& player_;
    GenerationSettings settings_;
    GenerationJob* job_;
    QScrollArea* scroll_ = nullptr;
    CInstrumentPicture* picture_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    StringBowPage* stringBow_ = nullptr;
    SoundBoxPage* soundBox_ = nullptr;
    GeneralPage* general_ = nullptr;
    QLabel* previewStatus_ = nullptr;
    QPushButton* about_ = nullptr;
    QPushButton* preview_ = nullptr;
    QPushButton* generate_ = nullptr;
    QPushButton* listen_ = nullptr;
    QPushButton* exit_ = nullptr;
    QMenu* windowMenu_ = nullptr;
};

}  // namespace sordanel
