// Two programs changing one history at once: drawfollow-cli started twice, an add racing a
// trim, at random moments. Whatever the timing, the history ends as one serial order of the
// two commands leaves it, and the trim's safety copy holds the history the trim found.
#include "io/history_text.h"
#include "io/safety_copy.h"
#include "support/history_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <chrono>
#include <random>
#include <thread>

namespace drawfollow {
namespace {

namespace fs = std::filesystem;
using Draws = std::vector<DrawInput>;
using namespace std::chrono_literals;

// Long enough that a trim's reading and rebuilding take a good part of a second.
const Draws kHistory = test::seededDraws(3000, 41, 2005001, 150);
const DrawInput kAdded = test::draw(2025001, {5, 14, 17, 24, 26, 28, 29, 16});
const std::vector<std::string> kAdd{"add", "2025001", "5", "14", "17", "24", "26", "28", "29", "16"};

Draws with(Draws draws, const DrawInput& d) {
    draws.push_back(d);
    return draws;
}

class ConcurrentWrites : public ::testing::Test {
protected:
    void SetUp() override {
        HistoryDb db(root / HistoryDb::kFileName);
        db.appendBatch(kHistory, test::settingsFor(2026));
    }

    fs::path freshFolder() {
        fs::path folder = root / "race";
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::copy_file(root / HistoryDb::kFileName, folder / HistoryDb::kFileName);
        return folder;
    }

    // Races `trim` against the add: mostly the trim first and the add at a random moment
    // while it runs, sometimes the other way round. `trimmed` is what the trim alone leaves,
    // `addThenTrim` what the two leave in that order.
    void raceRepeatedly(const std::vector<std::string>& trim, const Draws& trimmed, const Draws& addThenTrim) {
        std::mt19937 random(20260517);
        std::uniform_int_distribution<int> delayMicros(0, 150000);
        int overlapped = 0;
        for (int i = 0; i < 8; ++i) {
            SCOPED_TRACE("race " + std::to_string(i) + " of " + trim[0]);
            const bool trimFirst = i % 4 != 3;
            const fs::path folder = freshFolder();
            const pid_t first = test::startCli(folder, trimFirst ? trim : kAdd, folder / "first.out");
            std::this_thread::sleep_for(std::chrono::microseconds(delayMicros(random) / (trimFirst ? 1 : 10)));
            int status = 0;
            overlapped += waitpid(first, &status, WNOHANG) == 0 ? 1 : 0;
            const pid_t second = test::startCli(folder, trimFirst ? kAdd : trim, folder / "second.out");
            EXPECT_EQ(test::waitCli(second), 0) << test::readFile(folder / "second.out");
            waitpid(first, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << test::readFile(folder / "first.out");

            HistoryDb db(folder / HistoryDb::kFileName);
            const Draws stored = db.draws();
            const auto copies = safetyCopies(folder);
            ASSERT_EQ(copies.size(), 1u);
            const Draws saved = readHistoryFile(copies.front()).draws;
            if (stored == addThenTrim) {
                EXPECT_EQ(saved, with(kHistory, kAdded)) << "the copy must hold the added draw the trim deleted";
            } else if (stored == with(trimmed, kAdded)) {
                EXPECT_EQ(saved, kHistory);
                const auto rows = test::everyRow(db);
                EXPECT_EQ(rows.back().previous, rows[rows.size() - 2].own) << "the add read the trimmed history";
            } else {
                ADD_FAILURE() << "the history (" << stored.size() << " draws) is no serial order of the two commands";
            }
        }
        std::cout << "  " << trim[0] << ": " << overlapped << " of 8 races ran both commands at once\n";
        EXPECT_GT(overlapped, 0) << "the commands never ran at the same time: the test raced nothing";
    }

    test::TempDir root;
};

TEST_F(ConcurrentWrites, AnAddRacingDeleteNewestIsNeverLost) {
    raceRepeatedly({"delete-newest", "1"}, Draws(kHistory.begin(), kHistory.end() - 1), kHistory);
}

TEST_F(ConcurrentWrites, AnAddRacingTrimToIsNeverLost) {
    const Draws kept(kHistory.begin(), kHistory.end() - 10);
    raceRepeatedly({"trim-to", std::to_string(kept.back().issue)}, kept, kept);
}

TEST_F(ConcurrentWrites, ACommandWaitsForAnotherProgramsChangeToEnd) {
    const fs::path folder = freshFolder();
    SQLite::Database other((folder / HistoryDb::kFileName).string(), SQLite::OPEN_READWRITE);
    other.exec("BEGIN IMMEDIATE");
    const pid_t add = test::startCli(folder, kAdd, folder / "add.out");
    std::this_thread::sleep_for(300ms);
    int status = 0;
    EXPECT_EQ(waitpid(add, &status, WNOHANG), 0) << "the add ended while the other program held the lock";
    other.exec("COMMIT");
    EXPECT_EQ(test::waitCli(add), 0) << test::readFile(folder / "add.out");
    HistoryDb db(folder / HistoryDb::kFileName);
    EXPECT_EQ(db.draws().back(), kAdded);
}

}  // namespace
}  // namespace drawfollow
