// trim-to, delete-newest, compact
#include "cli/argument_checks.h"
#include "cli/cli_context.h"

#include "io/history_maintenance.h"

#include <iostream>

namespace drawfollow::cli {

namespace {

struct MaintenanceOptions {
    AttributeOptions attributes;
    int issue = 0;
    int count = 0;
    bool yes = false;
};

void report(const MaintenanceResult& result) {
    if (result.safetyCopy)
        std::cout << "删除前的历史号码已备份到 " << result.safetyCopy->string() << '\n';
    std::cout << "已删除 " << result.removed << " 期，保留 " << result.kept << " 期历史号码。\n";
    if (!result.compactionProblem.empty())
        std::cerr << "警告：" << result.compactionProblem << '\n';
}

// A trim that would delete every draw needs --yes, as clearing does.
template <class Trim>
void runTrim(const CLI::App* command, const MaintenanceOptions& options, Trim trim) {
    try {
        report(trim(options.yes ? Emptying::Allowed : Emptying::Refused));
    } catch (const EmptyingRefused& e) {
        throw CLI::ValidationError(command->get_name(), std::string(e.what()) + "确要删除请加 --yes。");
    }
}

}  // namespace

void addMaintenanceCommands(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<MaintenanceOptions>();

    auto* trimTo = app.add_subcommand("trim-to", "keep the draws up to an issue, delete the rest, rebuild and compact");
    trimTo->add_option("ISSUE", options->issue, "the newest issue to keep")->required()->transform(issue());
    trimTo->add_flag("--yes", options->yes, "confirm when every draw would be deleted");
    addAttributeOptions(trimTo, options->attributes);
    trimTo->callback([&context, options, trimTo] {
        const auto settings = context.derivation(options->attributes);
        runTrim(trimTo, *options,
                [&](Emptying emptying) { return trimToIssue(context.db(), options->issue, settings, emptying); });
    });

    auto* deleteNewest = app.add_subcommand("delete-newest", "delete the newest N draws, rebuild and compact");
    deleteNewest->add_option("N", options->count, "how many of the newest draws to delete")
        ->required()
        ->transform(decimal(0));
    deleteNewest->add_flag("--yes", options->yes, "confirm when every draw would be deleted");
    addAttributeOptions(deleteNewest, options->attributes);
    deleteNewest->callback([&context, options, deleteNewest] {
        const auto settings = context.derivation(options->attributes);
        runTrim(deleteNewest, *options,
                [&](Emptying emptying) { return deleteNewestDraws(context.db(), options->count, settings, emptying); });
    });

    auto* compact = app.add_subcommand("compact", "reclaim the space of deleted rows in the database file");
    compact->callback([&context] {
        const std::string problem = compactHistory(context.db());
        if (!problem.empty())
            throw StoreError(problem);
        std::cout << "历史数据库文件已压缩。\n";
    });
}

}  // namespace drawfollow::cli
