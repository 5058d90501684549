// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "../record/TestFiles.h"
#include "../voice/VoiceFakes.h"
#include "FakeView.h"
#include "settings/Program.h"

using namespace settings;
using testfiles::readFile;
namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
#define SOAK_UNDER_ASAN 1
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

// Memory the program holds. Under the address sanitizer resident memory mostly measures
// the sanitizer's own pools and shadow, so the heap it reports in use stands in for it.
long residentKilobytes() {
#ifdef SOAK_UNDER_ASAN
    return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
#endif
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

class SoakTest : public ::testing::Test {
  protected:
    fs::path folder;
    voicetest::ManualClock clock;
    voicetest::RecordingPlayer player{clock};
    voicetest::ManualTimer timer{clock};
    FakeView view;
    std::unique_ptr<Program> program;

    void SetUp() override {
        char pattern[] = "/tmp/soak-test-XXXXXX";
        folder = mkdtemp(pattern);
        program = std::make_unique<Program>(view, player, timer, folder.string(),
                                            [] { return std::string("/clips"); });
        program->startUp();
        program->recordTabClicked();
    }
    void TearDown() override { fs::remove_all(folder); }

    void finishReading() {
        timer.runUntilStopped([this] { program->timerTick(); });
    }
};

} // namespace

TEST_F(SoakTest, AHundredThousandKeysNeitherGrowMemoryNorLoseRecords) {
    const std::string typed = "0123456789.+-*/=\r\b \\";
    std::mt19937 random(42);
    long afterWarmUp = 0;
    std::size_t linesSeen = 0;
    for (int i = 0; i < 100000; ++i) {
        const auto pick = random() % (typed.size() + 4);
        if (pick < typed.size()) {
            program->characterTyped(static_cast<unsigned char>(typed[pick]));
        } else {
            program->keyClicked(engine::keyTable()[random() % engine::kKeyCount].key);
        }
        // The fakes remember everything; forget it so only the program's memory counts.
        if (player.played.size() > 64) {
            player.played.clear();
            view.calls.clear();
            view.messages.clear();
        }
        finishReading();

        const record::RecordList& list = program->records();
        ASSERT_EQ(list.lines().size(), static_cast<std::size_t>(list.recordCount() - 1))
            << "key " << i;
        ASSERT_GE(list.lines().size(), linesSeen) << "a line went missing at key " << i;
        linesSeen = list.lines().size();
        if (list.full() || list.lines().size() == record::kMaxRecordLines) {
            program->saveClicked();
            ASSERT_EQ(readFile(list.savePath()), joinLines(list.lines()));
            program->clearRecordsClicked();
            linesSeen = 0;
        }
        if (i == 999) {
            afterWarmUp = residentKilobytes();
        }
    }
    const long afterSoak = residentKilobytes();
    EXPECT_LE(afterSoak - afterWarmUp, 1024)
        << "resident memory grew by " << (afterSoak - afterWarmUp) << " kB";
}

TEST_F(SoakTest, SavingAcrossMoreThanAHundredFileNumbers) {
    for (int n = 1; n <= 105; ++n) {
        for (char c : std::to_string(n) + "+1=") {
            program->characterTyped(c);
        }
        finishReading();
        program->saveClicked();
        const fs::path expected = folder / "save" / (std::to_string(n) + ".txt");
        ASSERT_EQ(view.messages.back().second, "记录已保存到" + expected.string());
        ASSERT_EQ(readFile(expected), std::to_string(n) + "+1=" + std::to_string(n + 1) + "\r\n");
        program->clearRecordsClicked();
    }
    EXPECT_FALSE(fs::exists(folder / "save" / ".txt"));
}
