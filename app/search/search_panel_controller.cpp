#include "app/search/search_panel_controller.h"

#include "analysis/panel_defaults.h"
#include "analysis/panel_values.h"
#include "analysis/verification_base.h"
#include "app/history/history_controller.h"

namespace drawfollow {

SearchPanelController::SearchPanelController(HistoryController& history, AppSettings& settings, QObject* parent)
    : QObject(parent), history_(history), settings_(settings) {
    // Whatever changes the stored draws also changes the bases and the range.
    connect(&history_, &HistoryController::historyReset, this,
            [this](HistoryReset reset) { followHistory(reset == HistoryReset::Replaced); });
    connect(&history_, &HistoryController::drawAppended, this,
            [this] { followHistory(history_.history().size() == 1); });
    connect(&history_, &HistoryController::derivationSettingsApplied, this, &SearchPanelController::refreshPanel);
}

bool SearchPanelController::canSearch() const {
    return history_.historyAvailable();
}

std::optional<int> SearchPanelController::rangeStart() const {
    return drawfollow::rangeStart(issuesOf(history_.history()), settings_.previousIssue(), settings_.gap());
}

std::optional<int> SearchPanelController::rangeEnd() const {
    return drawfollow::rangeEnd(issuesOf(history_.history()));
}

void SearchPanelController::followHistory(bool rangeStartFollows) {
    verificationText_ = QString::number(history_.nextIssue());
    emit verificationTextChanged(verificationText_);
    if (const auto end = rangeEnd())
        emit rangeEndChanged(*end);
    if (rangeStartFollows)
        emitRangeStart();
    refreshPanel();
}

void SearchPanelController::selectTab(PanelTab tab) {
    tab_ = tab;
    refreshPanel();
}

void SearchPanelController::refreshPanel() {
    // Both automatic panels are kept current, so that neither ever shows stale values;
    // the tab only decides which one a search uses.
    fillHistoryBase();
    fillVerifyBase();
    if (tab_ == PanelTab::Verify)
        emitRangeEnd();
    emit positionsChanged();
}

void SearchPanelController::fillHistoryBase() {
    const Kind kind = settings_.searchKind();
    const std::vector<StoredDraw>& history = history_.history();
    const BaseLookup base = referenceDraw(history.size(), settings_.previousIssue(), settings_.gap());
    historyBase_ = {};
    if (!base.found()) {
        historyBase_.note = QString::fromStdString(base.problem);
        return;
    }
    const StoredDraw& d = history[*base.index];
    historyBase_.values = valuesOf(d, kind);
    historyBase_.note = QStringLiteral("检索依据：第 %1 期开奖号码").arg(d.issue);
    historyBase_.source = QStringLiteral("依据第 %1 期").arg(d.issue);
}

void SearchPanelController::fillVerifyBase() {
    const Kind kind = settings_.searchKind();
    const std::vector<StoredDraw>& history = history_.history();
    verifyBase_ = {};
    const VerificationLookup lookup = verificationLookup(issuesOf(history), verificationText_.toStdString(),
                                                         settings_.previousIssue(), settings_.gap());
    if (!lookup.base) {
        verifyBase_.note = QString::fromStdString(lookup.problem);
        return;
    }
    const StoredDraw& d = history[lookup.base->baseIndex];
    verifyBase_.values = valuesOf(d, kind);
    verifyBase_.note = QStringLiteral("验证第 %1 期，检索依据：第 %2 期开奖号码").arg(lookup.base->issue).arg(d.issue);
    verifyBase_.source = QStringLiteral("验证第 %1 期，依据第 %2 期").arg(lookup.base->issue).arg(d.issue);
}

std::array<QString, kPositions> SearchPanelController::baseTexts(PanelTab tab) const {
    std::array<QString, kPositions> texts;
    const BaseValues& base = tab == PanelTab::Verify ? verifyBase_ : historyBase_;
    if (tab == PanelTab::Manual || !base.values)
        return texts;
    const Kind kind = settings_.searchKind();
    for (int p = 0; p < kPositions; ++p)
        texts[p] = QString::fromStdString(valueLabel(kind, (*base.values)[p], history_.derivation().codes));
    return texts;
}

QString SearchPanelController::baseSource() const {
    switch (tab_) {
        case PanelTab::Manual:
            return QStringLiteral("依据手动输入的号码");
        case PanelTab::Verify:
            return verifyBase_.source;
        case PanelTab::History:
            break;
    }
    return historyBase_.source;
}

SearchPanel SearchPanelController::describePanel(SearchButton button, const std::array<bool, kPositions>& ticked,
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
    const DerivationSettings& derivation = history_.derivation();
    in.codes = derivation.codes;
    in.zodiacOffset = derivation.codes.offset();
    in.segmentOffset = derivation.segmentOffset;

    panel.combination = button == SearchButton::Combination;
    panel.source = tab_ == PanelTab::Manual   ? BaseSource::Manual
                   : tab_ == PanelTab::Verify ? BaseSource::Verification
                                              : BaseSource::LatestDraw;
    panel.manualValues = manualValues_;
    panel.verifiedIssue = verificationText_.toStdString();
    panel.onlyBeforeVerified = limitBeforeVerification_;
    panel.firstIssue = firstIssue.toStdString();
    panel.lastIssue = lastIssue.toStdString();
    return panel;
}

PanelSearch SearchPanelController::panelSearch(SearchButton button, const std::array<bool, kPositions>& ticked,
                                               const QString& firstIssue, const QString& lastIssue) const {
    const SearchPanel panel = describePanel(button, ticked, firstIssue, lastIssue);
    const std::vector<StoredDraw>& history = history_.history();
    const std::vector<int> issues = issuesOf(history);
    PanelSearch search = buildSearchInputs(panel, {issues, [&history](size_t i) { return history[i]; }});
    if (!canSearch())
        search.refusal = "历史数据库不可用，不能检索。检索未进行。";
    return search;
}

std::optional<SearchPanel> SearchPanelController::panelState(SearchButton button,
                                                             const std::array<bool, kPositions>& ticked,
                                                             const QString& firstIssue,
                                                             const QString& lastIssue) const {
    if (!canSearch())
        return std::nullopt;
    return describePanel(button, ticked, firstIssue, lastIssue);
}

std::shared_ptr<const HistorySnapshot> SearchPanelController::backtestHistory() {
    std::shared_ptr<const HistorySnapshot> history = canSearch() ? history_.snapshot() : nullptr;
    if (!history)
        throw StoreError("历史数据库不可用，不能回测。");
    return history;
}

void SearchPanelController::setFreePositions(bool on) {
    settings_.setFreePositions(on);
    refreshPanel();
    emitRangeStart();
}

void SearchPanelController::setCountSpecial(bool on) {
    settings_.setCountSpecial(on);
}

void SearchPanelController::setPreviousIssue(bool on) {
    settings_.setPreviousIssue(on);
    refreshPanel();
    emitRangeStart();
}

void SearchPanelController::setGap(int gap) {
    if (gap < kMinGap || gap > kMaxGap)
        return;
    settings_.setGap(gap);
    refreshPanel();
    emitRangeStart();
}

void SearchPanelController::setSearchKind(Kind kind) {
    settings_.setSearchKind(kind);
    refreshPanel();
}

void SearchPanelController::setResultKind(Kind kind) {
    settings_.setResultKind(kind);
}

void SearchPanelController::setTallyScope(TallyScope scope) {
    settings_.setTallyScope(scope);
}

void SearchPanelController::setComboRegularOnly(bool on) {
    settings_.setComboRegularOnly(on);
}

void SearchPanelController::setComboSize(int size) {
    if (size >= 1 && size <= 6)
        settings_.setComboSize(size);
}

void SearchPanelController::setBacktest(const BacktestSettings& backtest) {
    settings_.setBacktest(backtest);
}

void SearchPanelController::setManualValue(int position, std::optional<int> value) {
    if (position >= 1 && position <= kPositions)
        manualValues_[position - 1] = value;
}

void SearchPanelController::setVerificationText(const QString& text) {
    if (text == verificationText_)
        return;
    verificationText_ = text;
    // The base follows the text at once: loading it only on a tab or option click would
    // leave the previous issue's base in place for the next search.
    refreshPanel();
}

void SearchPanelController::setLimitBeforeVerification(bool on) {
    limitBeforeVerification_ = on;
    emitRangeEnd();
}

void SearchPanelController::emitRangeStart() {
    if (const auto start = rangeStart())
        emit rangeStartChanged(*start);
}

void SearchPanelController::emitRangeEnd() {
    // 仅检索该期前: the end becomes the draw before the verified issue, or the newest issue.
    if (limitBeforeVerification_) {
        if (const auto x = parseIssue(verificationText_.toStdString()))
            emit rangeEndChanged(rangeEndBefore(issuesOf(history_.history()), *x));
    } else if (const auto end = rangeEnd()) {
        emit rangeEndChanged(*end);
    }
}

}  // namespace drawfollow
