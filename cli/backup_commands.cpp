// backups, restore: the safety copies the deleting commands wrote, and putting one back.
#include "cli/cli_context.h"

#include "io/history_import.h"
#include "io/safety_copy.h"
#include "io/safety_copy_pruning.h"

#include <algorithm>
#include <iostream>

namespace drawfollow::cli {

namespace {

struct BackupOptions {
    AttributeOptions attributes;
    std::string id;
};

// One tab-separated line per copy, newest first, under a heading line.
void printListing(const std::vector<SafetyCopyListing>& listings) {
    std::cout << "编号\t时间\t命令\t期数\t最新期号\n";
    for (const auto& l : listings) {
        std::cout << l.copy.id << '\t' << madeText(l.copy) << '\t' << causeText(l.copy.cause) << '\t';
        if (l.readable)
            std::cout << l.draws << '\t' << *l.newestIssue << '\n';
        else
            std::cout << "文件有误\t—\n";
    }
}

}  // namespace

void addBackupCommands(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<BackupOptions>();

    auto* backups = app.add_subcommand("backups", "list the safety copies, newest first");
    backups->footer(std::string("安全备份的保留规则：") + kSafetyCopyRule);
    backups->callback([&context] {
        const auto listings = listSafetyCopies(context.dataFolder());
        if (listings.empty())
            std::cout << "没有安全备份。\n";
        else
            printListing(listings);
    });

    auto* restore = app.add_subcommand("restore", "replace the history with a safety copy, saving it first");
    restore->add_option("ID", options->id, "the copy's id, as `backups` lists it")->required();
    addAttributeOptions(restore, options->attributes);
    restore->callback([&context, options] {
        const auto files = safetyCopies(context.dataFolder());
        const auto file = std::find_if(files.begin(), files.end(), [&](const std::filesystem::path& f) {
            return safetyCopyOf(f)->id == options->id;
        });
        if (file == files.end())
            throw StoreError("没有编号为 " + options->id + " 的安全备份（backups 列出全部备份），历史号码未作改动。");
        if (const auto aside = context.openForRestore(*file))
            std::cout << "损坏的历史数据库文件已改名为 " << aside->string() << '\n';
        const auto summary = restoreSafetyCopy(context.db(), *file, [&](std::optional<int> next) {
            return context.freshDerivation(options->attributes,
                                           next.value_or(context.clock().currentYear() * 1000 + 1));
        });
        if (summary.safetyCopy)
            std::cout << "恢复前的历史号码已备份到 " << summary.safetyCopy->string() << '\n';
        std::cout << "已恢复备份 " << options->id << "，共 " << summary.draws << " 期历史号码。\n";
    });
}

}  // namespace drawfollow::cli
