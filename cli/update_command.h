// update: the online update without a window, one progress line per year. Declared here for
// drawfollow-cli; run by the helper program drawfollow-cli-update (helper_program.h).
#pragma once

#include "cli/cli_context.h"

#include <functional>
#include <optional>
#include <string>

namespace drawfollow::cli {

struct UpdateOptions {
    AttributeOptions attributes;
    std::optional<std::string> host;
    std::optional<int> keepYears;
    std::optional<int> currentYear;
    double timeoutSeconds = 30;
};

using UpdateAction = std::function<void(CliContext&, const UpdateOptions&)>;

void addUpdateCommand(CLI::App& app, CliContext& context, UpdateAction run);

}  // namespace drawfollow::cli
