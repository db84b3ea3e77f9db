// search, combination: the whole search panel as options, the grids as text or JSON.
#include "cli/argument_checks.h"
#include "cli/chance_output.h"
#include "cli/cli_context.h"
#include "cli/grid_text.h"
#include "cli/kind_names.h"

#include "analysis/search.h"
#include "analysis/search_panel.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace drawfollow::cli {

namespace {

struct PanelOptions {
    AttributeOptions attributes;
    std::string kind = "number";
    std::string result = "number";
    std::string scope = "all";
    bool fixed = false;
    bool free = false;
    std::string countSpecial = "yes";
    std::optional<int> back;
    std::vector<int> positions;
    std::vector<int> values;
    std::optional<int> verify;
    bool onlyBefore = false;
    std::optional<std::string> first;
    std::optional<std::string> last;
    int size = 2;
    std::string pool = "all";
    bool json = false;
    bool chance = false;
};

void addPanelOptions(CLI::App* command, PanelOptions& o, bool combination) {
    command->add_option("--kind", o.kind, "search kind")->check(oneOf(keysOf(kKindNames)))->capture_default_str();
    command->add_option("--result", o.result, "result kind tallied")
        ->check(oneOf(keysOf(kKindNames)))
        ->capture_default_str();
    command->add_option("--scope", o.scope, "positions tallied: all 平特, regular 平码, special 特码")
        ->check(oneOf(keysOf(kScopeNames)))
        ->capture_default_str();
    auto* fixed = command->add_flag("--fixed", o.fixed, "fixed positions 固定位");
    command->add_flag("--free", o.free, "free positions 自由位 (the default)")->excludes(fixed);
    command->add_option("--count-special", o.countSpecial, "free positions count the special number (自由位计特码)")
        ->check(oneOf({"yes", "no"}))
        ->capture_default_str();
    command->add_option("--back", o.back, "前期 mode with gap N (1..9); without it 上期")->transform(decimal());
    command->add_option("--positions", o.positions, "ticked positions, e.g. 1,2,8")
        ->delimiter(',')
        ->transform(decimal(1, kPositions));
    auto* values = command->add_option("--values", o.values, "the eight base values as typed (手动输入号)")
                       ->delimiter(',')
                       ->expected(kPositions)
                       ->transform(decimal());
    auto* verify = command->add_option("--verify", o.verify, "base: the stored draw before this issue (验证指定期)")
                       ->transform(issue())
                       ->excludes(values);
    command->add_flag("--only-before", o.onlyBefore, "end the range before the verified issue (仅检索该期前)")
        ->needs(verify);
    command->add_option("--first", o.first, "first issue of the range (default: first stored + 1, or + N)");
    command->add_option("--last", o.last, "last issue of the range (default: the newest)");
    if (combination) {
        command->add_option("--size", o.size, "positions per combination (组合位数), 1..6")
            ->transform(decimal())
            ->capture_default_str();
        command->add_option("--pool", o.pool, "positions combined: regular 1..7 (平码) or all 1..8 (平特)")
            ->check(oneOf({"regular", "all"}))
            ->capture_default_str();
    }
    command->add_flag("--json", o.json, R"(print {"hits": [...], "detail": [[...]], "tally": [[...]]})");
    command->add_flag("--chance", o.chance,
                      "compare the tally with as many rows drawn at random from the range (expected counts, z, p)");
    addAttributeOptions(command, o.attributes);
}

// The base draw, read by its issue; another program may have deleted it since.
StoredDraw storedDraw(HistoryDb& db, int issue) {
    const auto row = db.rowOfIssue(issue);
    if (!row)
        throw StoreError("第 " + std::to_string(issue) + " 期不在历史号码中。");
    return StoredDraw::of(*row);
}

// The panel the options describe, with the window's defaults for what they leave out.
SearchInputs panelState(CliContext& context, const PanelOptions& o, bool combination) {
    SearchPanel panel;
    SearchSettings& in = panel.options;
    in.searchKind = kKindNames.at(o.kind);
    in.resultKind = kKindNames.at(o.result);
    in.scope = kScopeNames.at(o.scope);
    in.freePositions = !o.fixed;
    in.countSpecial = o.countSpecial == "yes";
    in.previousIssue = !o.back;
    in.gap = o.back.value_or(2);
    for (int p : o.positions)
        in.ticked[p - 1] = true;
    in.combinationSize = o.size;
    in.combinationRegularOnly = combination && o.pool == "regular";
    // Stored codes are named and listed as the rows were derived.
    const DerivationSettings derivation = context.derivation(o.attributes);
    in.codes = derivation.codes;
    in.zodiacOffset = derivation.codes.offset();
    in.segmentOffset = derivation.segmentOffset;

    panel.combination = combination;
    if (!o.values.empty()) {
        panel.source = BaseSource::Manual;
        std::copy(o.values.begin(), o.values.end(), panel.manualValues.begin());
    } else if (o.verify) {
        panel.source = BaseSource::Verification;
        panel.verifiedIssue = std::to_string(*o.verify);
        panel.onlyBeforeVerified = o.onlyBefore;
    }
    panel.firstIssue = o.first;
    panel.lastIssue = o.last;

    HistoryDb& db = context.db();
    const std::vector<int> issues = db.issues();
    const PanelSearch built =
        buildSearchInputs(panel, {issues, [&db, &issues](size_t i) { return storedDraw(db, issues[i]); }});
    if (!built.ready())
        throw StoreError(built.refusal);
    return built.inputs;
}

void printResult(const SearchResult& result, const std::optional<ChanceBaseline>& chance, bool json) {
    if (json) {
        auto withoutHeader = [](const TextGrid& grid) {
            return nlohmann::ordered_json(TextGrid(grid.begin() + (grid.empty() ? 0 : 1), grid.end()));
        };
        nlohmann::ordered_json out = {
            {"hits", result.hits}, {"detail", withoutHeader(result.detail)}, {"tally", withoutHeader(result.tally)}};
        if (chance)
            out["chance"] = chanceJson(*chance);
        std::cout << out.dump(1) << '\n';
        if (!result.message.empty())
            std::cerr << result.message << '\n';
        return;
    }
    std::cout << "期号范围 " << result.firstIssue << "～" << result.lastIssue << "，符合条件 " << result.hits.size()
              << " 期。\n\n"
              << alignedText(result.detail) << '\n'
              << alignedText(result.tally);
    if (chance)
        std::cout << '\n' << chanceText(*chance);
    if (!result.message.empty())
        std::cout << '\n' << result.message << '\n';
}

void addSearchCommand(CLI::App& app, CliContext& context, bool combination) {
    auto options = std::make_shared<PanelOptions>();
    auto* command =
        combination ? app.add_subcommand("combination", "combination search: any --size positions of the pool agree")
                    : app.add_subcommand("search", "follow search: the draws that followed draws like the base");
    addPanelOptions(command, *options, combination);
    command->callback([&context, options, combination] {
        const SearchInputs in = panelState(context, *options, combination);
        const SearchResult result =
            combination ? runCombinationSearch(context.db(), in) : runFollowSearch(context.db(), in);
        if (!result.ran)
            throw StoreError(result.message);
        std::optional<ChanceBaseline> chance;
        if (options->chance)
            chance = chanceOf(context.db(), in, result);
        printResult(result, chance, options->json);
    });
}

}  // namespace

void addSearchCommands(CLI::App& app, CliContext& context) {
    addSearchCommand(app, context, false);
    addSearchCommand(app, context, true);
}

}  // namespace drawfollow::cli
