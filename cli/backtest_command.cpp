// backtest: the search panel's search run before each of the newest draws, on the draws
// before it, the values it chose held against the draw's own odds.
#include "cli/argument_checks.h"
#include "cli/cli_context.h"
#include "cli/grid_text.h"
#include "cli/number_output.h"
#include "cli/pick_choice_options.h"
#include "cli/streamed_json.h"

#include "analysis/backtest.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace drawfollow::cli {

namespace {

struct BacktestOptions {
    PickChoiceOptions choice;
    int targets = BacktestSettings{}.targets;
};

// {"targets": [...], "observed", ...}, the targets written one by one rather than as one tree.
void writeJson(std::ostream& out, const BacktestResult& result) {
    out << "{\n";
    StreamedList targets(out, "targets");
    for (const BacktestTarget& t : result.targets)
        targets.add({{"issue", t.issue},
                     {"base", t.base},
                     {"hits", t.hits},
                     {"top", t.chosen},
                     {"hit", t.hit},
                     {"expected", t.expected},
                     {"variance", t.variance}});
    targets.close();
    const nlohmann::ordered_json totals = {{"observed", result.observed},
                                           {"expected", result.expected},
                                           {"variance", result.variance},
                                           {"z", orNull(result.z)},
                                           {"p", orNull(result.p)},
                                           {"skipped", result.skipped},
                                           {"without_base", result.withoutBase}};
    writeMembers(out, totals, true);
    out << "\n}\n";
}

std::string resultText(const BacktestResult& result) {
    CellGrid grid = {{"目标期", "基准期", "命中期数", chosenCaption(result), "开出", "期望", "方差"}};
    for (const BacktestTarget& t : result.targets)
        grid.push_back({GridCell::whole(t.issue), GridCell::whole(t.base), GridCell::whole(t.hits), t.chosenLine(),
                        GridCell::whole(t.hit), GridCell::fixed(t.expected, 3), GridCell::fixed(t.variance, 3)});
    std::string text = alignedText(grid) + '\n';
    text += "计入 " + std::to_string(result.targets.size()) + " 期";
    if (result.skipped > 0)
        text += "；检索没有命中、未计入 " + std::to_string(result.skipped) + " 期";
    if (result.withoutBase > 0)
        text += "；历史不足、没有基准期的 " + std::to_string(result.withoutBase) + " 期未计入";
    text += "。\n开出合计 " + std::to_string(result.observed) + " 次，期望 " + fixed(result.expected, 3) +
            " 次，方差 " + fixed(result.variance, 3) + "。\n";
    return text + result.verdict + '\n';
}

}  // namespace

void addBacktestCommand(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<BacktestOptions>();
    auto* command = app.add_subcommand(
        "backtest", "walk-forward backtest: the search run before each of the newest draws, against chance");
    addPickChoiceOptions(command, options->choice);
    command->add_option("--targets", options->targets, "the newest T stored draws are the targets")
        ->transform(decimal(1))
        ->capture_default_str();
    command->add_flag("--json", options->choice.json,
                      R"(print {"targets": [{"issue", "base", "hits", "top", "hit", "expected", "variance"}...], )"
                      R"("observed", "expected", "variance", "z", "p", "skipped"})");
    command->callback([&context, options] {
        const PickChoiceOptions& choice = options->choice;
        const BacktestResult result =
            Backtest(context.db(), panelOf(context, choice)).run({options->targets, choice.top, choice.mode()});
        if (choice.json)
            writeJson(std::cout, result);
        else
            std::cout << resultText(result);
    });
}

}  // namespace drawfollow::cli
