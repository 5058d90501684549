// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "../record/TestFiles.h"
#include "../voice/VoiceFakes.h"
#include "FakeView.h"
#include "settings/Program.h"

using namespace settings;
using engine::Key;
using testfiles::readFile;
using testfiles::writeFile;
namespace fs = std::filesystem;

namespace {

class ProgramTest : public ::testing::Test {
  protected:
    fs::path folder;
    voicetest::ManualClock clock;
    voicetest::RecordingPlayer player{clock};
    voicetest::ManualTimer timer{clock};
    FakeView view;
    std::unique_ptr<Program> program;
    int extractions = 0;

    void SetUp() override {
        char pattern[] = "/tmp/program-test-XXXXXX";
        folder = mkdtemp(pattern);
        view.left = kFirstLeftTwips;
        view.top = kFirstTopTwips;
    }
    void TearDown() override { fs::remove_all(folder); }

    void start() {
        program = std::make_unique<Program>(view, player, timer, folder.string(), [this] {
            ++extractions;
            return std::string("/clips");
        });
        program->startUp();
        player.played.clear();
    }

    std::vector<int> clipsPlayed() const {
        std::vector<int> clips;
        for (const auto& played : player.played) {
            const auto name = fs::path(played.path).stem().string();
            clips.push_back(std::stoi(name));
        }
        return clips;
    }

    void press(std::initializer_list<Key> keys) {
        for (Key key : keys) {
            program->keyClicked(key);
        }
    }

    void readToTheEnd() {
        timer.runUntilStopped([this] { program->timerTick(); });
    }

    fs::path settingsFile() const { return folder / "sty.inf"; }
};

} // namespace

TEST_F(ProgramTest, FirstStartComesUpNarrowWithTheDefaultChoices) {
    start();
    EXPECT_EQ(view.width, kNarrowWidthTwips);
    EXPECT_FALSE(program->records().recordOn());
    EXPECT_EQ(view.colour, (Rgb{0, 0, 255}));
    EXPECT_EQ(program->calculator().state().keepDecimals, 4);
    EXPECT_EQ(program->readDecimals(), 2);
    EXPECT_TRUE(program->calculator().state().voiceOn);
    EXPECT_TRUE(view.indicator);
    EXPECT_EQ(view.left, kFirstLeftTwips);
    EXPECT_EQ(view.top, kFirstTopTwips);
    for (MenuItem item : {MenuItem::mensenyin, MenuItem::munkeey, MenuItem::munb, MenuItem::munt4,
                          MenuItem::munread2}) {
        EXPECT_TRUE(program->checked(item)) << menuItemInfo(item).name;
    }
    EXPECT_FALSE(program->checked(MenuItem::munkai));
    // The clips are written after the first frame, unless a sound comes first.
    EXPECT_EQ(extractions, 0);
}

TEST_F(ProgramTest, TheClipsAreWrittenOnceAndBeforeTheFirstSound) {
    start();
    press({Key::Five});
    EXPECT_EQ(extractions, 1);
    ASSERT_EQ(player.played.size(), 1U);
    EXPECT_EQ(player.played[0].path, "/clips/105.wav");
    program->prepareVoice();
    press({Key::Seven});
    EXPECT_EQ(extractions, 1);
}

TEST_F(ProgramTest, StartUpRunsInItsFixedOrder) {
    start();
    const std::vector<std::string> expected = {"indicator on", "record",     "display 0",
                                               "key faces",    "width 3960", "display 0"};
    EXPECT_EQ(view.calls, expected);
}

