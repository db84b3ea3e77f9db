#include "cli/update_command.h"

#include "cli/argument_checks.h"

#include "io/update_plan.h"

namespace drawfollow::cli {

void addUpdateCommand(CLI::App& app, CliContext& context, UpdateAction run) {
    auto options = std::make_shared<UpdateOptions>();
    auto* update = app.add_subcommand("update", "append the missing draws from the results chart pages online");
    update->add_option("--host", options->host,
                       "address of the chart service, e.g. https://chart.example.com (default: the window's "
                       "UpdateHost setting)");
    update
        ->add_option("--keep-years", options->keepYears,
                     "years of history kept before the current one (default: the window's IniSerchDay, else 6)")
        ->transform(decimal(kFewestYearsKept, kMostYearsKept));
    update->add_option("--current-year", options->currentYear, "the year taken as the current one (default: today's)")
        ->transform(decimal(2000, 9999));
    update->add_option("--timeout", options->timeoutSeconds, "seconds allowed for each page")
        ->check(decimalNumber(0.1, 600.0))
        ->capture_default_str();
    addAttributeOptions(update, options->attributes);
    update->callback([&context, options, run = std::move(run)] { run(context, *options); });
}

}  // namespace drawfollow::cli
