// What backtest and picks add share: the panel whose tally is read, the search it runs and
// which end of the tally the values are chosen from (--top K, --exclude), so that a recorded
// pick is the backtest's choice for the next issue.
#pragma once

#include "cli/cli_context.h"
#include "cli/panel_options.h"

#include "analysis/backtest.h"

namespace drawfollow::cli {

struct PickChoiceOptions {
    PanelOptions panel;
    bool combination = false;
    int top = 5;
    bool exclude = false;
    bool json = false;

    PickMode mode() const { return exclude ? PickMode::Exclude : PickMode::Top; }
};

// The panel options, --combination with --size and --pool, --top, --exclude; --json is the
// caller's, whose output it describes.
void addPickChoiceOptions(CLI::App* command, PickChoiceOptions& options);

SearchPanel panelOf(CliContext& context, const PickChoiceOptions& options);

}  // namespace drawfollow::cli