TEST_F(ProgramTest, ExitSavesAndTheNextStartComesBackTheSame) {
    start();
    program->menuChosen(MenuItem::munkai);
    program->menuChosen(MenuItem::munr);
    program->menuChosen(MenuItem::munt);
    program->menuChosen(MenuItem::munread);
    view.left = 1815;
    view.top = -600;
    program->exitClicked();
    EXPECT_TRUE(view.ended);
    EXPECT_EQ(readFile(settingsFile()), "1815,-600,#TRUE#,2,3,2\r\n");

    view = FakeView();
    start();
    EXPECT_EQ(view.left, 1815);
    EXPECT_EQ(view.top, -600);
    EXPECT_EQ(view.width, kWideWidthTwips);
    EXPECT_TRUE(program->records().recordOn());
    EXPECT_TRUE(program->checked(MenuItem::munkai));
    EXPECT_EQ(view.colour, (Rgb{255, 0, 255}));
    EXPECT_EQ(program->calculator().state().keepDecimals, 0);
    EXPECT_EQ(program->readDecimals(), 0);
    EXPECT_TRUE(view.checks[MenuItem::munr]);
    EXPECT_FALSE(view.checks[MenuItem::munb]);
    EXPECT_FALSE(view.checks[MenuItem::munt4]);
    EXPECT_FALSE(view.checks[MenuItem::munread2]);
}

TEST_F(ProgramTest, ExitKeyAndExitItemWriteTheSameFile) {
    start();
    program->exitClicked();
    const std::string byKey = readFile(settingsFile());
    fs::remove(settingsFile());
    start();
    program->menuChosen(MenuItem::munend);
    EXPECT_EQ(readFile(settingsFile()), byKey);
    EXPECT_EQ(byKey, "3555,2940,#FALSE#,1,2,1\r\n");
    EXPECT_TRUE(player.played.empty()) << "exit never sounds";
}

TEST_F(ProgramTest, ACloseByTheSystemLeavesTheSettingsAlone) {
    writeFile(settingsFile(), "100,200,#FALSE#,3,1,3\r\n");
    start();
    program->menuChosen(MenuItem::munr);
    program->systemClose();
    EXPECT_EQ(readFile(settingsFile()), "100,200,#FALSE#,3,1,3\r\n");
    EXPECT_EQ(readFile(folder.string() + "sty.inf"), "3960,6120\r\n");
    fs::remove(folder.string() + "sty.inf");
}

// The old file stays whole and the user is told before the program ends; a close by the
// system meanwhile writes nothing more.
TEST_F(ProgramTest, AnExitThatCannotKeepTheChoicesSaysSo) {
    fs::create_directory(settingsFile());
    start();
    press({Key::Two, Key::Add, Key::Three, Key::Equals});
    program->exitClicked();
    EXPECT_FALSE(timer.active());
    EXPECT_EQ(view.calls.back(), "close about");
    ASSERT_EQ(view.messages.size(), 1U);
    EXPECT_EQ(view.messages[0].first, kAppTitle);
    EXPECT_EQ(view.messages[0].second,
              "选项保存失败：" + settingsFile().string() + "（已有同名的文件夹）");
    EXPECT_TRUE(view.ended);
    program->systemClose();
    EXPECT_FALSE(fs::exists(folder.string() + "sty.inf"));
    EXPECT_TRUE(fs::is_directory(settingsFile()));
}

// What a copy killed while writing left behind: stale ones go at the next start, a young one
// may be another copy's write in progress.
TEST_F(ProgramTest, StartRemovesStaleTemporaryFilesOfItsOwn) {
    fs::create_directories(folder / "save");
    const fs::path stale[] = {folder / ".sty.inf.k3Jd9a", folder / "save/.2.txt.Qp0Lm1"};
    const fs::path kept[] = {folder / ".sty.inf.Ww1234", folder / ".other.inf.k3Jd9a"};
    for (const auto& path : stale) {
        writeFile(path.string(), "partial");
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(2));
    }
    writeFile(kept[0].string(), "partial");
    writeFile(kept[1].string(), "partial");
    fs::last_write_time(kept[1], fs::file_time_type::clock::now() - std::chrono::minutes(2));
    start();
    for (const auto& path : stale) {
        EXPECT_FALSE(fs::exists(path)) << path;
    }
    for (const auto& path : kept) {
        EXPECT_TRUE(fs::exists(path)) << path;
    }
}

