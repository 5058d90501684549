// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "RecordingEvents.h"
#include "engine/Calculator.h"

using namespace engine;

namespace {

struct Row {
    const char* keys;
    const char* display;
    std::vector<std::string> records;
};

class CalculatorTest : public ::testing::Test {
  protected:
    RecordingEvents events;
    Calculator calc{events};

    void run(const std::string& keys) { typeKeys(calc, keys); }
    const std::string& display() const { return calc.state().displayText; }
};

} // namespace

TEST_F(CalculatorTest, CalculationsGiveTheDisplayAndRecordLines) {
    const Row rows[] = {
        {"12+3.5=", "15.5", {"12+3.5=15.5"}},
        {"2n*3=", "-6", {"(-2)*3=-6"}},
        {"1/3=", "0.3333", {"1/3=0.3333"}}, // display keeps 4 decimals below
        {"1.23456n+1=", "-0.2345", {"(-1.2345)+1=-0.2345"}},
        {"+5=", "5", {"+5=5"}},
        {"0/5=", "0", {"/5=0"}},
        {"6+2*", "8", {"6+2=8"}},
        {"6+2*3=", "24", {"6+2=8", "8*3=24"}},
        {"5+-3=", "8", {"5+3=8"}},
        {"2+3=+4=", "9", {"2+3=5", "5+4=9"}},
        {"1/8=", "0.125", {"1/8=0.125"}},
        {"1n/8=", "-0.125", {"(-1)/8=-0.125"}},
        {"2/3=", "0.6666", {"2/3=0.6666"}},
        {".1+.2=", "0.3", {"0.1+0.2=0.3"}},
        {"5-5=", "0", {"5-5=0"}},
        {".0001/10=", "0.0000", {"0.0001/10=0.0000"}},
        {"50*2=", "100", {"50*2=100"}},
    };
    for (const Row& row : rows) {
        events.clear();
        calc.setKeepDecimals(4);
        run(std::string("c") + row.keys);
        EXPECT_EQ(display(), row.display) << row.keys;
        EXPECT_EQ(events.records, row.records) << row.keys;
    }
}

TEST_F(CalculatorTest, ResultTextIsTheFullNormalisedNumber) {
    const std::pair<const char*, const char*> rows[] = {
        {"2/3=", "0.666666666666667"},
        {".0001/10=", "0.00001"},
        {".0000000001*.0000000001=", "0.00000000000000000001"},
        {"999999999999/.001=", "999999999999000"},
        {"999999999999/.0001=", "9.99999999999E+15"},
        {"123456789012/.01=", "12345678901200"},
    };
    for (const auto& [keys, result] : rows) {
        run(std::string("c") + keys);
        EXPECT_EQ(calc.state().resultText, result) << keys;
    }
}

TEST_F(CalculatorTest, EqualsWithoutAUsableSecondOperandDoesNothing) {
    for (const char* keys : {"5+=", "5+0=", "5*0=", "5/.="}) {
        events.clear();
        run(std::string("c") + keys);
        EXPECT_TRUE(events.records.empty()) << keys;
        EXPECT_TRUE(events.notices.empty()) << keys;
        EXPECT_FALSE(calc.state().resultShown) << keys;
    }
}

TEST_F(CalculatorTest, ChainedDivisionByZeroIsRefusedAndKeepsEverything) {
    run("5/.");
    events.clear();
    calc.press(Key::Add);
    EXPECT_EQ(events.notices, std::vector<std::string>{kZeroDivisorNotice});
    EXPECT_EQ(calc.state().operand1, "5");
    EXPECT_EQ(calc.state().operand2, "0.");
    EXPECT_EQ(calc.state().pendingOp, 4);
    EXPECT_TRUE(events.clips.empty());
    EXPECT_EQ(display(), "0.");

    // "0" on an empty second operand is never stored, so there is nothing to refuse.
    events.clear();
    run("c5/0+");
    EXPECT_TRUE(events.notices.empty());
}

TEST_F(CalculatorTest, OverflowEstimateRefusesLargeProducts) {
    EXPECT_EQ(Calculator::yicu("999999", "999999"), 12);
    EXPECT_EQ(Calculator::yicu("99999", "999999"), 11);
    EXPECT_EQ(Calculator::yicu("123.5", "99999999"), 12);
    EXPECT_EQ(Calculator::yicu("0.5", "999999999999"), 11);
    EXPECT_EQ(Calculator::yicu("-12.5", "9"), 4);
    EXPECT_EQ(Calculator::yicu("0", "999999999999"), 0);

    run("999999*999999=");
    EXPECT_EQ(events.notices, std::vector<std::string>{kOverflowNotice});
    EXPECT_TRUE(calc.state().operatorSet);
    EXPECT_EQ(calc.state().operand2, "999999");
    EXPECT_EQ(calc.state().pendingOp, 3);

    events.clear();
    run("c99999*999999=");
    EXPECT_TRUE(events.notices.empty());
    EXPECT_EQ(display(), "99998900001");
}

