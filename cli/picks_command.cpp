// picks add|list|delete: the track record of picks made before each draw, scored against
// the draw's own odds once it is stored.
#include "cli/argument_checks.h"
#include "cli/cli_context.h"
#include "cli/grid_text.h"
#include "cli/number_output.h"
#include "cli/pick_choice_options.h"

#include "analysis/pick_book.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace drawfollow::cli {

namespace {

const char* modeName(PickMode mode) {
    return mode == PickMode::Top ? "top" : "exclude";
}

nlohmann::ordered_json pickJson(const ScoredPick& pick) {
    const std::optional<ChosenScore>& s = pick.score;
    return {{"id", pick.record.id},
            {"issue", pick.record.issue},
            {"made", pick.record.made},
            {"mode", modeName(pick.mode())},
            {"values", pick.record.values},
            {"status", s ? "scored" : "pending"},
            {"hit", s ? nlohmann::ordered_json(s->hit) : nullptr},
            {"expected", s ? nlohmann::ordered_json(s->odds.mean) : nullptr},
            {"variance", s ? nlohmann::ordered_json(s->odds.variance) : nullptr}};
}

nlohmann::ordered_json totalsJson(const PickTotals& t) {
    const auto figure = [&t](auto value) { return t.scored > 0 ? nlohmann::ordered_json(value) : nullptr; };
    return {{"scored", t.scored},
            {"observed", figure(t.observed)},
            {"expected", figure(t.expected)},
            {"variance", figure(t.variance)},
            {"z", orNull(t.z)},
            {"p", orNull(t.p)}};
}

nlohmann::ordered_json bookJson(const PickBook& book) {
    nlohmann::ordered_json picks = nlohmann::ordered_json::array();
    for (const ScoredPick& pick : book.picks)
        picks.push_back(pickJson(pick));
    return {{"picks", std::move(picks)}, {"top", totalsJson(book.top)}, {"exclude", totalsJson(book.exclude)}};
}

std::string bookText(const PickBook& book) {
    if (book.picks.empty())
        return "还没有预测记录。用 picks add 为下一期记录一条。\n";
    return alignedText(pickBookTable(book)) + '\n' + book.top.verdict + "\n" + book.exclude.verdict + '\n';
}

void addPickCommand(CLI::App* picks, CliContext& context) {
    auto options = std::make_shared<PickChoiceOptions>();
    auto* add = picks->add_subcommand("add", "record the current history's pick for the next issue");
    addPickChoiceOptions(add, *options);
    add->add_flag("--json", options->json,
                  R"(print the record as {"id", "issue", "made", "mode", "values", "status", "hit", )"
                  R"("expected", "variance"})");
    add->callback([&context, options] {
        const ScoredPick pick =
            recordPick(context.db(), panelOf(context, *options), options->top, options->mode(), utcTimeNow());
        if (options->json)
            std::cout << pickJson(pick).dump(1) << '\n';
        else
            std::cout << "已为第 " << pick.record.issue << " 期记录预测（编号 " << pick.record.id << "，"
                      << pick.modeText() << "）：" << pick.valuesLine() << '\n';
    });
}

}  // namespace

void addPicksCommand(CLI::App& app, CliContext& context) {
    auto* picks = app.add_subcommand("picks", "预测记录: picks made before each draw, scored against chance");
    picks->require_subcommand(1);
    addPickCommand(picks, context);

    auto json = std::make_shared<bool>(false);
    auto* list = picks->add_subcommand("list", "list the records, pending first, with the running verdicts");
    list->add_flag("--json", *json,
                   R"(print {"picks": [...], "top": {"scored", "observed", "expected", "variance", "z", "p"}, )"
                   R"("exclude": {...}})");
    list->callback([&context, json] {
        const PickBook book = readPickBook(context.db());
        std::cout << (*json ? bookJson(book).dump(1) + '\n' : bookText(book));
    });

    auto id = std::make_shared<int>(0);
    auto* remove = picks->add_subcommand("delete", "delete one record");
    remove->add_option("ID", *id, "the record's 编号")->required()->transform(decimal(1));
    remove->callback([&context, id] {
        if (!deletePick(context.db(), *id))
            throw StoreError("没有编号为 " + std::to_string(*id) + " 的预测记录。");
        std::cout << "已删除预测记录 " << *id << "。\n";
    });
}

}  // namespace drawfollow::cli