TEST_F(ProgramTest, UnknownCodesApplyNothingAndAreWrittenBack) {
    writeFile(settingsFile(), "0,0,#FALSE#,0,7,0\r\n");
    start();
    EXPECT_EQ(program->calculator().state().keepDecimals, 0);
    EXPECT_EQ(program->readDecimals(), 0);
    EXPECT_TRUE(program->checked(MenuItem::munb));
    EXPECT_TRUE(program->checked(MenuItem::munt4));
    program->exitClicked();
    EXPECT_EQ(readFile(settingsFile()), "0,0,#FALSE#,0,7,0\r\n");
}

TEST_F(ProgramTest, ABrokenFileGivesTheDefaultsButKeepsAnAppliedPosition) {
    writeFile(settingsFile(), "120,240,#MAYBE#,2,3,2\r\n");
    start();
    EXPECT_EQ(view.left, 120);
    EXPECT_EQ(view.top, 240);
    EXPECT_EQ(program->colourChoice(), 1);
    EXPECT_EQ(program->keepChoice(), 2);
    EXPECT_EQ(program->readChoice(), 1);
}

struct SoundRow {
    MenuItem item;
    bool voiceOn;
    bool speaking;
    bool sounds;
};

TEST_F(ProgramTest, MenuItemsSoundByTheirOwnRules) {
    using enum MenuItem;
    const SoundRow rows[] = {
        {mensenyin, true, false, true}, {mensenyin, false, false, true},
        {mensenyin, true, true, true},  {munb, true, true, true},
        {munb, false, false, false},    {about, true, true, true},
        {about, false, false, false},   {munr, true, false, true},
        {munr, true, true, false},      {munq, true, true, false},
        {munkai, true, true, false},    {munkeey, true, true, false},
        {munt2, true, true, false},     {munt4, true, false, true},
        {munt, false, false, false},    {munread2, true, true, false},
        {munread4, true, false, true},  {munread, true, true, false},
        {munend, true, false, false},
    };
    for (const SoundRow& row : rows) {
        view = FakeView();
        start();
        if (!row.voiceOn) {
            program->menuChosen(mensenyin);
        }
        if (row.speaking) {
            press({Key::Two, Key::Add, Key::Three, Key::Equals});
            ASSERT_TRUE(program->calculator().state().speaking);
        }
        player.played.clear();
        program->menuChosen(row.item);
        const bool sounded = !player.played.empty() && clipsPlayed().back() == 117;
        EXPECT_EQ(sounded, row.sounds) << menuItemInfo(row.item).name << " voice " << row.voiceOn
                                       << " speaking " << row.speaking;
    }
}

TEST_F(ProgramTest, ChoiceFamiliesKeepOneCheckEach) {
    using enum MenuItem;
    start();
    program->menuChosen(munq);
    EXPECT_FALSE(program->checked(munb));
    EXPECT_FALSE(program->checked(munr));
    EXPECT_TRUE(program->checked(munq));
    EXPECT_EQ(view.colour, (Rgb{0, 255, 255}));
    program->menuChosen(munq);
    EXPECT_TRUE(program->checked(munq));
    EXPECT_EQ(program->colourChoice(), 3);

    program->menuChosen(munt2);
    EXPECT_EQ(program->keepChoice(), 1);
    EXPECT_EQ(program->calculator().state().keepDecimals, 2);
    program->menuChosen(munread4);
    EXPECT_EQ(program->readChoice(), 3);
    EXPECT_EQ(program->readDecimals(), 4);
    EXPECT_FALSE(program->checked(munread2));
}

TEST_F(ProgramTest, ColourItemsRepaintTheSameNumber) {
    start();
    program->characterTyped('7');
    view.calls.clear();
    program->menuChosen(MenuItem::munr);
    EXPECT_EQ(view.calls, std::vector<std::string>{"display 7"});
}

