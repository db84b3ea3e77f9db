#include "app/history/history_commands.h"

#include "app/history/history_controller.h"
#include "app/history/history_jobs.h"
#include "app/shell/file_paths.h"
#include "app/shell/user_dialogs.h"
#include "io/safety_copy.h"
#include "store/maintenance_input.h"

#include <QDir>
#include <QWidget>

namespace drawfollow {

namespace {

QString trimTitle() {
    return QStringLiteral("删除期数");
}

QString importTitle() {
    return QStringLiteral("读入历史");
}

}  // namespace

bool reportChange(UserDialogs& dialogs, QWidget* window, const QString& title, const HistoryChange& change) {
    if (change.failed()) {
        dialogs.message(window, MessageKind::Warning, title, change.problem);
        return false;
    }
    if (!change.warning.isEmpty())
        dialogs.message(window, MessageKind::Warning, title, change.warning);
    return true;
}

HistoryCommands::HistoryCommands(HistoryController& controller, HistoryJobs& jobs, UserDialogs& dialogs,
                                 QWidget* window)
    : QObject(window), controller_(controller), jobs_(jobs), dialogs_(dialogs), window_(window) {}

std::function<void(const HistoryChange&)> HistoryCommands::finisher(const QString& title) {
    return [this, title](const HistoryChange& change) {
        if (reportChange(dialogs_, window_, title, change))
            emit done(change.summary);
    };
}

void HistoryCommands::deleteNewest() {
    const QString title = QStringLiteral("删除最后历史");
    jobs_.deleteNewest(title, finisher(title));
}

void HistoryCommands::clearHistory() {
    if (!dialogs_.confirm(window_, QStringLiteral("确认清空"), QStringLiteral("确定要清空所有的历史号码吗？")))
        return;
    const QString title = QStringLiteral("清空历史号码");
    jobs_.clear(title, finisher(title));
}

int HistoryCommands::askTrimNumber(const QString& prompt, const QString& initial) {
    const std::optional<QString> answer = dialogs_.inputText(window_, trimTitle(), prompt, initial);
    return answer ? trimAnswerOf(answer->toStdString()) : 0;
}

void HistoryCommands::trimToIssue() {
    // The default keeps everything: the newest stored issue, as a rule.
    const int lastKept = askTrimNumber(QStringLiteral("请输入需要删除到的期数，例如‘2014016’"),
                                       QString::number(controller_.nextIssue() - 1));
    if (lastKept > 0)
        jobs_.trimTo(lastKept, trimTitle(), finisher(trimTitle()));
}

void HistoryCommands::deleteNewestCount() {
    const int count =
        askTrimNumber(QStringLiteral("请输入需要删除最后多少期历史号码（例如输入3，那么就将删除最后的3期历史号码）"),
                      QStringLiteral("1"));
    if (count > 0)
        jobs_.deleteNewestCount(count, trimTitle(), finisher(trimTitle()));
}

void HistoryCommands::setYearsToKeep() {
    const QString prompt = QStringLiteral(
        "请输入在线更新时要保留的历史号码的年数（2~16中的任意自然数），更早年份的历史号码将在更新时删除");
    for (;;) {
        const std::optional<QString> answer = dialogs_.inputText(window_, QStringLiteral("设置年数"), prompt,
                                                                 QString::number(controller_.settings().yearsToKeep()));
        if (!answer || answer->isEmpty())
            return;
        if (const std::optional<int> years = yearsToKeepOf(answer->toStdString())) {
            controller_.setYearsToKeep(*years);
            emit done(QStringLiteral("在线更新将保留最近 %1 年的历史号码。").arg(*years));
            return;
        }
        dialogs_.message(
            window_, MessageKind::Warning, QStringLiteral("输入有误"),
            QStringLiteral("为了保证时效性和提高计算效率，软件只能统计16年以内的数据，请输入2到16中的自然数。"));
    }
}

void HistoryCommands::importText() {
    // The folder users keep their history files in; made on first use so the dialog opens there.
    QDir data(pathText(controller_.dataFolder()));
    const QString folderName = QStringLiteral("历史号码");
    if (!dialogs_.confirm(window_, importTitle(),
                          QStringLiteral("确实要读入最新历史号码吗？点击“确定”读入，点击“取消”放弃该操作。"
                                         "历史号码的文本文件一般放在数据文件夹的“%1”文件夹（%2）中。"
                                         "读取时可能要花费一段时间，请耐心等候！")
                              .arg(folderName, QDir::toNativeSeparators(data.filePath(folderName)))))
        return;
    data.mkpath(folderName);
    const QString file = dialogs_.openFileName(window_, QStringLiteral("读取历史号文本"), data.filePath(folderName),
                                               QStringLiteral("文本文件 (*.txt)"));
    if (file.isEmpty())
        return;
    if (!file.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive)) {
        dialogs_.message(
            window_, MessageKind::Warning, importTitle(),
            QStringLiteral("只能读入历史号码的文本文件（*.txt）。\n“%1”未读入，历史号码未作改动。").arg(file));
        return;
    }
    jobs_.importText(localPath(file), importTitle(), finisher(importTitle()));
}

void HistoryCommands::restoreSafetyCopy() {
    const QString title = QStringLiteral("恢复备份");
    // Each copy's file is read for its counts: on the worker, as a long history makes that slow.
    jobs_.listSafetyCopies(
        title, [this, title](const std::vector<SafetyCopyListing>& copies) { offerSafetyCopies(title, copies); },
        finisher(title));
}

void HistoryCommands::offerSafetyCopies(const QString& title, const std::vector<SafetyCopyListing>& copies) {
    if (copies.empty()) {
        dialogs_.message(window_, MessageKind::Information, title,
                         QStringLiteral("还没有安全备份：删除或替换历史号码的命令会先把历史号码备份到“%1”。")
                             .arg(pathText(controller_.dataFolder() / kSafetyCopyFolder)));
        return;
    }
    QList<QStringList> rows;
    for (const SafetyCopyListing& c : copies)
        rows.append({QString::fromStdString(madeText(c.copy)), QString::fromStdString(causeText(c.copy.cause)),
                     c.readable ? QString::number(c.draws) : QStringLiteral("文件有误"),
                     c.newestIssue ? QString::number(*c.newestIssue) : QStringLiteral("—")});
    const std::optional<int> chosen = dialogs_.chooseRow(
        window_, title, QStringLiteral("选择要恢复的备份（最新的在最前）。恢复前，现有的历史号码也会先备份。"),
        {QStringLiteral("备份时间"), QStringLiteral("命令"), QStringLiteral("期数"), QStringLiteral("最新期号")}, rows);
    if (!chosen)
        return;
    jobs_.restore(copies.at(static_cast<size_t>(*chosen)), title, finisher(title));
}

}  // namespace drawfollow
