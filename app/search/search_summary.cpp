#include "app/search/search_summary.h"

#include "app/search/search_panel_controller.h"
#include "app/shell/ui_text.h"

#include <QStringList>

namespace drawfollow {

namespace {

QString scopeCaption(TallyScope scope) {
    switch (scope) {
        case TallyScope::Regular:
            return QStringLiteral("平码");
        case TallyScope::Special:
            return QStringLiteral("特码");
        case TallyScope::All:
            break;
    }
    return QStringLiteral("平特");
}

QString positionsText(SearchButton button, const SearchInputs& in) {
    const QString mode = in.freePositions
                             ? (in.countSpecial ? QStringLiteral("自由位（计特码）") : QStringLiteral("自由位"))
                             : QStringLiteral("固定位");
    if (button == SearchButton::Combination)
        return QStringLiteral("%1 %2任 %3 位")
            .arg(mode, in.combinationRegularOnly ? QStringLiteral("平码") : QStringLiteral("平特"))
            .arg(in.combinationSize);
    QStringList ticked;
    for (int p = 1; p <= kPositions; ++p)
        if (in.ticked[static_cast<size_t>(p - 1)])
            ticked << switchCaption(p);
    return mode + QLatin1Char(' ') +
           (ticked.isEmpty() ? QStringLiteral("未选位置") : ticked.join(QStringLiteral("、")));
}

}  // namespace

QString searchSummary(SearchButton button, const SearchInputs& in, const QString& base, const SearchResult& result) {
    const QString name = button == SearchButton::Follow ? QStringLiteral("跟随检索") : QStringLiteral("组合检索");
    const QString period = in.previousIssue ? QStringLiteral("上期") : QStringLiteral("前 %1 期").arg(in.gap);
    // What was found first: on a narrow window the line may be cut.
    return QStringLiteral("%1：第 %2 ～ %3 期中找到 %4 期；按%5，%6，%7，%8，统计%9（%10）")
        .arg(name)
        .arg(result.firstIssue)
        .arg(result.lastIssue)
        .arg(result.hits.size())
        .arg(kindCaption(in.searchKind), positionsText(button, in), period, base, kindCaption(in.resultKind),
             scopeCaption(in.scope));
}

}  // namespace drawfollow