TEST_F(ProgramTest, VoiceToggleFlipsVoiceIndicatorAndCheckTogether) {
    start();
    program->menuChosen(MenuItem::mensenyin);
    EXPECT_FALSE(program->calculator().state().voiceOn);
    EXPECT_FALSE(view.indicator);
    EXPECT_FALSE(program->checked(MenuItem::mensenyin));
    press({Key::Five});
    EXPECT_EQ(clipsPlayed(), std::vector<int>{117});
    program->menuChosen(MenuItem::mensenyin);
    EXPECT_TRUE(view.indicator);
    EXPECT_EQ(clipsPlayed(), (std::vector<int>{117, 117}));
}

TEST_F(ProgramTest, KeyboardItemSwitchesTypedInput) {
    start();
    program->menuChosen(MenuItem::munkeey);
    program->characterTyped('5');
    EXPECT_EQ(program->calculator().state().displayText, "0");
    program->menuChosen(MenuItem::munkeey);
    program->characterTyped('5');
    EXPECT_EQ(program->calculator().state().displayText, "5");
}

TEST_F(ProgramTest, AResultIsReadAloudAtItsPace) {
    start();
    press({Key::One, Key::Two, Key::Add, Key::Three});
    player.played.clear();
    press({Key::Equals});
    readToTheEnd();
    std::vector<std::pair<int, int>> timeline;
    for (const auto& played : player.played) {
        timeline.emplace_back(std::stoi(fs::path(played.path).stem().string()), played.atMs);
    }
    const std::vector<std::pair<int, int>> expected = {{116, 0}, {101, 450}, {105, 900}};
    EXPECT_EQ(timeline, expected);
    EXPECT_FALSE(program->calculator().state().speaking);
    EXPECT_EQ(player.played.front().path, "/clips/116.wav");
}

TEST_F(ProgramTest, RecordPanelOpensAndClosesAsTheUserExpects) {
    start();
    program->recordTabClicked();
    EXPECT_EQ(view.width, kWideWidthTwips);
    EXPECT_EQ(clipsPlayed(), std::vector<int>{117});
    EXPECT_TRUE(program->checked(MenuItem::munkai));

    press({Key::Two, Key::Add, Key::Three, Key::Equals});
    readToTheEnd();
    EXPECT_EQ(view.listLines, std::vector<std::string>{"2+3=5"});
    EXPECT_EQ(view.countLabel, "1");

    player.played.clear();
    program->recordTabClicked();
    EXPECT_EQ(view.width, kNarrowWidthTwips);
    EXPECT_TRUE(player.played.empty()) << "the tab closes silently";

    program->stopClicked();
    EXPECT_EQ(view.width, kNarrowWidthTwips);

    program->menuChosen(MenuItem::munkai);
    program->menuChosen(MenuItem::munkai);
    EXPECT_EQ(clipsPlayed(), (std::vector<int>{117, 117}));
    EXPECT_EQ(program->records().lines().size(), 1u) << "closing keeps the lines";
}

TEST_F(ProgramTest, SavingTellsTheUserWhereTheRecordWent) {
    start();
    program->saveClicked();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], (std::pair<std::string, std::string>{kAppTitle, "没有可保存的"}));
    EXPECT_FALSE(fs::exists(folder / "save"));

    program->recordTabClicked();
    press({Key::One, Key::Two, Key::Add, Key::Three, Key::Point, Key::Five, Key::Equals});
    readToTheEnd();
    program->saveClicked();
    const fs::path saved = folder / "save" / "1.txt";
    EXPECT_EQ(view.messages.back().second, "记录已保存到" + saved.string());
    EXPECT_EQ(readFile(saved), "12+3.5=15.5\r\n");
}

TEST_F(ProgramTest, RefusalsAreShownAsNotices) {
    start();
    for (int i = 0; i < 6; ++i) {
        program->characterTyped('9');
    }
    program->characterTyped('*');
    for (int i = 0; i < 6; ++i) {
        program->characterTyped('9');
    }
    program->characterTyped('=');
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].first, "提示");
    EXPECT_EQ(view.messages[0].second, "数据太大，会溢出");
}

