// Kills the command-line tool at random moments while it rewrites a long history and
// checks that the database always survives whole: intact, and holding either the history
// before the command or the history after it, never anything in between.
#include "io/history_text.h"
#include "store/history_db.h"
#include "support/history_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <chrono>
#include <csignal>
#include <random>
#include <thread>

namespace drawfollow {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kHistoryLength = 3000;
constexpr int kKillsPerCommand = 30;

bool nonEmptyFile(const fs::path& file) {
    std::error_code ec;
    return fs::exists(file, ec) && fs::file_size(file, ec) > 0;
}

struct Outcomes {
    int kills = 0;
    int finishedFirst = 0;   // the command had already ended when the signal came
    int midTransaction = 0;  // a journal was left behind: a write was under way
    int before = 0;
    int after = 0;
};

class CrashSafety : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root_ = new test::TempDir;
        HistoryDb db(pristine());
        db.replaceAll(test::seededDraws(kHistoryLength, 31, 2007001, 153), test::settingsFor(2026));
        writeHistoryFile(importFile(), test::seededDraws(kHistoryLength, 32, 2006001, 153));
    }
    static void TearDownTestSuite() {
        delete root_;
        root_ = nullptr;
    }

    static fs::path pristine() { return root_->path() / HistoryDb::kFileName; }
    static fs::path importFile() { return root_->path() / "import.txt"; }

    // A data folder holding a copy of the long history.
    fs::path freshFolder(const std::string& name) {
        fs::path folder = root_->path() / name;
        fs::create_directories(folder);
        fs::copy_file(pristine(), folder / HistoryDb::kFileName, fs::copy_options::overwrite_existing);
        return folder;
    }

    static std::vector<DrawRow> rowsIn(const fs::path& folder) {
        HistoryDb db(folder / HistoryDb::kFileName);
        return test::everyRow(db);
    }

    // Runs the command to its end once: what "after" looks like, and how long it takes.
    Clock::duration runToTheEnd(const std::vector<std::string>& arguments, std::vector<DrawRow>& after) {
        const fs::path folder = freshFolder("reference");
        const auto start = Clock::now();
        const int exitCode = test::waitCli(test::startCli(folder, arguments));
        const auto took = Clock::now() - start;
        EXPECT_EQ(exitCode, 0) << "the command failed on its own";
        after = rowsIn(folder);
        fs::remove_all(folder);
        return took;
    }

    Outcomes killRepeatedly(const std::vector<std::string>& arguments) {
        const auto before = rowsIn(root_->path());
        std::vector<DrawRow> after;
        const auto took = runToTheEnd(arguments, after);
        EXPECT_NE(before, after) << "the command must change the history for the test to mean anything";

        std::mt19937 random(20260101);
        // A little past the end too, so that a kill after the last write is tried as well.
        std::uniform_int_distribution<long long> moment(0, (took * 11 / 10).count());
        Outcomes outcomes;
        for (int i = 0; i < kKillsPerCommand; ++i) {
            const fs::path folder = freshFolder("run");
            const pid_t pid = test::startCli(folder, arguments);
            std::this_thread::sleep_for(Clock::duration(moment(random)));
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                ++outcomes.finishedFirst;
            } else {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
            }
            ++outcomes.kills;
            const fs::path dbFile = folder / HistoryDb::kFileName;
            if (nonEmptyFile(dbFile.string() + "-journal") || nonEmptyFile(dbFile.string() + "-wal"))
                ++outcomes.midTransaction;

            HistoryDb db(dbFile);  // opening rolls back what the killed process left half done
            EXPECT_EQ(db.connection().execAndGet("PRAGMA integrity_check").getString(), "ok") << "kill " << i;
            const auto rows = test::everyRow(db);
            if (rows == before)
                ++outcomes.before;
            else if (rows == after)
                ++outcomes.after;
            else
                ADD_FAILURE() << "kill " << i << " left " << rows.size() << " rows that are neither history";
            fs::remove_all(folder);
        }
        std::cout << "  " << arguments[0] << ": " << outcomes.kills << " kills, " << outcomes.midTransaction
                  << " during a write, " << outcomes.finishedFirst << " after the end; history before "
                  << outcomes.before << ", after " << outcomes.after << "\n";
        RecordProperty(arguments[0] + "_kills", outcomes.kills);
        RecordProperty(arguments[0] + "_mid_transaction", outcomes.midTransaction);
        return outcomes;
    }

    static test::TempDir* root_;
};

test::TempDir* CrashSafety::root_ = nullptr;

TEST_F(CrashSafety, KilledCommandsLeaveTheHistoryBeforeOrAfterNeverBetween) {
    Outcomes total;
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"import", importFile().string()}, {"trim-to", "2025146"}, {"delete-newest", "150"}}) {
        const Outcomes o = killRepeatedly(arguments);
        total.kills += o.kills;
        total.midTransaction += o.midTransaction;
        total.before += o.before;
        total.after += o.after;
    }
    std::cout << "  in all: " << total.kills << " kills, " << total.midTransaction << " during a write\n";
    EXPECT_GE(total.kills, 50);
    EXPECT_EQ(total.before + total.after, total.kills);
}

}  // namespace
}  // namespace drawfollow
