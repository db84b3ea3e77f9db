// search, combination: the whole search panel as options, the grids as text or JSON.
#include "cli/chance_output.h"
#include "cli/cli_context.h"
#include "cli/grid_text.h"
#include "cli/panel_options.h"
#include "cli/streamed_json.h"

#include "analysis/search_answer.h"
#include "analysis/search_fields.h"
#include "analysis/search_panel.h"
#include "store/derivation_record.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace drawfollow::cli {

namespace {

struct SearchCommandOptions {
    PanelOptions panel;
    bool json = false;
    bool chance = false;
};

// How often the panel is built again when another program derives the rows again between
// reading the derivation record and reading the history.
constexpr int kPanelAttempts = 3;

bool sameRecord(const std::optional<DerivationSettings>& a, const std::optional<DerivationSettings>& b) {
    return a.has_value() == b.has_value() && (!a || derivesSameRows(*a, *b));
}

// The history a search is answered from, and the panel built into its inputs over it.
struct PreparedSearch {
    HistorySnapshot history;
    SearchInputs inputs;
};

// The panel names stored codes by the derivation record, read before the snapshot: should
// the record change before the snapshot is read, the panel is built again, so that the
// answer, its base and its names all come from one history.
PreparedSearch prepareSearch(CliContext& context, const PanelOptions& o, bool combination) {
    HistoryDb& db = context.db();
    for (int attempt = 1;; ++attempt) {
        const std::optional<DerivationSettings> recorded = db.recordedDerivation();
        const SearchPanel panel = panelOf(context, o, combination);
        HistorySnapshot history = HistorySnapshot::read(db, HistorySnapshot::kindsOf(panel.options));
        if (!sameRecord(recorded, history.derivation())) {
            if (attempt == kPanelAttempts)
                throw StoreError(kDatabaseBusyMessage);
            continue;
        }
        const PanelSearch built = buildSearchInputs(panel, history.panelHistory());
        if (!built.ready())
            throw StoreError(built.refusal);
        return {std::move(history), built.inputs};
    }
}

// {"hits": [...], "detail": [[...]], "tally": [[...]], "chance": {...}}, streamed row by
// row rather than built as one tree beside the grids, byte for byte what dump(1) writes.
void writeJson(std::ostream& out, const SearchResult& result, const std::optional<ChanceBaseline>& chance) {
    const auto writeRows = [&out](const char* name, const RowGrid& grid) {
        StreamedList list(out, name);
        for (size_t r = 1; r < grid.size(); ++r)
            list.add(cellTexts(grid.row(r)));
        list.close();
    };
    out << "{\n";
    StreamedList hits(out, "hits");
    for (int issue : result.hits)
        hits.add(issue);
    hits.close();
    out << ",\n";
    writeRows("detail", result.detail);
    out << ",\n";
    writeRows("tally", result.tally);
    if (chance) {
        out << ",\n \"chance\": ";
        writeNested(out, chanceJson(*chance), 1);
    }
    out << "\n}\n";
}

void printResult(const SearchResult& result, const std::optional<ChanceBaseline>& chance, bool json) {
    if (json) {
        writeJson(std::cout, result, chance);
        if (!result.message.empty())
            std::cerr << result.message << '\n';
        return;
    }
    std::cout << "期号范围 " << result.firstIssue << "～" << result.lastIssue << "，符合条件 " << result.hits.size()
              << " 期。\n\n";
    writeAlignedText(std::cout, result.detail);
    std::cout << '\n';
    writeAlignedText(std::cout, result.tally);
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
        const PreparedSearch search = prepareSearch(context, options->panel, combination);
        const SearchAnswer answer = answerSearch(search.history, search.inputs, combination);
        if (!answer.result.ran)
            throw StoreError(answer.result.message);
        std::optional<ChanceBaseline> chance;
        if (options->chance)
            chance = chanceOf(search.history, search.inputs, answer.result);
        printResult(answer.result, chance, options->json);
        std::cout.flush();
        // The answer stands whatever happens to the fields the search leaves behind.
        try {
            const std::string note =
                keepSearchFields(context.db(), search.history, search.inputs, *answer.marking, answer.storedTally);
            if (!note.empty())
                std::cerr << note << '\n';
        } catch (const std::exception& e) {
            throw StoreError("检索结果已给出，但检索字段未能保存，历史数据库未作改动：" + failureText(e));
        }
    });
}

}  // namespace

void addSearchCommands(CLI::App& app, CliContext& context) {
    addSearchCommand(app, context, false);
    addSearchCommand(app, context, true);
}

}  // namespace drawfollow::cli