TEST_F(ProgramTest, ExitStopsAReadingInProgress) {
    start();
    press({Key::Two, Key::Add, Key::Three, Key::Equals});
    EXPECT_TRUE(timer.active());
    program->exitClicked();
    EXPECT_FALSE(timer.active());
}

namespace {

// Clip number and time of every play; 0 stands for the fallback sound.
std::vector<std::pair<int, int>> timeline(const voicetest::RecordingPlayer& player) {
    std::vector<std::pair<int, int>> plays;
    for (const auto& played : player.played) {
        const std::string stem = fs::path(played.path).stem().string();
        plays.emplace_back(stem.empty() ? 0 : std::stoi(stem), played.atMs);
    }
    return plays;
}

using Timeline = std::vector<std::pair<int, int>>;

std::vector<int> heard(const voicetest::RecordingPlayer& player) {
    std::vector<int> clips;
    for (const auto& [clip, at] : timeline(player)) {
        clips.push_back(clip);
    }
    return clips;
}

} // namespace

TEST_F(ProgramTest, HearItAgainReadsTheDisplayAndChangesNothingElse) {
    start();
    press({Key::One, Key::Two, Key::Add, Key::Three, Key::Equals});
    readToTheEnd();
    const engine::CalculatorState before = program->calculator().state();
    player.played.clear();
    program->readAgain();
    EXPECT_TRUE(program->calculator().state().speaking);
    program->readAgain(); // a reading already runs
    press({Key::Seven});
    readToTheEnd();
    EXPECT_EQ(timeline(player), (Timeline{{101, 900}, {105, 1350}})) << "first clip at once";
    EXPECT_EQ(program->calculator().state().displayText, before.displayText);
    EXPECT_EQ(program->calculator().state().resultText, before.resultText);

    // An entry is read whole, and Enter waits until its reading is over.
    press({Key::Add, Key::Zero, Key::Point, Key::One, Key::Two, Key::Five, Key::Sign});
    player.played.clear();
    program->readAgain();
    program->characterTyped('\r');
    EXPECT_FALSE(program->calculator().state().resultShown);
    readToTheEnd();
    EXPECT_EQ(timeline(player).size(), 6u);
    EXPECT_EQ(timeline(player).front().first, 118);
    EXPECT_EQ(program->calculator().state().displayText, "-0.125");

    press({Key::Clear});
    player.played.clear();
    program->readAgain();
    EXPECT_EQ(timeline(player), (Timeline{{100, clock.nowMs}})) << "an empty entry reads 零";
    EXPECT_FALSE(program->calculator().state().speaking);

    program->menuChosen(MenuItem::mensenyin);
    player.played.clear();
    program->readAgain();
    EXPECT_TRUE(player.played.empty()) << "silent with the voice off";
}

TEST_F(ProgramTest, CopyGivesTheNumberAsShownWithoutItsMarker) {
    start();
    program->menuChosen(MenuItem::munkeey); // copying works with typed input off too
    EXPECT_EQ(program->copyText(), "0");
    press({Key::One, Key::Two, Key::Add, Key::Three, Key::Point, Key::Five});
    EXPECT_EQ(program->copyText(), "3.5");
    press({Key::Equals});
    EXPECT_EQ(program->copyText(), "15.5");
    readToTheEnd();
    press({Key::Divide, Key::Three, Key::Equals});
    EXPECT_EQ(program->copyText(), "5.1666") << "decimals cut as shown";
    readToTheEnd();

    // Too long for the box: marked or cut there, copied whole.
    program->menuChosen(MenuItem::munkeey);
    const auto type = [this](const std::string& keys) {
        for (char c : keys) {
            program->characterTyped(c);
        }
        readToTheEnd();
    };
    type(" 999999999999+999999999999+.5=");
    EXPECT_EQ(program->calculator().state().displayText, "E1999999999998.5");
    EXPECT_EQ(program->copyText(), "1999999999998.5");
    program->menuChosen(MenuItem::munt);
    type(" 999999999999/.0000000001=");
    EXPECT_EQ(program->copyText(), "9.99999999999E+21");
    EXPECT_TRUE(player.played.size() > 0);
    player.played.clear();
    program->copyText();
    EXPECT_TRUE(player.played.empty());
}

