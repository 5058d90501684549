// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Program.h"

#include <cstdio>

#include "engine/ClipNumbers.h"
#include "engine/KeyTable.h"
#include "engine/PastedNumber.h"
#include "engine/SpokenLine.h"
#include "record/RecordSaver.h"
#include "settings/ReadingStyleFile.h"
#include "settings/SettingsFile.h"
#include "voice/ReadingTimer.h"

namespace settings {
namespace {

using enum MenuItem;

constexpr Rgb kBlue{0, 0, 255};      // palette colour 9
constexpr Rgb kMagenta{255, 0, 255}; // palette colour 13
constexpr Rgb kCyan{0, 255, 255};    // palette colour 11

} // namespace

Program::Program(MainView& view, voice::ClipPlayer& player, voice::ReadingTimer& timer,
                 std::string appFolder, std::function<std::string()> extractClips)
    : view_(view), timer_(timer), voice_(player, std::string()), reader_(voice_, timer),
      calc_(*this), appFolder_(std::move(appFolder)), extractClips_(std::move(extractClips)) {
    for (const MenuItemInfo& info : menuItems()) {
        checks_[static_cast<std::size_t>(info.item)] = info.checkedAtStart;
    }
    reader_.onFinished = [this] { calc_.finishSpeaking(); };
}

void Program::startUp() {
    indicatorVisible_ = true;
    view_.setIndicatorVisible(true);
    calc_.setVoiceOn(true);
    // A fresh record: narrow scroll range, no full notice, numbering from 1.
    view_.showRecord(records_);
    calc_.resetCalculator();
    view_.paintKeyFaces();
    loadSettings();
    // A copy killed while writing leaves its temporary files; stale ones go now.
    SettingsFile::removeLeftovers(appFolder_);
    ReadingStyleFile::removeLeftovers(appFolder_);
    record::RecordSaver(appFolder_).removeLeftovers();
    // The "0" was drawn before the saved colour was known; show it in the user's colour.
    calc_.showDisplay();
}

// Nothing here shows, so none of it holds up the first frame.
void Program::prepareVoice() {
    if (!voicePrepared_) {
        voicePrepared_ = true;
        voice_.setFolder(extractClips_ ? extractClips_() : std::string());
        // The user's own recordings are converted from now on, beside the window, so that
        // neither the window nor a key waits for them.
        voice_.loadPack(appFolder_ + "/voice");
    }
    // Every sound comes through here first: the pack takes over before one, never between
    // two steps of a reading.
    if (!timer_.active()) {
        voice_.takeLoadedPack();
    }
}

void Program::keyClicked(engine::Key key) {
    interruptReview();
    calculated_ = false;
    calc_.press(key);
    announceOutcome(key);
}

void Program::characterTyped(int code) {
    interruptReview();
    const engine::KeyInfo* info = calc_.keyboardOn() ? engine::keyForCharacter(code) : nullptr;
    calculated_ = false;
    calc_.typeCharacter(code);
    if (info != nullptr) {
        announceOutcome(info->key);
    }
}

// With its own voice off the program tells the screen reader what a key made of the display:
// a result, after equals or a chained operator, and the 0 after clear. Typed digits need no
// telling, the screen reader echoes the keys itself. With the voice on nothing is told, so
// that the screen reader never talks over the reading.
void Program::announceOutcome(engine::Key key) {
    if (calculated_ || key == engine::Key::Clear) {
        announceDisplay();
    }
}

void Program::announceDisplay() {
    const engine::CalculatorState& state = calc_.state();
    if (!state.voiceOn && !state.speaking) {
        view_.announce(state.displayText);
    }
}

void Program::displayFocused() {
    announceDisplay();
}

void Program::menuChosen(MenuItem item) {
    interruptReview();
    switch (item) {
    case mensenyin:
        toggleVoice();
        break;
    case munkai:
        toggleRecordPanel();
        break;
    case munkeey:
        toggleKeyboard();
        break;
    case munb:
        if (calc_.state().voiceOn) {
            playClip(engine::kClipClick);
        }
        chooseColour(1);
        break;
    case munr:
        voiceGate();
        chooseColour(2);
        break;
    case munq:
        voiceGate();
        chooseColour(3);
        break;
    case munt2:
        voiceGate();
        chooseKeep(1);
        break;
    case munt4:
        voiceGate();
        chooseKeep(2);
        break;
    case munt:
        voiceGate();
        chooseKeep(3);
        break;
    case munread2:
        voiceGate();
        chooseRead(1);
        break;
    case munread:
        voiceGate();
        chooseRead(2);
        break;
    case munread4:
        voiceGate();
        chooseRead(3);
        break;
    case about:
        showAbout();
        break;
    case munend:
        exitAction();
        break;
    case munjhy:
    case mnubarl0:
    case mnubarl1:
    case mnubarl2:
        break;
    }
}

void Program::voiceGate() {
    if (calc_.state().voiceOn && !calc_.state().speaking) {
        playClip(engine::kClipClick);
    }
}

void Program::setChecked(MenuItem item, bool on) {
    checks_[static_cast<std::size_t>(item)] = on;
    view_.setMenuChecked(item, on);
}

void Program::chooseColour(int choice) {
    setChecked(munb, choice == 1);
    setChecked(munr, choice == 2);
    setChecked(munq, choice == 3);
    colourChoice_ = choice;
    view_.setDisplayColour(choice == 1 ? kBlue : choice == 2 ? kMagenta : kCyan);
    calc_.showDisplay();
}

void Program::chooseKeep(int choice) {
    setChecked(munt2, choice == 1);
    setChecked(munt4, choice == 2);
    setChecked(munt, choice == 3);
    keepChoice_ = choice;
    calc_.setKeepDecimals(choice == 1 ? 2 : choice == 2 ? 4 : 0);
}

void Program::chooseRead(int choice) {
    setChecked(munread, choice == 2);
    setChecked(munread2, choice == 1);
    setChecked(munread4, choice == 3);
    readChoice_ = choice;
    readDecimals_ = choice == 1 ? 2 : choice == 2 ? 0 : 4;
}

void Program::toggleVoice() {
    playClip(engine::kClipClick);
    calc_.setVoiceOn(!calc_.state().voiceOn);
    indicatorVisible_ = !indicatorVisible_;
    view_.setIndicatorVisible(indicatorVisible_);
    setChecked(mensenyin, !checked(mensenyin));
}

void Program::toggleKeyboard() {
    voiceGate();
    const bool on = !checked(munkeey);
    calc_.setKeyboardOn(on);
    setChecked(munkeey, on);
}

void Program::showAbout() {
    if (calc_.state().voiceOn) {
        playClip(engine::kClipClick);
    }
    view_.showAbout();
}

void Program::aboutIconClicked() {
    view_.showAbout();
}

void Program::setPanel(bool open) {
    view_.setWidthTwips(open ? kWideWidthTwips : kNarrowWidthTwips);
    records_.setRecordOn(open);
    setChecked(munkai, open);
}

void Program::toggleRecordPanel() {
    voiceGate();
    setPanel(!records_.recordOn());
}

void Program::stopRecording() {
    if (records_.recordOn()) {
        setPanel(false);
    }
}

void Program::recordTabClicked() {
    if (records_.recordOn()) {
        stopRecording();
    } else {
        toggleRecordPanel();
    }
}

void Program::stopClicked() {
    stopRecording();
}

void Program::clearRecordsClicked() {
    records_.clearRecords();
    selectedRow_ = -1;
    view_.showRecord(records_);
}

void Program::viewClicked() {
    records_.toggleWideView();
    view_.showRecord(records_);
}

void Program::saveClicked() {
    const record::SaveResult result = record::RecordSaver(appFolder_).saveRecords(records_);
    view_.showMessage(kAppTitle, result.message());
}

void Program::applyColour(int choice) {
    // Codes outside 1..3 are kept for writing back but change nothing.
    if (choice == 1) {
        setChecked(munb, true);
        view_.setDisplayColour(kBlue);
    } else if (choice == 2) {
        setChecked(munr, true);
        setChecked(munb, false);
        view_.setDisplayColour(kMagenta);
    } else if (choice == 3) {
        setChecked(munq, true);
        setChecked(munb, false);
        view_.setDisplayColour(kCyan);
    }
}

void Program::applyKeep(int choice) {
    if (choice == 1) {
        setChecked(munt2, true);
        setChecked(munt4, false);
        calc_.setKeepDecimals(2);
    } else if (choice == 2) {
        setChecked(munt4, true);
        calc_.setKeepDecimals(4);
    } else if (choice == 3) {
        setChecked(munt, true);
        setChecked(munt4, false);
        calc_.setKeepDecimals(0);
    }
}

void Program::applyRead(int choice) {
    if (choice == 1) {
        setChecked(munread2, true);
        readDecimals_ = 2;
    } else if (choice == 2) {
        setChecked(munread, true);
        setChecked(munread2, false);
        readDecimals_ = 0;
    } else if (choice == 3) {
        setChecked(munread4, true);
        setChecked(munread2, false);
        readDecimals_ = 4;
    }
}

void Program::applyDefaults() {
    view_.setWidthTwips(kNarrowWidthTwips);
    records_.setRecordOn(false);
    setChecked(munb, true);
    view_.setDisplayColour(kBlue);
    setChecked(munt4, true);
    calc_.setKeepDecimals(4);
    setChecked(munread2, true);
    readDecimals_ = 2;
    colourChoice_ = 1;
    keepChoice_ = 2;
    readChoice_ = 1;
}

void Program::loadSettings() {
    loadReadingStyle();
    const SettingsRead read = SettingsFile::read(SettingsFile::settingsPath(appFolder_));
    if (read.position) {
        view_.moveToTwips(read.position->first, read.position->second);
    }
    if (!read.settings) {
        applyDefaults();
        return;
    }
    const StoredSettings& stored = *read.settings;
    colourChoice_ = stored.colourChoice;
    keepChoice_ = stored.keepChoice;
    readChoice_ = stored.readChoice;
    setChecked(munkai, stored.recordPanelOpen);
    view_.setWidthTwips(stored.recordPanelOpen ? kWideWidthTwips : kNarrowWidthTwips);
    records_.setRecordOn(stored.recordPanelOpen);
    applyColour(colourChoice_);
    applyKeep(keepChoice_);
    applyRead(readChoice_);
}

void Program::loadReadingStyle() {
    reader_.setStyle(ReadingStyleFile::read(ReadingStyleFile::path(appFolder_)));
}

WriteOutcome Program::saveSettings() {
    StoredSettings stored;
    stored.leftTwips = view_.leftTwips();
    stored.topTwips = view_.topTwips();
    stored.recordPanelOpen = checked(munkai);
    stored.colourChoice = colourChoice_;
    stored.keepChoice = keepChoice_;
    stored.readChoice = readChoice_;
    const WriteOutcome settings =
        SettingsFile::write(SettingsFile::settingsPath(appFolder_), stored);
    const WriteOutcome style =
        ReadingStyleFile::write(ReadingStyleFile::path(appFolder_), reader_.style());
    return settings.ok() ? style : settings;
}

// Choices that could not be kept are said so before the program ends, on the screen and on
// standard error; nothing else runs meanwhile, and closing the box, or a close by the system,
// ends the program as the exit would have.
void Program::exitAction() {
    exiting_ = true;
    const WriteOutcome saved = saveSettings();
    timer_.stop();
    if (!saved.ok()) {
        const std::string line = saved.message();
        std::fprintf(stderr, "%s\n", line.c_str());
        view_.closeAbout();
        view_.showMessage(kAppTitle, line);
    }
    view_.endProgram();
}

void Program::exitClicked() {
    exitAction();
}

// Shortcuts work with keyboard input off (the Menu key is how a keyboard user switches it
// back on). Those that stand for the options key or the record tab, and the program's own
// About and exit, wait while a result is read aloud, as the keys and the tab do; the panel's
// labels, minimising and closing About take a click at any time, and so do their keys.
void Program::shortcut(Shortcut key) {
    interruptReview();
    switch (key) {
    case Shortcut::WideView:
        if (records_.recordOn()) {
            viewClicked();
        }
        return;
    case Shortcut::ClearRecords:
        if (records_.recordOn()) {
            clearRecordsClicked();
        }
        return;
    case Shortcut::Minimise:
        view_.minimise();
        return;
    case Shortcut::CloseAbout:
        view_.closeAbout();
        return;
    default:
        break;
    }
    if (calc_.state().speaking) {
        return;
    }
    switch (key) {
    case Shortcut::OptionsMenu:
        view_.popupOptionsMenuAtKey();
        break;
    case Shortcut::About:
        // Silent, as the About icon is.
        aboutIconClicked();
        break;
    case Shortcut::Save:
        if (records_.recordOn()) {
            saveClicked();
        }
        break;
    case Shortcut::Exit:
        exitAction();
        break;
    case Shortcut::RecordTab:
        recordTabClicked();
        break;
    case Shortcut::ReadCalculation:
        readCalculation();
        break;
    case Shortcut::RecordUp:
    case Shortcut::RecordDown:
    case Shortcut::RecordFirst:
    case Shortcut::RecordLast:
        moveInRecord(key);
        break;
    case Shortcut::ReadingStyle:
        switchReadingStyle();
        break;
    default:
        break;
    }
}

void Program::interruptReview() {
    reader_.stopReview();
}

void Program::refuse() {
    if (calc_.state().voiceOn) {
        prepareVoice();
        voice_.playFallback();
    }
}

// With the voice off the line goes to the screen reader instead, its operators as words.
void Program::reviewLine(const std::string& line) {
    interruptReview();
    if (!calc_.state().voiceOn) {
        view_.announce(engine::SpokenLine::words(line));
        return;
    }
    prepareVoice();
    reader_.review(engine::SpokenLine::clips(line, reader_.style()));
}

void Program::readCalculation() {
    if (calc_.state().speaking) {
        return;
    }
    const auto& lines = records_.lines();
    const bool chosen = records_.recordOn() && userSelected_ && selectedRow_ >= 0 &&
                        static_cast<std::size_t>(selectedRow_) < lines.size();
    const std::string& line = chosen ? lines[static_cast<std::size_t>(selectedRow_)] : lastLine_;
    if (line.empty()) {
        refuse();
        return;
    }
    reviewLine(line);
}

// Up, Down, Home and End walk the record while its panel is open; there is nothing to do
// with them otherwise.
void Program::moveInRecord(Shortcut key) {
    if (!records_.recordOn()) {
        return;
    }
    const int count = static_cast<int>(records_.lines().size());
    int row = selectedRow_;
    switch (key) {
    case Shortcut::RecordUp:
        row = selectedRow_ - 1;
        break;
    case Shortcut::RecordDown:
        row = selectedRow_ + 1;
        break;
    case Shortcut::RecordFirst:
        row = 0;
        break;
    default:
        row = count - 1;
        break;
    }
    // Past either end the selection stays where it is.
    if (count == 0 || row < 0 || row >= count) {
        refuse();
        return;
    }
    selectedRow_ = row;
    userSelected_ = true;
    view_.selectRecordLine(row);
    reviewLine(records_.lines()[static_cast<std::size_t>(row)]);
}

void Program::recordLineChosen(int row) {
    interruptReview();
    if (row >= 0 && static_cast<std::size_t>(row) < records_.lines().size()) {
        selectedRow_ = row;
        userSelected_ = true;
    }
}

void Program::chooseReadingStyle(engine::ReadingStyle style) {
    interruptReview();
    if (style != reader_.style()) {
        switchReadingStyle();
    }
}

void Program::copyChosen() {
    interruptReview();
    voiceGate();
}

// The sample 10 is said in the new style (一零 or 十), so the user hears which is on.
void Program::switchReadingStyle() {
    interruptReview();
    if (calc_.state().speaking) {
        return;
    }
    const bool units = reader_.style() != engine::ReadingStyle::PlaceUnits;
    reader_.setStyle(units ? engine::ReadingStyle::PlaceUnits : engine::ReadingStyle::Digits);
    view_.announce(units ? kPlaceUnitsName : kDigitsName);
    if (calc_.state().voiceOn) {
        prepareVoice();
        reader_.review(engine::SpokenNumber::clips("10", reader_.style()));
    }
}

void Program::systemClose() {
    if (exiting_) {
        return;
    }
    SettingsFile::writeSizeRecord(appFolder_, view_.widthTwips(), view_.heightTwips());
}

void Program::displayChanged(const engine::DisplayLayout& layout) {
    view_.paintDisplay(layout);
}

void Program::playClip(int clip) {
    prepareVoice();
    voice_.playClip(clip);
}

void Program::recordCalculation(const std::string& line) {
    lastLine_ = line;
    userSelected_ = false;
    calculated_ = true;
    if (!records_.recordOn()) {
        return;
    }
    const std::size_t before = records_.lines().size();
    records_.recordCalculation(line);
    // A new line selects itself; one the full record refuses leaves the selection alone.
    if (records_.lines().size() > before) {
        selectedRow_ = static_cast<int>(records_.lines().size()) - 1;
    }
    view_.showRecord(records_);
}

void Program::showNotice(const std::string& text) {
    view_.showMessage(kNoticeTitle, text);
}

void Program::startReading(const std::string& resultText) {
    prepareVoice();
    std::string text = resultText;
    reader_.startReading(text, readDecimals_);
}

void Program::readAloud(const std::string& text, int decimals) {
    prepareVoice();
    calc_.beginSpeaking();
    reader_.readNow(text, decimals);
}

void Program::readAgain() {
    interruptReview();
    const engine::CalculatorState& state = calc_.state();
    if (!state.voiceOn) {
        // The screen reader speaks instead.
        announceDisplay();
        return;
    }
    if (state.speaking) {
        return;
    }
    if (state.resultShown) {
        readAloud(state.resultText, readDecimals_);
    } else {
        // An entry is read as typed, every decimal of it.
        readAloud(calc_.shownNumber(), static_cast<int>(engine::kMaxEntryLength));
    }
}

void Program::pasteText(const std::string& text) {
    interruptReview();
    const engine::CalculatorState& state = calc_.state();
    if (!calc_.keyboardOn() || state.speaking) {
        return;
    }
    const std::optional<std::string> entry = engine::pastedEntry(text);
    if (entry && calc_.enterNumber(*entry)) {
        readAgain();
    } else {
        refuse();
    }
}

void Program::popupOptionsMenu() {
    view_.popupOptionsMenu();
}

} // namespace settings
