// What every subcommand of drawfollow-cli shares: the data folder, the database and
// the attribute settings given on the command line.
#pragma once

#include "store/clock.h"
#include "store/history_db.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace drawfollow::cli {

// The attribute settings as given on the command line; what is not given comes from the
// settings recorded in the history database.
struct AttributeOptions {
    std::optional<int> zodiacOffset;
    std::optional<int> segmentOffset;
    std::optional<std::string> zodiacMode;
    std::optional<int> codeTableYear;
};

class CliContext {
public:
    std::optional<std::filesystem::path> dataDirOption;

    std::filesystem::path dataFolder();
    // The history; a damaged file is refused with the way back (io/history_opening.h).
    HistoryDb& db();
    // Opens the history for restoring `copy`, moving a damaged file aside first; where it
    // went, if it was.
    std::optional<std::filesystem::path> openForRestore(const std::filesystem::path& copy);
    const Clock& clock() const { return clock_; }

    // The settings the stored rows were derived with, which new rows must share and stored
    // codes are named by: those recorded, where the options give nothing else. Options
    // that would derive other values than the stored ones are refused, pointing at
    // `rederive`: no command but that one and `import` changes how the rows are derived.
    // Without a record (an older file) the options apply, by default offsets 1, age mode
    // and the code table of the next issue's zodiac year, with a warning on stderr.
    DerivationSettings derivation(const AttributeOptions& options);

    // The settings for deriving every row afresh (import, rederive): the options, else the
    // recorded offsets and mode, with the code table of the zodiac year of `nextIssue`
    // unless a year is given.
    DerivationSettings freshDerivation(const AttributeOptions& options, int nextIssue);

private:
    SystemClock clock_;
    std::optional<std::filesystem::path> folder_;
    std::unique_ptr<HistoryDb> db_;
};

// --zodiac-offset, --segment-offset, --zodiac-mode, --code-table-year
void addAttributeOptions(CLI::App* command, AttributeOptions& options);

// Every subcommand group registers itself here.
void addHistoryCommands(CLI::App& app, CliContext& context);
void addMaintenanceCommands(CLI::App& app, CliContext& context);
void addBackupCommands(CLI::App& app, CliContext& context);
void addSearchCommands(CLI::App& app, CliContext& context);
void addBacktestCommand(CLI::App& app, CliContext& context);
void addPicksCommand(CLI::App& app, CliContext& context);
void addTrendCommands(CLI::App& app, CliContext& context);
void addShapeCommand(CLI::App& app, CliContext& context);
void addRederiveCommand(CLI::App& app, CliContext& context);

}  // namespace drawfollow::cli