TEST_F(ProgramTest, PasteEntersAWholeNumberWhereANumberStarts) {
    start();
    program->recordTabClicked();
    press({Key::Clear});
    player.played.clear();
    program->pasteText("42.5");
    EXPECT_EQ(program->calculator().state().displayText, "42.5");
    EXPECT_EQ(timeline(player).front(), (std::pair<int, int>{104, clock.nowMs})) << "read aloud";
    readToTheEnd();
    EXPECT_EQ(timeline(player).size(), 4u);
    press({Key::Add, Key::One, Key::Equals});
    readToTheEnd();
    EXPECT_EQ(program->records().lines().back(), "42.5+1=43.5");

    // After a result and after an operator a new number starts; inside an entry it does not.
    program->pasteText("\xEF\xBC\x91\xEF\xBC\x92");
    readToTheEnd();
    press({Key::Multiply});
    program->pasteText(" -3 ");
    readToTheEnd();
    player.played.clear();
    program->pasteText("4");
    EXPECT_EQ(timeline(player), (Timeline{{0, clock.nowMs}})) << "one fallback sound";
    press({Key::Equals});
    readToTheEnd();
    EXPECT_EQ(program->records().lines().back(), "12*(-3)=-36");

    press({Key::Clear});
    for (const char* refused : {"1e5", "12345678901234567890", "1,5", "abc"}) {
        player.played.clear();
        program->pasteText(refused);
        EXPECT_EQ(program->calculator().state().displayText, "0") << refused;
        EXPECT_EQ(timeline(player).size(), 1u) << refused;
    }

    program->menuChosen(MenuItem::mensenyin);
    player.played.clear();
    program->pasteText("x");
    program->pasteText("7");
    EXPECT_TRUE(player.played.empty()) << "silent with the voice off";
    EXPECT_EQ(program->calculator().state().displayText, "7");

    press({Key::Clear});
    program->menuChosen(MenuItem::munkeey);
    program->pasteText("5");
    EXPECT_EQ(program->calculator().state().displayText, "0") << "typed input is off";
}

TEST_F(ProgramTest, ShortcutsWorkWithKeyboardOffButNotWhileAResultIsRead) {
    start();
    program->menuChosen(MenuItem::munkeey);
    ASSERT_FALSE(program->calculator().keyboardOn());

    // While a result is read aloud, none of them acts.
    program->menuChosen(MenuItem::munkai);
    press({Key::Two, Key::Add, Key::Three, Key::Equals});
    ASSERT_TRUE(program->calculator().state().speaking);
    for (Shortcut key : {Shortcut::OptionsMenu, Shortcut::About, Shortcut::Save, Shortcut::Exit}) {
        program->shortcut(key);
    }
    EXPECT_EQ(view.menuPopupsAtKey + view.aboutShown, 0);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_FALSE(view.ended);
    readToTheEnd();

    player.played.clear();
    program->shortcut(Shortcut::OptionsMenu);
    program->shortcut(Shortcut::About);
    EXPECT_EQ(view.menuPopupsAtKey, 1);
    EXPECT_EQ(view.aboutShown, 1);
    EXPECT_TRUE(player.played.empty()); // About from the keyboard is silent, as from the icon

    // Saving only while the record panel is open.
    program->shortcut(Shortcut::Save);
    ASSERT_EQ(view.messages.size(), 1U);
    EXPECT_TRUE(fs::exists(folder / "save" / "1.txt"));
    program->menuChosen(MenuItem::munkai);
    program->shortcut(Shortcut::Save);
    EXPECT_EQ(view.messages.size(), 1U);

    program->shortcut(Shortcut::Exit);
    EXPECT_TRUE(view.ended);
    EXPECT_TRUE(fs::exists(settingsFile()));
}

