// The search panel's half of the controller: the position values of the three tabs, the
// options that steer a search and the searches themselves.
#include "analysis/hit_tally.h"
#include "app/main_controller.h"
#include "app/timing_log.h"

#include <QElapsedTimer>

namespace drawfollow {

void MainController::selectTab(PanelTab tab) {
    tab_ = tab;
    refreshPanel();
}

void MainController::refreshPanel() {
    // Both automatic panels are kept current, so that neither ever shows stale values;
    // the tab only decides which one a search uses.
    fillHistoryBase();
    fillVerifyBase();
    if (tab_ == PanelTab::Verify) {
        // The range ends before the verified issue, or at the newest draw.
        const auto x = parseIssue(verificationText_.toStdString());
        if (limitBeforeVerification_ && x)
            emit rangeEndChanged(rangeEndBefore(history_, *x));
        else if (!limitBeforeVerification_ && rangeEnd())
            emit rangeEndChanged(*rangeEnd());
    }
    emit positionsChanged();
}

void MainController::fillHistoryBase() {
    const Kind kind = settings_.searchKind();
    const BaseLookup base = referenceDraw(history_, settings_.previousIssue(), settings_.gap());
    historyBase_ = {};
    if (!base.found()) {
        historyBase_.note = QString::fromStdString(base.problem);
        return;
    }
    const StoredDraw& d = history_[*base.index];
    historyBase_.values = valuesOf(d, kind);
    historyBase_.note = QStringLiteral("检索依据：第 %1 期开奖号码").arg(d.issue);
    historyBase_.source = QStringLiteral("依据第 %1 期").arg(d.issue);
}

void MainController::fillVerifyBase() {
    const Kind kind = settings_.searchKind();
    verifyBase_ = {};
    const auto x = parseIssue(verificationText_.toStdString());
    if (!x) {
        verifyBase_.note = QStringLiteral("验证期号“%1”无效：应为七位数字，例如 2026001。").arg(verificationText_);
        return;
    }
    const VerificationLookup lookup = verificationLookup(history_, *x, settings_.previousIssue(), settings_.gap());
    if (!lookup.base) {
        verifyBase_.note = QString::fromStdString(lookup.problem);
        return;
    }
    const StoredDraw& d = history_[lookup.base->baseIndex];
    verifyBase_.values = valuesOf(d, kind);
    verifyBase_.note = QStringLiteral("验证第 %1 期，检索依据：第 %2 期开奖号码").arg(*x).arg(d.issue);
    verifyBase_.source = QStringLiteral("验证第 %1 期，依据第 %2 期").arg(*x).arg(d.issue);
}

std::array<QString, kPositions> MainController::baseTexts(PanelTab tab) const {
    std::array<QString, kPositions> texts;
    const BaseValues& base = tab == PanelTab::Verify ? verifyBase_ : historyBase_;
    if (tab == PanelTab::Manual || !base.values)
        return texts;
    const Kind kind = settings_.searchKind();
    for (int p = 0; p < kPositions; ++p)
        texts[p] = QString::fromStdString(valueLabel(kind, (*base.values)[p], derivation_.codes));
    return texts;
}

std::array<std::optional<int>, kPositions> MainController::positionValues() const {
    if (tab_ == PanelTab::Manual)
        return manualValues_;
    std::array<std::optional<int>, kPositions> values{};
    const BaseValues& base = tab_ == PanelTab::Verify ? verifyBase_ : historyBase_;
    if (base.values)
        for (int p = 0; p < kPositions; ++p)
            values[p] = (*base.values)[p];
    return values;
}

SearchInputs MainController::searchInputs(SearchButton button, const std::array<bool, kPositions>& ticked,
                                          const QString& firstIssue, const QString& lastIssue) const {
    SearchInputs in;
    in.searchKind = settings_.searchKind();
    in.resultKind = settings_.resultKind();
    in.scope = settings_.tallyScope();
    in.freePositions = settings_.freePositions();
    in.countSpecial = settings_.countSpecial();
    in.previousIssue = settings_.previousIssue();
    in.gap = settings_.gap();
    in.ticked = ticked;
    in.firstIssue = firstIssue.toStdString();
    in.lastIssue = lastIssue.toStdString();
    in.combinationSize = settings_.comboSize();
    in.combinationRegularOnly = settings_.comboRegularOnly();
    // Stored codes are named and listed as the rows were derived.
    in.codes = derivation_.codes;
    in.zodiacOffset = derivation_.codes.offset();
    in.segmentOffset = derivation_.segmentOffset;
    // The values a search needs: the ticked positions (follow search) or the whole pool
    // (combination search). A needed position without a value refuses the search.
    const auto values = positionValues();
    const int pool = settings_.comboRegularOnly() ? kRegularPositions : kPositions;
    PositionValues v{};
    bool complete = true;
    for (int p = 0; p < kPositions; ++p) {
        const bool needed = button == SearchButton::Follow ? ticked[p] : p < pool;
        if (values[p])
            v[p] = *values[p];
        else if (needed)
            complete = false;
    }
    if (complete)
        in.values = v;
    return in;
}

QString MainController::searchRefusal(SearchButton button, const std::array<bool, kPositions>& ticked) const {
    if (!db_)
        return QStringLiteral("历史数据库不可用，不能检索。");
    if (tab_ != PanelTab::Manual) {
        const BaseValues& base = tab_ == PanelTab::Verify ? verifyBase_ : historyBase_;
        return base.values ? QString() : base.note;
    }
    const int pool = settings_.comboRegularOnly() ? kRegularPositions : kPositions;
    for (int p = 1; p <= kPositions; ++p) {
        const bool needed = button == SearchButton::Follow ? ticked[p - 1] : p <= pool;
        if (needed && !manualValues_[p - 1])
            return QStringLiteral("手动输入号的第 %1 位（%2）没有数值。").arg(p).arg(positionName(p));
    }
    return {};
}

SearchResult MainController::runSearch(SearchButton button, const std::array<bool, kPositions>& ticked,
                                       const QString& firstIssue, const QString& lastIssue) {
    const SearchInputs inputs = searchInputs(button, ticked, firstIssue, lastIssue);
    const QString refusal = searchRefusal(button, ticked);
    if (!refusal.isEmpty()) {
        SearchResult refused;
        clearResultGrids(inputs, refused);
        refused.message = (refusal + QStringLiteral("检索未进行。")).toStdString();
        return refused;
    }
    QElapsedTimer timer;
    timer.start();
    SearchResult result =
        button == SearchButton::Follow ? runFollowSearch(*db_, inputs) : runCombinationSearch(*db_, inputs);
    qCInfo(lcTiming, "%s search: %.1f ms, %zu hits", button == SearchButton::Follow ? "follow" : "combination",
           timer.nsecsElapsed() / 1e6, result.hits.size());
    return result;
}

void MainController::setFreePositions(bool on) {
    settings_.setFreePositions(on);
    refreshPanel();
    emitRangeStart();
}

void MainController::setCountSpecial(bool on) {
    settings_.setCountSpecial(on);
}

void MainController::setPreviousIssue(bool on) {
    settings_.setPreviousIssue(on);
    refreshPanel();
    emitRangeStart();
}

void MainController::setGap(int gap) {
    if (gap < kMinGap || gap > kMaxGap)
        return;
    settings_.setGap(gap);
    refreshPanel();
    emitRangeStart();
}

void MainController::setSearchKind(Kind kind) {
    settings_.setSearchKind(kind);
    refreshPanel();
}

void MainController::setResultKind(Kind kind) {
    settings_.setResultKind(kind);
}

void MainController::setTallyScope(TallyScope scope) {
    settings_.setTallyScope(scope);
}

void MainController::setComboRegularOnly(bool on) {
    settings_.setComboRegularOnly(on);
}

void MainController::setComboSize(int size) {
    if (size >= 1 && size <= 6)
        settings_.setComboSize(size);
}

void MainController::setManualValue(int position, std::optional<int> value) {
    if (position >= 1 && position <= kPositions)
        manualValues_[position - 1] = value;
}

void MainController::setVerificationText(const QString& text) {
    if (text == verificationText_)
        return;
    verificationText_ = text;
    // The base follows the text at once: loading it only on a tab or option click would
    // leave the previous issue's base in place for the next search.
    refreshPanel();
}

void MainController::setLimitBeforeVerification(bool on) {
    limitBeforeVerification_ = on;
    // Check4: the end becomes the draw before Text4's issue, or the newest issue.
    if (on) {
        if (const auto x = parseIssue(verificationText_.toStdString()))
            emit rangeEndChanged(rangeEndBefore(history_, *x));
    } else if (const auto end = rangeEnd()) {
        emit rangeEndChanged(*end);
    }
}

}  // namespace drawfollow
