// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <string>

#include "engine/Calculator.h"
#include "record/RecordList.h"
#include "settings/MainView.h"
#include "settings/MenuItems.h"
#include "settings/SettingsFile.h"
#include "settings/Shortcut.h"
#include "voice/SpeechReader.h"
#include "voice/Voice.h"

namespace voice {
class ClipPlayer;
class ReadingTimer;
} // namespace voice

namespace settings {

// The names of the reading styles, as the display's menu shows them.
inline constexpr const char* kDigitsName = "逐位读";
inline constexpr const char* kPlaceUnitsName = "按单位读";

// The program behind the main window: it owns the calculator, the record, the voice and the
// options, and answers every event the window forwards. Nothing here needs a display, so
// the whole behaviour can be driven by tests.
class Program : public engine::CalculatorEvents {
  public:
    // extractClips writes the clip files and returns the folder to play them from (empty
    // when no folder could be used: every clip then sounds the fallback).
    Program(MainView& view, voice::ClipPlayer& player, voice::ReadingTimer& timer,
            std::string appFolder, std::function<std::string()> extractClips);

    // Everything that happens before the window is first shown, in its fixed order.
    void startUp();
    // Writes the clips and reads the user's recordings: once the window has first been
    // drawn, or at the first sound if that comes sooner.
    void prepareVoice();

    void keyClicked(engine::Key key);
    void characterTyped(int code);
    // The display has the focus again: the window opened or came back to the front.
    void displayFocused();
    void menuChosen(MenuItem item);
    void aboutIconClicked();
    void recordTabClicked();
    void stopClicked();
    void clearRecordsClicked();
    void viewClicked();
    void saveClicked();
    void exitClicked();
    void shortcut(Shortcut key);
    // The window is closed by the desktop or a signal rather than by the exit key.
    void systemClose();
    void timerTick() { reader_.tick(); }
    // Reads the number on the display aloud again: a result as after equals, an entry in
    // full. Only the speaking state changes. With the voice off the screen reader is given
    // the number instead.
    void readAgain();
    // The number on the display, for the clipboard.
    std::string copyText() const { return calc_.shownNumber(); }
    // Enters a pasted number where a new number starts, whole or not at all.
    void pasteText(const std::string& text);
    // The pointer has been over a title button: its hover face now stays until the pointer
    // next crosses the window's background.
    void titleHovered() { calc_.setNoTitleHover(false); }

    // The user has pressed a key or clicked: a review reading stops, and what was pressed
    // then acts as usual.
    void interruptReview();
    // The user has chosen a record line with the pointer.
    void recordLineChosen(int row);
    // Switches between reading numbers digit by digit and as amounts (F7, the display's menu).
    void switchReadingStyle();
    // The display's menu: choosing the style that is on changes nothing.
    void chooseReadingStyle(engine::ReadingStyle style);
    // The display's menu copies the number: the click, under the voice gate.
    void copyChosen();
    // Says the last calculation again (F6, the display's menu).
    void readCalculation();

    void toggleRecordPanel();
    void stopRecording();
    void loadSettings();
    void loadReadingStyle();
    // Writes the user's choices; a failure names the first file that could not be written.
    WriteOutcome saveSettings();

    const engine::Calculator& calculator() const { return calc_; }
    const record::RecordList& records() const { return records_; }
    bool checked(MenuItem item) const { return checks_[static_cast<std::size_t>(item)]; }
    int colourChoice() const { return colourChoice_; }
    int keepChoice() const { return keepChoice_; }
    int readChoice() const { return readChoice_; }
    int readDecimals() const { return readDecimals_; }
    bool indicatorVisible() const { return indicatorVisible_; }
    const voice::SpeechReader& reader() const { return reader_; }
    const std::string& appFolder() const { return appFolder_; }
    engine::ReadingStyle readingStyle() const { return reader_.style(); }
    // The line of the last evaluation of this run, recorded or not; empty before the first.
    const std::string& lastLine() const { return lastLine_; }
    // The record line the selection is on, -1 with none.
    int selectedRecordLine() const { return selectedRow_; }

    // engine::CalculatorEvents
    void displayChanged(const engine::DisplayLayout& layout) override;
    void playClip(int clip) override;
    void recordCalculation(const std::string& line) override;
    void showNotice(const std::string& text) override;
    void startReading(const std::string& resultText) override;
    void popupOptionsMenu() override;

  private:
    void setChecked(MenuItem item, bool on);
    void voiceGate();
    void chooseColour(int choice);
    void chooseKeep(int choice);
    void chooseRead(int choice);
    void applyColour(int choice);
    void applyKeep(int choice);
    void applyRead(int choice);
    void applyDefaults();
    void setPanel(bool open);
    void toggleVoice();
    void toggleKeyboard();
    void showAbout();
    void exitAction();
    void readAloud(const std::string& text, int decimals);
    void reviewLine(const std::string& line);
    void moveInRecord(Shortcut key);
    // The sound of a refusal, when the voice is on.
    void refuse();
    void announceOutcome(engine::Key key);
    void announceDisplay();

    MainView& view_;
    voice::ReadingTimer& timer_;
    voice::Voice voice_;
    voice::SpeechReader reader_;
    engine::Calculator calc_;
    record::RecordList records_;
    std::string appFolder_;
    std::function<std::string()> extractClips_;
    bool voicePrepared_ = false;
    std::string lastLine_;
    int selectedRow_ = -1;
    // The selection was moved by the user since the last evaluation: F6 reads that line.
    bool userSelected_ = false;
    // A calculation finished during the key now handled.
    bool calculated_ = false;
    // The exit has begun: a close by the system while its box is open only ends the program.
    bool exiting_ = false;

    std::array<bool, kMenuItemCount> checks_{};
    bool indicatorVisible_ = false;
    int colourChoice_ = 0;
    int keepChoice_ = 0;
    int readChoice_ = 0;
    int readDecimals_ = 0;
};

} // namespace settings
