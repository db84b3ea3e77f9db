#include "app/history/entry_check.h"

#include "analysis/panel_values.h"
#include "app/shell/ui_text.h"

namespace drawfollow {

namespace {

EntryCheck wrong(int box, const QString& problem) {
    return EntryCheck{std::nullopt, box, problem};
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

}  // namespace

EntryCheck checkEntry(const QString& issueText, const std::array<QString, kPositions>& boxes,
                      std::optional<int> newestIssue) {
    const auto issue = parseIssue(issueText.toStdString());
    if (!issue)
        return wrong(0, QStringLiteral("期号“%1”无效：期号应为七位数字，前四位是年份，后三位是期序（例如 2026001）。")
                            .arg(issueText.trimmed()));
    if (newestIssue && *issue <= *newestIssue)
        return wrong(0, QStringLiteral("期号 %1 不大于已存的最新期号 %2：新的一期必须排在最新一期之后，"
                                       "重复或倒序的期号会使检索出错。")
                            .arg(*issue)
                            .arg(*newestIssue));
    DrawInput draw{*issue, {}};
    for (int p = 1; p <= kPositions; ++p) {
        const QString text = boxes[p - 1].trimmed();
        if (text.isEmpty())
            return wrong(
                p, QStringLiteral("第 %1 个号码框（%2）是空的：一期要输入全部八个号码。").arg(p).arg(positionName(p)));
        bool ok = false;
        const int n = text.toInt(&ok);
        // Text that is no number counts as 0, out of range; so does a number the cast would wrap into range.
        draw.numbers[p - 1] = static_cast<int16_t>(ok && isDrawNumber(n) ? n : 0);
        const auto fault = drawFault(std::span(draw.numbers).first(static_cast<size_t>(p)));
        if (!fault)
            continue;
        if (fault->earlierPosition == 0)
            return wrong(
                p,
                QStringLiteral("第 %1 个号码框（%2）的号码 %3 不在 01～30 之内。").arg(p).arg(positionName(p), text));
        const int q = fault->earlierPosition;
        return wrong(p, QStringLiteral("第 %1 个号码框（%2）的号码 %3 与第 %4 个号码框（%5）重复："
                                       "同一期的八个号码各不相同。")
                            .arg(p)
                            .arg(positionName(p), twoDigits(n))
                            .arg(q)
                            .arg(positionName(q)));
    }
    return EntryCheck{draw, -1, {}};
}

}  // namespace drawfollow
