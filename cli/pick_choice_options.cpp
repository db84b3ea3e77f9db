#include "cli/pick_choice_options.h"

#include "cli/argument_checks.h"

namespace drawfollow::cli {

void addPickChoiceOptions(CLI::App* command, PickChoiceOptions& options) {
    addPanelOptions(command, options.panel);
    auto* combination =
        command->add_flag("--combination", options.combination, "use the combination search (组合检索)");
    addCombinationOptions(command, options.panel);
    command->get_option("--size")->needs(combination);
    command->get_option("--pool")->needs(combination);
    command->add_option("--top", options.top, "how many values of each tally are chosen")
        ->transform(decimal(1))
        ->capture_default_str();
    command->add_flag("--exclude", options.exclude,
                      "杀号: choose the last K values of the tally (fewest occurrences), expected to be drawn "
                      "less often than chance");
}

SearchPanel panelOf(CliContext& context, const PickChoiceOptions& options) {
    return panelOf(context, options.panel, options.combination);
}

}  // namespace drawfollow::cli
