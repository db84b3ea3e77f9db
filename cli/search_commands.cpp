// search, combination: the whole search panel as options, the grids as text or JSON.
#include "cli/chance_output.h"
#include "cli/cli_context.h"
#include "cli/grid_text.h"
#include "cli/panel_options.h"

#include "analysis/search.h"
#include "analysis/search_panel.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace drawfollow::cli {

namespace {

struct SearchCommandOptions {
    PanelOptions panel;
    bool json = false;
    bool chance = false;
};

// The base draw, read by its issue; another program may have deleted it since.
StoredDraw storedDraw(HistoryDb& db, int issue) {
    const auto row = db.rowOfIssue(issue);
    if (!row)
        throw StoreError("第 " + std::to_string(issue) + " 期不在历史号码中。");
    return StoredDraw::of(*row);
}

// The panel the options describe, built into the inputs of its search.
SearchInputs panelState(CliContext& context, const PanelOptions& o, bool combination) {
    const SearchPanel panel = panelOf(context, o, combination);
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
    auto options = std::make_shared<SearchCommandOptions>();
    auto* command =
        combination ? app.add_subcommand("combination", "combination search: any --size positions of the pool agree")
                    : app.add_subcommand("search", "follow search: the draws that followed draws like the base");
    addPanelOptions(command, options->panel);
    addBaseOptions(command, options->panel);
    if (combination)
        addCombinationOptions(command, options->panel);
    command->add_flag("--json", options->json, R"(print {"hits": [...], "detail": [[...]], "tally": [[...]]})");
    command->add_flag("--chance", options->chance,
                      "compare the tally with as many rows drawn at random from the range (expected counts, z, p)");
    command->callback([&context, options, combination] {
        const SearchInputs in = panelState(context, options->panel, combination);
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
