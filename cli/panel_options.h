// The search panel as options: one builder for every command that searches (search,
// combination, backtest), so that an option means the same in each.
#pragma once

#include "cli/cli_context.h"

#include "analysis/search_panel.h"

#include <optional>
#include <string>
#include <vector>

namespace drawfollow::cli {

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
};

// The settings and the range start: --kind, --result, --scope, --fixed/--free,
// --count-special, --back, --positions, --first, and the attribute options.
void addPanelOptions(CLI::App* command, PanelOptions& options);
// Where the base comes from and where the range ends: --values, --verify, --only-before, --last.
void addBaseOptions(CLI::App* command, PanelOptions& options);
// --size and --pool of the combination search.
void addCombinationOptions(CLI::App* command, PanelOptions& options);

// The panel the options describe, with the window's defaults for what they leave out.
SearchPanel panelOf(CliContext& context, const PanelOptions& options, bool combination);

}  // namespace drawfollow::cli
