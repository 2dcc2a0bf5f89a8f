#pragma once

#include <memory>
#include <span>
#include <thread>

#include "generation_result.h"
#include "generation_settings.h"
#include "job_state.h"
#include "posix_file_layer.h"
#include "settings_tables.h"
#include "template_dialog.h"

class QComboBox;
class QMenu;

namespace sordanel {

class CInstrumentPicture;
class ShellDialogs;
class SoundEngine;
class SoundPlayer;
class WindowEngineHost;

// The application's main window: the banner, the instrument picture, three tab pages of
// controls and the row of buttons below them. It owns the one settings record and keeps it
// equal to what its controls show. The handlers of each page live in a source file of that
// page; this file holds the start, the page switch and the ways out.
class CMainDlg : public TemplateDialog {
    Q_OBJECT
public:
    // noteNames: the entries of the note list, ended by an empty name.
    CMainDlg(ShellDialogs& shell, SoundPlayer& player,
             std::span<const char* const> noteNames = kNoteNames);
    ~CMainDlg() override;

    // Starts the dialog, runs it until the user leaves it and waits for a run that is still
    // going to end. Returns the dialog's result.
    int DoModal();
    // The dialog start: lists, pages and every control at its default. False when the start
    // failed and the dialog has to end.
    bool InitDialog();

    GenerationSettings& settings() { return settings_; }
    JobState& job() { return job_; }
    // The sound engine's one entry: a Generate (on the worker) or a preview (on this thread).
    GenerationResult GenerateSound(bool preview);
    // Makes the next progress dialogs fail to create their timer, as a system out of timers.
    void SetProgressTimerAvailable(bool available) { progressTimerAvailable_ = available; }
    QMenu* windowMenu() const { return windowMenu_; }

protected:
    // The OK command (Enter) never closes the window.
    void accept() override;
    // The cancel command ("Exit", Escape, the close box) asks first.
    void reject() override;
    // Enter gives the OK command although its button is hidden.
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void CreateWindowMenu();
    void InitControls();
    void InsertPages();
    void SetSliderRanges();
    void SetCheckDefaults();
    void SetStepRanges();
    void BindEvents();

    // Shell
    void OnOK();
    void OnExit();
    void OnAbout();
    void OnShowRemarks();
    void OnSelectPage();

    // String & Bow page: string_bow_page.cpp
    void SetStringBowDefaults();
    void UpdateStringBowValues();
    void OnResetDefaults();

    // Pitch controls on the String & Bow page: pitch_controls.cpp
    bool CreateNoteList();
    void CreateKeyList();
    void UpdatePitchOptions();
    void ShowPitchValues();
    void OnNoteOrKeyChanged();
    void OnVibratoSpeedStep(int step);
    void OnVibratoDepthStep(int step);
    void OnDetuneStep(int step);
    void OnDetuneZero();

    // Sound Box page: sound_box_page.cpp
    void UpdateBoxOptions();
    void ShowResonanceFrequencies();
    void ShowResonanceDetails();
    void ChangeResonanceFreq(int r, int step);
    void ChangeResonanceWidth(int r, int step);
    void ChangeResonanceAmp(int r, int step);
    void CommitTypedResonanceFreq(int r);
    void OnPseudorandomAmpStep(int step);
    // The event table's handlers of resonance r (0..3).
    template <int r>
    void OnResonanceFreqStep(int step) {
        ChangeResonanceFreq(r, step);
    }
    template <int r>
    void OnResonanceWidthStep(int step) {
        ChangeResonanceWidth(r, step);
    }
    template <int r>
    void OnResonanceAmpStep(int step) {
        ChangeResonanceAmp(r, step);
    }
    template <int r>
    void OnResonanceFreqTyped() {
        CommitTypedResonanceFreq(r);
    }

    // General/File page: general_page.cpp
    void UpdateGeneralValues();
    void ShowGeneralValues();
    void OnDurationTyped();
    void OnOutputPathFocusGained();
    void OnOutputPathFocusLost();
    // The save-file chooser: a chosen path becomes the output path, one longer than the box
    // holds is refused with a message, and a cancel changes nothing.
    void BrowseOutputFile();

    // The buttons below the pages: generation_job.cpp
    void OnGenerate();
    void OnPreview();
    void OnListen();
    // Asks before a new run while the last one is still ending, then waits for it to return:
    // the two would share this one settings record. False when the user keeps waiting.
    bool ConfirmNewRunWhileBusy();
    bool StartGenerationThread();
    static void GenerationThreadProc(CMainDlg* dialog);

    // Control access by id, for the kinds the pages use.
    int SliderPosition(int id) const;
    int SliderMaximum(int id) const;
    void SetSlider(int id, int maximum, int position);
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    QString Text(int id) const;
    void SetText(int id, const QString& text);
    void SetEnabled(int id, bool enabled);

    ShellDialogs& shell_;
    SoundPlayer& player_;
    std::span<const char* const> noteNames_;
    GenerationSettings settings_;
    // What the running job was started with: the engine copies it while the window's own
    // settings may already change again.
    GenerationSettings runSettings_;
    JobState job_;
    CInstrumentPicture* picture = nullptr;
    QComboBox* noteList = nullptr;
    QComboBox* keyList = nullptr;
    QMenu* windowMenu_ = nullptr;
    // Duration-slider position last turned into `duration`; no position has the start value.
    int durationSliderPos = -777;

    PosixFileLayer files_;
    std::unique_ptr<WindowEngineHost> engineHost_;
    std::unique_ptr<SoundEngine> engine_;
    std::thread worker_;
    bool progressTimerAvailable_ = true;
};

}  // namespace sordanel
