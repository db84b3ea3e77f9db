// import, export, list, add, delete-last, clear, next-issue
#include "cli/argument_checks.h"
#include "cli/cli_context.h"
#include "cli/rows_json.h"

#include "io/history_import.h"
#include "io/history_maintenance.h"
#include "store/derivation_record.h"

#include <iostream>

namespace drawfollow::cli {

namespace {

struct HistoryOptions {
    AttributeOptions attributes;
    std::string file;
    bool json = false;
    bool yes = false;
    int addIssue = 0;
    std::vector<int> addNumbers;
};

void importFile(CliContext& context, const HistoryOptions& options) {
    // Derived as the window's start-up will derive them for the history the file leaves.
    DerivationSettings settings;
    const auto settingsFor = [&](std::optional<int> next) {
        settings = context.freshDerivation(options.attributes, next.value_or(context.clock().currentYear() * 1000 + 1));
        return settings;
    };
    const auto summary = importHistoryFile(context.db(), options.file, settingsFor);
    if (summary.safetyCopy)
        std::cout << "读入前的历史号码已备份到 " << summary.safetyCopy->string() << '\n';
    std::cout << "已读入 " << summary.draws << " 期历史号码，跳过 " << summary.skippedLines << " 行；生肖和段数按“"
              << describeDerivation(settings) << "”计算。\n";
}

void printDraws(HistoryDb& db) {
    for (const auto& d : db.draws())
        std::cout << canonicalLine(d.issue, d.numbers) << '\n';
}

}  // namespace

void addHistoryCommands(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<HistoryOptions>();

    auto* importCmd = app.add_subcommand("import", "replace the history with a history text file");
    importCmd->add_option("FILE", options->file, "history text file")->required();
    addAttributeOptions(importCmd, options->attributes);
    importCmd->callback([&context, options] { importFile(context, *options); });

    auto* exportCmd = app.add_subcommand("export", "write the history as a text file");
    exportCmd->add_option("FILE", options->file,
                          "target file (default: 更新至<最新期号>期历史号码.txt in the data folder)");
    exportCmd->callback([&context, options] {
        const std::filesystem::path target = options->file.empty()
                                                 ? defaultExportPath(context.db(), context.dataFolder())
                                                 : std::filesystem::path(options->file);
        exportHistoryFile(context.db(), target);
        std::cout << "已导出 " << context.db().drawCount() << " 期历史号码到 " << target.string() << '\n';
    });

    auto* list = app.add_subcommand("list", "print the stored draws");
    list->add_flag("--json", options->json, "every field of every row, keyed by field name");
    list->callback([&context, options] {
        if (options->json)
            writeRowsAsJson(context.db(), std::cout);
        else
            printDraws(context.db());
    });

    auto* add = app.add_subcommand("add", "append the newest draw");
    add->add_option("ISSUE", options->addIssue, "issue")->required()->transform(issue());
    add->add_option("N1..N8", options->addNumbers, "the eight numbers (the last is the special number)")
        ->required()
        ->expected(kPositions)
        ->transform(decimal(kLowestNumber, kHighestNumber));
    addAttributeOptions(add, options->attributes);
    add->callback([&context, options] {
        DrawInput draw{options->addIssue, {}};
        for (int p = 0; p < kPositions; ++p)
            draw.numbers[p] = static_cast<int16_t>(options->addNumbers[p]);  // 1..30, checked above
        if (const std::string problem = drawProblem(draw.numbers); !problem.empty())
            throw StoreError(problem);
        const auto settings = context.derivation(options->attributes);
        context.db().append(draw, settings);
        std::cout << "已添加第 " << draw.issue << " 期。\n";
    });

    auto* deleteLast = app.add_subcommand("delete-last", "delete the newest draw");
    deleteLast->callback([&context] {
        const auto result = deleteNewestDraw(context.db());
        if (result.safetyCopy)
            std::cout << "删除前的历史号码已备份到 " << result.safetyCopy->string() << '\n';
        if (result.newestDeleted)
            std::cout << "已删除第 " << *result.newestDeleted << " 期。\n";
        else
            std::cout << "历史号码为空，没有删除任何一期。\n";
        if (!result.compactionProblem.empty())
            std::cerr << "警告：" << result.compactionProblem << '\n';
    });

    auto* clear = app.add_subcommand("clear", "delete every draw");
    clear->add_flag("--yes", options->yes, "confirm");
    clear->callback([&context, options] {
        if (!options->yes)
            throw CLI::ValidationError("clear", "清空历史号码需要加 --yes 确认");
        const auto result = clearHistory(context.db());
        if (result.safetyCopy)
            std::cout << "清空前的历史号码已备份到 " << result.safetyCopy->string() << '\n';
        std::cout << "已清空 " << result.removed << " 期历史号码。\n";
    });

    auto* next = app.add_subcommand("next-issue", "print the issue the next draw gets");
    next->callback([&context] { std::cout << nextIssue(context.db(), context.clock()) << '\n'; });
}

}  // namespace drawfollow::cli
