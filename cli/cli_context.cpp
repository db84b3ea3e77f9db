#include "cli/cli_context.h"

#include "cli/argument_checks.h"
#include "io/history_opening.h"
#include "io/leftover_parts.h"
#include "store/data_folder.h"
#include "store/derivation_record.h"

#include <iostream>

namespace drawfollow::cli {

namespace {

DerivationSettings withOptions(const AttributeOptions& o, const std::optional<DerivationSettings>& base,
                               int defaultYear) {
    const int zodiacOffset = o.zodiacOffset.value_or(base ? base->codes.offset() : 1);
    const int segmentOffset = o.segmentOffset.value_or(base ? base->segmentOffset : 1);
    const bool sequential = o.zodiacMode ? *o.zodiacMode == "sequential" : base && base->codes.sequential();
    return DerivationSettings{segmentOffset,
                              ZodiacCodeTable::build(sequential, zodiacOffset, o.codeTableYear.value_or(defaultYear))};
}

}  // namespace

std::filesystem::path CliContext::dataFolder() {
    if (!folder_)
        folder_ = resolveDataFolder(dataDirOption);
    return *folder_;
}

HistoryDb& CliContext::db() {
    if (!db_) {
        db_ = openHistory(dataFolder() / HistoryDb::kFileName);
        removeLeftoverParts(dataFolder());
    }
    return *db_;
}

std::optional<std::filesystem::path> CliContext::openForRestore(const std::filesystem::path& copy) {
    RestoreTarget target = drawfollow::openForRestore(dataFolder() / HistoryDb::kFileName, copy);
    db_ = std::move(target.db);
    return target.setAside;
}

DerivationSettings CliContext::derivation(const AttributeOptions& options) {
    const auto recorded = db().recordedDerivation();
    if (!recorded) {
        if (db().drawCount() > 0)
            std::cerr << "注意：历史数据库没有记录生肖和段数所用的参数（较早版本的文件），生肖名称可能不准；"
                         "运行 drawfollow-cli rederive 可按所给参数重算全部历史号码并记录下来。\n";
        return withOptions(options, std::nullopt, startupCodeTableYear(nextIssue(db(), clock_)));
    }
    const DerivationSettings settings = withOptions(options, recorded, recorded->codes.tableYear());
    if (!derivesSameRows(settings, *recorded) && db().drawCount() > 0)
        throw StoreError("已存的历史号码的生肖和段数是按“" + describeDerivation(*recorded) + "”计算的，与所给的“" +
                         describeDerivation(settings) +
                         "”不同，命令未执行。若要改用新的参数，请先运行 drawfollow-cli rederive 加上这些选项，"
                         "按新参数重算全部历史号码。");
    return settings;
}

DerivationSettings CliContext::freshDerivation(const AttributeOptions& options, int nextIssue) {
    return withOptions(options, db().recordedDerivation(), startupCodeTableYear(nextIssue));
}

void addAttributeOptions(CLI::App* command, AttributeOptions& options) {
    command
        ->add_option("--zodiac-offset", options.zodiacOffset,
                     "zodiac codes 0..11 (0) or 1..12 (1) (default: as recorded in the history, else 1)")
        ->transform(decimal(0, 1));
    command
        ->add_option("--segment-offset", options.segmentOffset,
                     "segments 0..9 (0) or 1..10 (1) (default: as recorded in the history, else 1)")
        ->transform(decimal(0, 1));
    command
        ->add_option("--zodiac-mode", options.zodiacMode,
                     "zodiac codes by age or in sequence (default: as recorded in the history, else age)")
        ->check(oneOf({"age", "sequential"}));
    command
        ->add_option("--code-table-year", options.codeTableYear,
                     "zodiac year the code table is built for (default: as recorded in the history; for import "
                     "and rederive, and without a record, that of the next issue)")
        ->transform(decimal(1900, 2200));
}

}  // namespace drawfollow::cli
