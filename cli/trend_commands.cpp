// omission, trend: the omission figures and the trend chart of one kind over a range.
#include "cli/argument_checks.h"
#include "cli/cli_context.h"
#include "cli/kind_names.h"
#include "cli/trend_output.h"

#include "analysis/trend_table.h"

#include <array>
#include <iostream>
#include <memory>

namespace drawfollow::cli {

namespace {

struct TrendOptions {
    AttributeOptions attributes;
    std::string kind = "number";
    std::string scope = "all";
    IssueRange range;
    bool json = false;
};

void addTrendCommand(CLI::App& app, CliContext& context, bool chart) {
    auto o = std::make_shared<TrendOptions>();
    auto* command = chart ? app.add_subcommand("trend", "trend chart 走势图: every draw's omission of every value")
                          : app.add_subcommand("omission", "omission figures 遗漏统计 of every value");
    command->add_option("--kind", o->kind, "kind of the values")
        ->check(oneOf(keysOf(kKindNames)))
        ->capture_default_str();
    command->add_option("--scope", o->scope, "positions counted: all 平特, regular 平码, special 特码")
        ->check(oneOf(keysOf(kScopeNames)))
        ->capture_default_str();
    command->add_option("--first", o->range.first, "first issue of the range (default: the oldest)")
        ->transform(issue());
    command->add_option("--last", o->range.last, "last issue of the range (default: the newest)")->transform(issue());
    command->add_flag("--json", o->json,
                      chart ? R"(print {"columns": [...], "rows": [{"issue", "omission", "count"}...]})"
                            : R"(print {"draws": N, "values": [{"value", "text", "count", ...}...]})");
    addAttributeOptions(command, o->attributes);
    command->callback([&context, o, chart] {
        const TrendChoice choice{kKindNames.at(o->kind), kScopeNames.at(o->scope), context.derivation(o->attributes)};
        const std::array kinds = {choice.kind};
        const HistorySnapshot history = HistorySnapshot::read(context.db(), kinds);
        TrendWalk walk(history, choice, o->range);
        if (o->json)
            chart ? writeTrendJson(std::cout, walk) : writeOmissionJson(std::cout, walk);
        else
            chart ? writeTrendText(std::cout, walk) : writeOmissionText(std::cout, walk);
    });
}

}  // namespace

void addTrendCommands(CLI::App& app, CliContext& context) {
    addTrendCommand(app, context, false);
    addTrendCommand(app, context, true);
}

}  // namespace drawfollow::cli
