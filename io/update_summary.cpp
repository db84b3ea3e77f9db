#include "io/update_summary.h"

namespace drawfollow {

namespace {

std::string joined(const std::vector<int>& values) {
    std::string s;
    for (int v : values) {
        if (!s.empty())
            s += "、";
        s += std::to_string(v);
    }
    return s;
}

std::string headline(const UpdateSummary& s) {
    if (!s.setupProblem.empty())
        return "在线更新没有进行：" + s.setupProblem;
    if (s.cancelled)
        return "在线更新已取消。";
    if (!s.succeeded())
        return "在线更新没有全部完成。";
    return "在线更新完成。";
}

std::string dropLine(const UpdateSummary& s) {
    if (s.dropped > 0) {
        std::string line =
            "已删除 " + std::to_string(*s.dropBeforeYear) + " 年以前的 " + std::to_string(s.dropped) + " 期历史号码";
        if (s.safetyCopy)
            line += "（删除前的全部历史号码已备份到 “" + s.safetyCopy->string() + "”）";
        return line + "。";
    }
    if (s.succeeded() || !s.setupProblem.empty())
        return {};
    if (!s.dropBeforeYear)
        return "没有删除任何历史号码。";
    return "没有删除任何历史号码：" + std::to_string(*s.dropBeforeYear) + " 年以前的 " + std::to_string(s.plannedDrop) +
           " 期只在更新读完全部网页后才删除。";
}

}  // namespace

std::string UpdateSummary::message() const {
    std::vector<std::string> lines{headline(*this)};
    if (std::string line = dropLine(*this); !line.empty())
        lines.push_back(std::move(line));
    if (failure)
        lines.push_back(std::to_string(failure->year) + " 年的开奖网页读取失败：" + failure->reason);
    if (!yearsNotRead.empty())
        lines.push_back("没有读取的年份：" + joined(yearsNotRead) + "。");
    if (setupProblem.empty()) {
        if (added > 0)
            lines.push_back("新增 " + std::to_string(added) + " 期历史号码，已全部保存，最新一期为 " +
                            std::to_string(*newestIssue) + "。");
        else
            lines.push_back("没有新增历史号码。");
        if (read > added)
            lines.push_back("读取到的 " + std::to_string(read - added) + " 期历史号码没有保存：" + notStoredReason);
    }
    // A page lists the next draw before it is drawn: an issue after the newest one with
    // numbers was not skipped, it is still to come.
    std::vector<int> skipped;
    std::vector<int> notYetDrawn;
    for (const int issue : skippedIssues)
        (newestIssue && issue > *newestIssue ? notYetDrawn : skipped).push_back(issue);
    if (!skipped.empty())
        lines.push_back("以下各期在网页上没有号码，已跳过：" + joined(skipped) + "。");
    if (!notYetDrawn.empty())
        lines.push_back("尚未开奖：" + joined(notYetDrawn) + "。");
    std::string text;
    for (const auto& line : lines) {
        if (!text.empty())
            text += '\n';
        text += line;
    }
    return text;
}

}  // namespace drawfollow