TEST_F(ProgramTest, WithTheVoiceOffTheScreenReaderIsToldEachResultAndClear) {
    start();
    program->displayFocused();
    press({Key::One, Key::Add, Key::Two, Key::Equals});
    readToTheEnd();
    program->readAgain();
    readToTheEnd();
    press({Key::Clear});
    EXPECT_TRUE(view.announced.empty()) << "the voice speaks; the screen reader must not";

    program->menuChosen(MenuItem::mensenyin);
    program->displayFocused();
    press({Key::One, Key::Two, Key::Add, Key::Three, Key::Add}); // a chained operator
    for (char c : std::string("5\r")) {
        program->characterTyped(c);
    }
    program->readAgain();
    press({Key::Divide, Key::Zero, Key::Equals}); // refused without a word
    press({Key::Clear});
    program->characterTyped(' ');
    EXPECT_EQ(view.announced, (std::vector<std::string>{"0", "15", "20", "20", "0", "0"}));
}

TEST_F(ProgramTest, RecordAndWindowKeysFollowTheControlsTheyStandFor) {
    start();
    program->shortcut(Shortcut::WideView);
    program->shortcut(Shortcut::ClearRecords);
    EXPECT_FALSE(program->records().wideView()) << "the panel is closed";

    program->shortcut(Shortcut::RecordTab);
    ASSERT_TRUE(program->records().recordOn());
    press({Key::One, Key::Add, Key::One, Key::Equals});
    readToTheEnd();
    press({Key::Two, Key::Add, Key::Two, Key::Equals});
    ASSERT_TRUE(program->calculator().state().speaking);
    program->shortcut(Shortcut::RecordTab); // waits, as the tab does, while a result is read
    program->shortcut(Shortcut::WideView);
    program->shortcut(Shortcut::Minimise);
    program->shortcut(Shortcut::CloseAbout);
    EXPECT_TRUE(program->records().recordOn());
    EXPECT_TRUE(program->records().wideView());
    EXPECT_EQ(view.minimised, 1);
    EXPECT_EQ(view.aboutClosed, 1);
    program->shortcut(Shortcut::ClearRecords);
    EXPECT_TRUE(view.listLines.empty());
    readToTheEnd();

    program->shortcut(Shortcut::RecordTab);
    EXPECT_FALSE(program->records().recordOn());
    EXPECT_EQ(view.width, kNarrowWidthTwips);
}

