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
            emit rangeEndChanged(rangeEndBefore(issuesOf(history_), *x));
        else if (!limitBeforeVerification_ && rangeEnd())
            emit rangeEndChanged(*rangeEnd());
    }
    emit positionsChanged();
}

void MainController::fillHistoryBase() {
    const Kind kind = settings_.searchKind();
    const BaseLookup base = referenceDraw(history_.size(), settings_.previousIssue(), settings_.gap());
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
    const VerificationLookup lookup = verificationLookup(issuesOf(history_), verificationText_.toStdString(),
                                                         settings_.previousIssue(), settings_.gap());
    if (!lookup.base) {
        verifyBase_.note = QString::fromStdString(lookup.problem);
        return;
    }
    const StoredDraw& d = history_[lookup.base->baseIndex];
    verifyBase_.values = valuesOf(d, kind);
    verifyBase_.note = QStringLiteral("验证第 %1 期，检索依据：第 %2 期开奖号码").arg(lookup.base->issue).arg(d.issue);
    verifyBase_.source = QStringLiteral("验证第 %1 期，依据第 %2 期").arg(lookup.base->issue).arg(d.issue);
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

PanelSearch MainController::panelSearch(SearchButton button, const std::array<bool, kPositions>& ticked,
                                        const QString& firstIssue, const QString& lastIssue) const {
    SearchPanel panel;
    SearchSettings& in = panel.options;
    in.searchKind = settings_.searchKind();
    in.resultKind = settings_.resultKind();
    in.scope = settings_.tallyScope();
    in.freePositions = settings_.freePositions();
    in.countSpecial = settings_.countSpecial();
    in.previousIssue = settings_.previousIssue();
    in.gap = settings_.gap();
    in.ticked = ticked;
    in.combinationSize = settings_.comboSize();
    in.combinationRegularOnly = settings_.comboRegularOnly();
    // Stored codes are named and listed as the rows were derived.
    in.codes = derivation_.codes;
    in.zodiacOffset = derivation_.codes.offset();
    in.segmentOffset = derivation_.segmentOffset;

    panel.combination = button == SearchButton::Combination;
    panel.source = tab_ == PanelTab::Manual   ? BaseSource::Manual
                   : tab_ == PanelTab::Verify ? BaseSource::Verification
                                              : BaseSource::LatestDraw;
    panel.manualValues = manualValues_;
    panel.verifiedIssue = verificationText_.toStdString();
    panel.onlyBeforeVerified = limitBeforeVerification_;
    panel.firstIssue = firstIssue.toStdString();
    panel.lastIssue = lastIssue.toStdString();
    const std::vector<int> issues = issuesOf(history_);
    PanelSearch search = buildSearchInputs(panel, {issues, [this](size_t i) { return history_[i]; }});
    if (!db_)
        search.refusal = "历史数据库不可用，不能检索。检索未进行。";
    return search;
}

SearchInputs MainController::searchInputs(SearchButton button, const std::array<bool, kPositions>& ticked,
                                          const QString& firstIssue, const QString& lastIssue) const {
    return panelSearch(button, ticked, firstIssue, lastIssue).inputs;
}

QString MainController::searchRefusal(SearchButton button, const std::array<bool, kPositions>& ticked,
                                      const QString& firstIssue, const QString& lastIssue) const {
    return QString::fromStdString(panelSearch(button, ticked, firstIssue, lastIssue).refusal);
}

SearchResult MainController::runSearch(SearchButton button, const std::array<bool, kPositions>& ticked,
                                       const QString& firstIssue, const QString& lastIssue) {
    const PanelSearch search = panelSearch(button, ticked, firstIssue, lastIssue);
    if (!search.ready()) {
        SearchResult refused;
        clearResultGrids(search.inputs, refused);
        refused.message = search.refusal;
        return refused;
    }
    QElapsedTimer timer;
    timer.start();
    SearchResult result = button == SearchButton::Follow ? runFollowSearch(*db_, search.inputs)
                                                         : runCombinationSearch(*db_, search.inputs);
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
            emit rangeEndChanged(rangeEndBefore(issuesOf(history_), *x));
    } else if (const auto end = rangeEnd()) {
        emit rangeEndChanged(*end);
    }
}

}  // namespace drawfollow
