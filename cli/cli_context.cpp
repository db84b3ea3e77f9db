#include "cli/cli_context.h"

#include "cli/argument_checks.h"
#include "store/data_folder.h"

namespace drawfollow::cli {

std::filesystem::path CliContext::dataFolder() {
    if (!folder_)
        folder_ = resolveDataFolder(dataDirOption);
    return *folder_;
}

HistoryDb& CliContext::db() {
    if (!db_)
        db_ = std::make_unique<HistoryDb>(dataFolder() / HistoryDb::kFileName);
    return *db_;
}

ZodiacCodeTable CliContext::codeTable(const AttributeOptions& options) {
    const int year = options.codeTableYear ? *options.codeTableYear : startupCodeTableYear(nextIssue(db(), clock_));
    return ZodiacCodeTable::build(options.zodiacMode == "sequential", options.zodiacOffset, year);
}

DerivationSettings CliContext::derivation(const AttributeOptions& options) {
    return DerivationSettings{options.segmentOffset, codeTable(options)};
}

void addAttributeOptions(CLI::App* command, AttributeOptions& options) {
    command->add_option("--zodiac-offset", options.zodiacOffset, "zodiac codes 0..11 (0) or 1..12 (1)")
        ->transform(decimal(0, 1))
        ->capture_default_str();
    command->add_option("--segment-offset", options.segmentOffset, "segments 0..9 (0) or 1..10 (1)")
        ->transform(decimal(0, 1))
        ->capture_default_str();
    command->add_option("--zodiac-mode", options.zodiacMode, "zodiac codes by age or in sequence")
        ->check(oneOf({"age", "sequential"}))
        ->capture_default_str();
    command->add_option("--code-table-year", options.codeTableYear,
                        "zodiac year the code table is built for (default: that of the next issue)")
        ->transform(decimal(1900, 2200));
}

}  // namespace drawfollow::cli
