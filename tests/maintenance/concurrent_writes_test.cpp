// Two programs changing one history at once: drawfollow-cli started twice, an add racing a
// trim, at random moments. Whatever the timing, the history ends as one serial order of the
// two commands leaves it, every command that reported success has its effect there, and the
// newest safety copy holds the history the deleting command found.
#include "io/history_import.h"
#include "io/safety_copy.h"
#include "support/history_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <chrono>
#include <functional>
#include <random>
#include <thread>

namespace drawfollow {
namespace {

namespace fs = std::filesystem;
using Draws = std::vector<DrawInput>;

// Long enough that a trim's reading and rebuilding take a good part of a second.
constexpr int kHistoryLength = 3000;
constexpr int kRacesPerPair = 8;

// A command as the history sees it: its arguments and what it does when it runs alone.
struct Command {
    std::vector<std::string> arguments;
    std::function<Draws(Draws)> apply;
    bool deletes = false;
};

Command addDraw(const DrawInput& d) {
    std::vector<std::string> args{"add", std::to_string(d.issue)};
    for (int n : d.numbers)
        args.push_back(std::to_string(n));
    return {args, [d](Draws h) {
                h.push_back(d);
                return h;
            }};
}

Command deleteNewest(size_t count) {
    return {{"delete-newest", std::to_string(count)},
            [count](Draws h) {
                h.resize(h.size() - std::min(count, h.size()));
                return h;
            },
            true};
}

Command trimTo(int lastKept) {
    return {{"trim-to", std::to_string(lastKept)},
            [lastKept](Draws h) {
                std::erase_if(h, [lastKept](const DrawInput& d) { return d.issue > lastKept; });
                return h;
            },
            true};
}

struct Race {
    bool overlapped = false;  // the first command was still running when the second started
    int exitFirst = -1;
    int exitSecond = -1;
};

class ConcurrentWrites : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root_ = new test::TempDir;
        history_ = new Draws(test::seededDraws(kHistoryLength, 41, 2005001, 150));
        HistoryDb db(root_->path() / HistoryDb::kFileName);
        db.appendBatch(*history_, test::settingsFor(2026));
    }
    static void TearDownTestSuite() {
        delete root_;
        delete history_;
    }

    static fs::path freshFolder() {
        const fs::path folder = root_->path() / "race";
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::copy_file(root_->path() / HistoryDb::kFileName, folder / HistoryDb::kFileName);
        return folder;
    }

    // Starts `first`, then `second` after `delay`, and waits for both.
    static Race race(const fs::path& folder, const Command& first, const Command& second,
                     std::chrono::microseconds delay) {
        Race r;
        const pid_t a = test::startCli(folder, first.arguments, folder / "first.out");
        std::this_thread::sleep_for(delay);
        int status = 0;
        r.overlapped = waitpid(a, &status, WNOHANG) == 0;
        const pid_t b = test::startCli(folder, second.arguments, folder / "second.out");
        r.exitFirst = r.overlapped ? test::waitCli(a) : (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        r.exitSecond = test::waitCli(b);
        return r;
    }

    // Runs the two commands against each other at random moments, either one first.
    void raceRepeatedly(const Command& add, const Command& trim) {
        std::mt19937 random(20260517);
        std::uniform_int_distribution<int> delayMicros(0, 150000);
        int overlapped = 0;
        for (int i = 0; i < kRacesPerPair; ++i) {
            SCOPED_TRACE("race " + std::to_string(i) + " of " + trim.arguments[0]);
            const bool trimFirst = i % 4 != 3;
            const Command& first = trimFirst ? trim : add;
            const Command& second = trimFirst ? add : trim;
            const fs::path folder = freshFolder();
            const Race r =
                race(folder, first, second, std::chrono::microseconds(delayMicros(random) / (trimFirst ? 1 : 10)));
            overlapped += r.overlapped ? 1 : 0;
            EXPECT_EQ(r.exitFirst, 0) << test::readFile(folder / "first.out");
            EXPECT_EQ(r.exitSecond, 0) << test::readFile(folder / "second.out");
            expectSerialOutcome(folder, add, trim);
        }
        std::cout << "  " << trim.arguments[0] << ": " << overlapped << " of " << kRacesPerPair
                  << " races ran both commands at once\n";
        EXPECT_GT(overlapped, 0) << "the commands never ran at the same time: the test raced nothing";
    }

    // Both commands succeeded: the history is what one of the two serial orders leaves, and
    // the trim's safety copy holds what the trim found in that order.
    static void expectSerialOutcome(const fs::path& folder, const Command& add, const Command& trim) {
        HistoryDb db(folder / HistoryDb::kFileName);
        const Draws stored = storedDraws(db);
        const Draws addFirst = trim.apply(add.apply(*history_));
        const Draws trimFirst = add.apply(trim.apply(*history_));
        const auto copies = safetyCopies(folder);
        ASSERT_EQ(copies.size(), 1u);
        const Draws saved = readHistoryFile(copies.front()).draws;
        if (stored == addFirst) {
            EXPECT_EQ(saved, add.apply(*history_)) << "the copy must hold the added draw the trim deleted";
        } else if (stored == trimFirst) {
            EXPECT_EQ(saved, *history_);
            const auto rows = db.history();
            EXPECT_EQ(rows.back().previous, rows[rows.size() - 2].own) << "the added row follows the trimmed history";
        } else {
            ADD_FAILURE() << "the history (" << stored.size() << " draws, newest " << stored.back().issue
                          << ") is no serial order of the two commands";
        }
    }

    static test::TempDir* root_;
    static Draws* history_;
};

test::TempDir* ConcurrentWrites::root_ = nullptr;
Draws* ConcurrentWrites::history_ = nullptr;

const DrawInput kAdded = test::draw(2025001, {5, 14, 17, 24, 26, 28, 29, 16});

TEST_F(ConcurrentWrites, AnAddRacingDeleteNewestIsNeverLost) {
    raceRepeatedly(addDraw(kAdded), deleteNewest(1));
}

TEST_F(ConcurrentWrites, AnAddRacingTrimToIsNeverLost) {
    raceRepeatedly(addDraw(kAdded), trimTo(history_->back().issue - 10));
}

TEST_F(ConcurrentWrites, ACommandWaitsForAnotherProgramsChangeToEnd) {
    const fs::path folder = freshFolder();
    SQLite::Database other((folder / HistoryDb::kFileName).string(), SQLite::OPEN_READWRITE);
    other.exec("BEGIN IMMEDIATE");
    const pid_t add = test::startCli(folder, addDraw(kAdded).arguments, folder / "add.out");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    int status = 0;
    EXPECT_EQ(waitpid(add, &status, WNOHANG), 0) << "the add ended while the other program held the lock";
    other.exec("COMMIT");
    EXPECT_EQ(test::waitCli(add), 0) << test::readFile(folder / "add.out");
    HistoryDb db(folder / HistoryDb::kFileName);
    EXPECT_EQ(storedDraws(db).back(), kAdded);
}

}  // namespace
}  // namespace drawfollow