TEST_F(CalculatorTest, ResultsBeyondTheDoubleRangeAreRefusedNotShownAsInf) {
    calc.setKeepDecimals(0);
    // 1E+15 style results pass the estimate; repeated squaring leaves the double range.
    run("c999999999999/.0001=");
    for (int i = 0; i < 40 && events.notices.empty(); ++i) {
        run("*99999999=");
    }
    ASSERT_EQ(events.notices.size(), 1u);
    EXPECT_EQ(events.notices[0], kOverflowNotice);
    for (const std::string& line : events.records) {
        EXPECT_EQ(line.find("inf"), std::string::npos) << line;
    }
    EXPECT_EQ(display().find("inf"), std::string::npos);
}

TEST_F(CalculatorTest, EntryRules) {
    const std::pair<const char*, const char*> rows[] = {
        {"005", "5"},
        {".", "0."},
        {"1..2", "1.2"},
        {"1234567890123", "123456789012"},
        {"5n", "-5"},
        {"5nn", "5"},
        {"5nb", "0"},
        {"12b", "1"},
        {"b", "0"},
        {"12345678901n", "-12345678901"},
        {"123456789012n", "123456789012"},
    };
    for (const auto& [keys, shown] : rows) {
        run(std::string("c") + keys);
        EXPECT_EQ(display(), shown) << keys;
        EXPECT_LE(calc.state().operand1.size(), kMaxEntryLength);
    }
}

TEST_F(CalculatorTest, KeysPlayTheirClipsOnlyWithVoiceOn) {
    run("c");
    events.clear();
    run("0057.n+");
    EXPECT_EQ(events.clips, (std::vector<int>{100, 100, 105, 107, 110, 118, 112}));

    events.clear();
    run("c5nn");
    EXPECT_EQ(events.clips, (std::vector<int>{111, 105, 118}));

    events.clear();
    calc.setVoiceOn(false);
    run("c12+3=b");
    EXPECT_TRUE(events.clips.empty());
    EXPECT_TRUE(events.readings.empty());
    EXPECT_FALSE(calc.state().speaking);
}

TEST_F(CalculatorTest, BackspaceRules) {
    run("5+");
    events.clear();
    run("b");
    EXPECT_TRUE(events.clips.empty()) << "nothing typed after the operator";
    run("c");
    events.clear();
    run("b");
    EXPECT_EQ(events.clips, std::vector<int>{117});
    EXPECT_EQ(display(), "0");
    run("c2+3=");
    events.clear();
    run("b");
    EXPECT_TRUE(events.clips.empty()) << "a shown result is not edited";
}

TEST_F(CalculatorTest, ZeroAfterAResultKeepsTheResultAsFirstOperand) {
    run("2+3=0+4=");
    EXPECT_EQ(display(), "9");
}

TEST_F(CalculatorTest, EqualsStartsTheReadingAndLocksTheKeys) {
    calc.press(Key::One);
    calc.press(Key::Two);
    calc.press(Key::Add);
    calc.press(Key::Three);
    events.clear();
    calc.press(Key::Equals);
    EXPECT_EQ(events.clips, std::vector<int>{116});
    EXPECT_EQ(events.readings, std::vector<std::string>{"15"});
    EXPECT_TRUE(calc.state().speaking);

    events.clear();
    for (Key key :
         {Key::Five, Key::Sign, Key::Clear, Key::Backspace, Key::Options, Key::Add, Key::Point}) {
        calc.press(key);
    }
    calc.typeCharacter('=');
    EXPECT_TRUE(events.clips.empty());
    EXPECT_TRUE(events.displays.empty());
    EXPECT_EQ(events.menuPopups, 0);
    EXPECT_EQ(display(), "15");

    calc.finishSpeaking();
    calc.press(Key::Options);
    EXPECT_EQ(events.menuPopups, 1);
}

TEST_F(CalculatorTest, KeyboardMapsCharactersAndCanBeSwitchedOff) {
    for (int code : {int('x'), int('X'), int('c'), int('C'), 127, 27, 0, 200, -5}) {
        calc.typeCharacter(code);
    }
    EXPECT_EQ(display(), "0");
    EXPECT_TRUE(events.clips.empty());

    calc.setKeyboardOn(false);
    calc.typeCharacter('5');
    EXPECT_EQ(display(), "0");
    calc.setKeyboardOn(true);
    calc.typeCharacter('5');
    EXPECT_EQ(display(), "5");

    // "-" is always subtract; "\" toggles the sign; Enter and Space are equals and clear.
    run("-3\\\r");
    EXPECT_EQ(display(), "8");
    calc.typeCharacter(' ');
    EXPECT_EQ(display(), "0");
    run("2+3==");
    EXPECT_EQ(display(), "5");
}

TEST_F(CalculatorTest, ResetPutsBackTheInitialState) {
    run("12+3");
    calc.setNoTitleHover(false);
    calc.resetCalculator();
    const CalculatorState& s = calc.state();
    EXPECT_TRUE(s.operand1.empty());
    EXPECT_TRUE(s.operand2.empty());
    EXPECT_EQ(s.pendingOp, 0);
    EXPECT_FALSE(s.operatorSet);
    EXPECT_TRUE(s.noTitleHover);
    EXPECT_EQ(s.displayText, "0");
    EXPECT_EQ(events.displays.back(), (DisplayLayout{"0", 3159, 170}));
}
