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

struct AttributeOptions {
    int zodiacOffset = 1;
    int segmentOffset = 1;
    std::string zodiacMode = "age";
    std::optional<int> codeTableYear;
};

class CliContext {
public:
    std::optional<std::filesystem::path> dataDirOption;

    std::filesystem::path dataFolder();
    HistoryDb& db();
    const Clock& clock() const { return clock_; }

    // The settings rows are derived with; the code table year defaults to what the
    // window computes at start-up from the next issue.
    DerivationSettings derivation(const AttributeOptions& options);
    ZodiacCodeTable codeTable(const AttributeOptions& options);

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
void addUpdateCommand(CLI::App& app, CliContext& context);
void addSearchCommands(CLI::App& app, CliContext& context);

}  // namespace drawfollow::cli