// F6 and the record by ear: review readings say a whole line, hold no key and end at the
// user's next action.
TEST_F(ProgramTest, ReviewReadingsSayTheCalculationAndWalkTheRecord) {
    start();
    program->shortcut(Shortcut::ReadCalculation);
    EXPECT_EQ(timeline(player), (Timeline{{0, 0}})) << "nothing evaluated yet";

    press({Key::One, Key::Two, Key::Add, Key::Three, Key::Point, Key::Five, Key::Equals});
    program->shortcut(Shortcut::ReadCalculation);
    EXPECT_FALSE(timer.active() && program->reader().reviewing()) << "held by the reading";
    readToTheEnd();
    press({Key::Clear});
    player.played.clear();
    program->shortcut(Shortcut::ReadCalculation);
    EXPECT_FALSE(program->calculator().state().speaking);
    const int start = clock.nowMs;
    readToTheEnd();
    EXPECT_EQ(heard(player),
              (std::vector<int>{101, 102, 112, 103, 110, 105, 116, 101, 105, 110, 105}));
    EXPECT_EQ(timeline(player).front().second, start) << "first clip at once";

    program->shortcut(Shortcut::ReadCalculation);
    program->characterTyped('7');
    EXPECT_FALSE(timer.active()) << "a typed digit stops the review";
    EXPECT_EQ(program->calculator().state().displayText, "7");

    // Two recorded lines; the newest is selected.
    program->toggleRecordPanel();
    press({Key::Clear, Key::One, Key::Add, Key::One, Key::Equals});
    readToTheEnd();
    press({Key::Two, Key::Add, Key::Two, Key::Equals});
    readToTheEnd();
    player.played.clear();
    program->shortcut(Shortcut::RecordUp);
    readToTheEnd();
    EXPECT_EQ(heard(player), (std::vector<int>{101, 112, 101, 116, 102}));
    EXPECT_EQ(view.selectedRow, 0);
    player.played.clear();
    program->shortcut(Shortcut::RecordUp);
    EXPECT_EQ(heard(player), (std::vector<int>{0})) << "the first line is the end";
    EXPECT_EQ(program->selectedRecordLine(), 0);
    player.played.clear();
    program->shortcut(Shortcut::ReadCalculation);
    EXPECT_EQ(heard(player).front(), 101) << "the line the user chose";
    program->shortcut(Shortcut::RecordLast);
    EXPECT_EQ(view.selectedRow, 1);
    program->shortcut(Shortcut::RecordDown);
    EXPECT_EQ(program->selectedRecordLine(), 1);

    // A new evaluation selects its own line, and F6 reads it.
    program->shortcut(Shortcut::RecordFirst);
    press({Key::Three, Key::Add, Key::Three, Key::Equals});
    readToTheEnd();
    EXPECT_EQ(program->selectedRecordLine(), 2);
    program->clearRecordsClicked();
    player.played.clear();
    program->shortcut(Shortcut::RecordUp);
    EXPECT_EQ(heard(player), (std::vector<int>{0})) << "an empty record";
    program->stopRecording();
    player.played.clear();
    program->shortcut(Shortcut::RecordUp);
    EXPECT_TRUE(player.played.empty()) << "nothing to walk with the panel closed";

    // With the voice off the line goes to the screen reader, silently.
    program->menuChosen(MenuItem::mensenyin);
    player.played.clear();
    press({Key::Clear, Key::Two, Key::Sign, Key::Multiply, Key::Three, Key::Equals});
    program->shortcut(Shortcut::ReadCalculation);
    EXPECT_TRUE(player.played.empty());
    ASSERT_FALSE(view.announced.empty());
    EXPECT_EQ(view.announced.back(), "(负2)乘3等于负6");
}

// F7 switches every reading of a number between digits and amounts, and the choice outlives
// the run through readstyle.inf, written with the options on exit only.
TEST_F(ProgramTest, TheReadingStyleSwitchesEveryReadingAndIsKept) {
    const fs::path styleFile = folder / "readstyle.inf";
    start();
    program->shortcut(Shortcut::ReadingStyle);
    readToTheEnd();
    EXPECT_EQ(heard(player), (std::vector<int>{119})) << "the sample 10 as 十";
    EXPECT_EQ(view.announced.back(), "按单位读");
    EXPECT_FALSE(program->calculator().state().speaking);
    press({Key::One, Key::Two, Key::Three, Key::Four, Key::Five});
    player.played.clear();
    program->readAgain();
    readToTheEnd();
    EXPECT_EQ(heard(player), (std::vector<int>{101, 122, 102, 121, 103, 120, 104, 119, 105}));
    program->systemClose();
    EXPECT_FALSE(fs::exists(styleFile));
    program->exitClicked();
    EXPECT_EQ(readFile(styleFile), "2\r\n");
    EXPECT_EQ(readFile(settingsFile()), "3555,2940,#FALSE#,1,2,1\r\n") << "sty.inf as before";

    start();
    EXPECT_EQ(program->readingStyle(), engine::ReadingStyle::PlaceUnits);
    program->shortcut(Shortcut::ReadingStyle);
    readToTheEnd();
    EXPECT_EQ(heard(player), (std::vector<int>{101, 100}));
    EXPECT_EQ(view.announced.back(), "逐位读");
    for (const char* broken : {"3\r\n", "2 \r\n", "", "22\r\n"}) {
        writeFile(styleFile, broken);
        start();
        EXPECT_EQ(program->readingStyle(), engine::ReadingStyle::Digits) << broken;
    }
    fs::remove(styleFile);
    fs::create_directory(styleFile);
    start();
    const WriteOutcome saved = program->saveSettings();
    EXPECT_EQ(saved.path, styleFile.string()) << "a folder in the file's place";
}
