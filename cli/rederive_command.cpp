// rederive: derive every stored row again under the given settings, and record them.
#include "cli/cli_context.h"

#include "io/history_rederive.h"
#include "store/derivation_record.h"

#include <iostream>

namespace drawfollow::cli {

void addRederiveCommand(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<AttributeOptions>();
    auto* rederive =
        app.add_subcommand("rederive",
                           "derive the zodiac and segment values of every stored draw again under the given settings "
                           "(a safety copy first), and record the settings");
    addAttributeOptions(rederive, *options);
    rederive->callback([&context, options] {
        const DerivationSettings settings = context.freshDerivation(*options, nextIssue(context.db(), context.clock()));
        const RederiveSummary done = rederiveHistory(context.db(), settings);
        if (done.safetyCopy)
            std::cout << "重算前的历史号码已备份到 " << done.safetyCopy->string() << '\n';
        std::cout << "已按“" << describeDerivation(settings) << "”重算全部 " << done.draws
                  << " 期历史号码的生肖和段数。\n";
    });
}

}  // namespace drawfollow::cli
