#include "app/main_controller.h"

#include "analysis/result_display.h"
#include "app/history_snapshot.h"
#include "io/history_maintenance.h"
#include "app/timing_log.h"

#include <QElapsedTimer>
#include <QLoggingCategory>

#include <SQLiteCpp/Exception.h>

Q_LOGGING_CATEGORY(lcTiming, "drawfollow.timing", QtWarningMsg)

namespace drawfollow {

namespace {

QString fromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

}  // namespace

MainController::MainController(AppSettings& settings, const Clock& clock, QObject* parent)
    : QObject(parent), settings_(settings), clock_(clock) {}

MainController::~MainController() = default;

void MainController::start(const DataFolderChoice& folder) {
    openDatabase(folder);
    // Zodiac year and code table of the next issue.
    nextIssue_ = db_ ? drawfollow::nextIssue(*db_, clock_) : clock_.currentYear() * 1000 + 1;
    verificationText_ = QString::number(nextIssue_);
    zodiacYear_ = startupCodeTableYear(nextIssue_);
    codes_ = ZodiacCodeTable::build(settings_.sequentialZodiac(), settings_.zodiacOffset(), zodiacYear_);
    fillHistoryBase();
    fillVerifyBase();
}

void MainController::openDatabase(const DataFolderChoice& folder) {
    if (!folder.problem.isEmpty()) {
        storeProblem_ = folder.problem;
        return;
    }
    const std::filesystem::path file = folder.folder / HistoryDb::kFileName;
    databaseFile_ = file;
    try {
        auto db = std::make_unique<HistoryDb>(file);
        history_ = readSnapshot(*db);
        db_ = std::move(db);
    } catch (const StoreError& e) {
        storeProblem_ = fromUtf8(e.what());
    } catch (const std::exception& e) {
        storeProblem_ = QStringLiteral("无法读取历史数据库文件“%1”：%2")
                            .arg(QString::fromStdString(file.string()), fromUtf8(e.what()));
    }
    if (!db_)
        history_.clear();
}

std::optional<int> MainController::rangeStart() const {
    return drawfollow::rangeStart(history_, settings_.previousIssue(), settings_.gap());
}

std::optional<int> MainController::rangeEnd() const { return drawfollow::rangeEnd(history_); }

DerivationSettings MainController::derivation() const { return DerivationSettings{settings_.segmentOffset(), codes_}; }

EntryOutcome MainController::storeDraw(const QString& issueText, const std::array<QString, kPositions>& boxes) {
    QElapsedTimer timer;
    timer.start();
    if (!db_)
        return {false, -1, QStringLiteral("历史数据库不可用，不能保存号码。\n%1").arg(storeProblem_)};
    const auto issue = parseIssue(issueText.toStdString());
    if (!issue)
        return {false, 0,
                QStringLiteral("期号“%1”无效：期号应为七位数字，前四位是年份，后三位是期序（例如 2026001）。")
                    .arg(issueText.trimmed())};
    if (!history_.empty() && *issue <= history_.back().issue)
        return {false, 0,
                QStringLiteral("期号 %1 不大于已存的最新期号 %2：新的一期必须排在最新一期之后，"
                               "重复或倒序的期号会使检索出错。")
                    .arg(*issue)
                    .arg(history_.back().issue)};
    Numbers numbers{};
    for (int p = 1; p <= kPositions; ++p) {
        const QString text = boxes[p - 1].trimmed();
        if (text.isEmpty())
            return {false, p, QStringLiteral("第 %1 个号码框（%2）是空的：一期要输入全部八个号码。")
                                  .arg(p)
                                  .arg(positionName(p))};
        bool ok = false;
        const int n = text.toInt(&ok);
        if (!ok || n < 1 || n > 30)
            return {false, p, QStringLiteral("第 %1 个号码框（%2）的号码 %3 不在 01～30 之内。")
                                  .arg(p)
                                  .arg(positionName(p), text)};
        for (int q = 1; q < p; ++q)
            if (numbers[q - 1] == n)
                return {false, p, QStringLiteral("第 %1 个号码框（%2）的号码 %3 与第 %4 个号码框（%5）重复："
                                                 "同一期的八个号码各不相同。")
                                      .arg(p)
                                      .arg(positionName(p), twoDigits(n))
                                      .arg(q)
                                      .arg(positionName(q))};
        numbers[p - 1] = static_cast<int16_t>(n);
    }
    try {
        const DrawRow row = db_->append(DrawInput{*issue, numbers}, derivation());
        history_.push_back(storedDrawOf(row));
    } catch (const std::exception& e) {
        return {false, -1, QStringLiteral("号码未能保存：%1").arg(fromUtf8(e.what()))};
    }
    const qint64 stored = timer.nsecsElapsed();
    // The zodiac year of the draw just built becomes the current one.
    zodiacYear_ = zodiacYearOfIssue(*issue);
    emit drawAppended();
    afterHistoryChange(history_.size() == 1);
    qCInfo(lcTiming, "hand entry of %d: stored in %.2f ms, with every refresh %.2f ms (%zu draws)", *issue,
           stored / 1e6, timer.nsecsElapsed() / 1e6, history_.size());
    return {true, -1, {}};
}

QString MainController::deleteNewest() {
    if (!db_)
        return QStringLiteral("历史数据库不可用。\n%1").arg(storeProblem_);
    QString problem;
    try {
        // No confirmation: the newest row goes, then the file is compacted.
        const MaintenanceResult result = deleteNewestDraw(*db_);
        if (!result.compactionProblem.empty())
            problem = QStringLiteral("最后一期已删除，但数据库文件未能压缩：%1").arg(fromUtf8(result.compactionProblem));
        history_ = readSnapshot(*db_);
    } catch (const std::exception& e) {
        return QStringLiteral("未能删除最后一期：%1").arg(fromUtf8(e.what()));
    }
    emit historyReset();
    afterHistoryChange(history_.empty());
    return problem;
}

void MainController::afterHistoryChange(bool firstIssueChanged) {
    showNextIssue();
    if (const auto end = rangeEnd())
        emit rangeEndChanged(*end);
    if (firstIssueChanged)
        emitRangeStart();
    refreshPanel();
}

void MainController::showNextIssue() {
    // QihaoXianshi: the next issue, and Text4 takes Text1's text.
    nextIssue_ = db_ ? drawfollow::nextIssue(*db_, clock_) : clock_.currentYear() * 1000 + 1;
    emit nextIssueChanged(nextIssue_);
    verificationText_ = QString::number(nextIssue_);
    emit verificationTextChanged(verificationText_);
}

void MainController::emitRangeStart() {
    if (const auto start = rangeStart())
        emit rangeStartChanged(*start);
}

// ---- the panel ----

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
    const Kind kind = kAllKinds[settings_.searchKind()];
    const BaseLookup base = referenceDraw(history_, settings_.previousIssue(), settings_.gap());
    historyBase_ = {};
    if (!base.found()) {
        historyBase_.note = fromUtf8(base.problem);
        return;
    }
    const StoredDraw& d = history_[*base.index];
    historyBase_.values = valuesOf(d, kind);
    historyBase_.baseIssue = d.issue;
    historyBase_.note = QStringLiteral("检索依据：第 %1 期开奖号码").arg(d.issue);
}

void MainController::fillVerifyBase() {
    const Kind kind = kAllKinds[settings_.searchKind()];
    verifyBase_ = {};
    const auto x = parseIssue(verificationText_.toStdString());
    if (!x) {
        verifyBase_.note = QStringLiteral("验证期号“%1”无效：应为七位数字，例如 2026001。").arg(verificationText_);
        return;
    }
    const VerificationLookup lookup = verificationLookup(history_, *x, settings_.previousIssue(), settings_.gap());
    if (!lookup.base) {
        verifyBase_.note = fromUtf8(lookup.problem);
        return;
    }
    const StoredDraw& d = history_[lookup.base->baseIndex];
    verifyBase_.values = valuesOf(d, kind);
    verifyBase_.baseIssue = d.issue;
    verifyBase_.note = QStringLiteral("验证第 %1 期，检索依据：第 %2 期开奖号码").arg(*x).arg(d.issue);
}

std::array<QString, kPositions> MainController::baseTexts(PanelTab tab) const {
    std::array<QString, kPositions> texts;
    const BaseValues& base = tab == PanelTab::Verify ? verifyBase_ : historyBase_;
    if (tab == PanelTab::Manual || !base.values)
        return texts;
    const Kind kind = kAllKinds[settings_.searchKind()];
    for (int p = 0; p < kPositions; ++p)
        texts[p] = fromUtf8(valueDisplay(kind, (*base.values)[p], codes_));
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
    in.searchKind = kAllKinds[settings_.searchKind()];
    in.resultKind = kAllKinds[settings_.resultKind()];
    in.scope = static_cast<TallyScope>(settings_.tallyScope());
    in.freePositions = settings_.freePositions();
    in.countSpecial = settings_.countSpecial();
    in.previousIssue = settings_.previousIssue();
    in.gap = settings_.gap();
    in.ticked = ticked;
    in.firstIssue = firstIssue.toStdString();
    in.lastIssue = lastIssue.toStdString();
    in.combinationSize = settings_.comboSize();
    in.combinationRegularOnly = settings_.comboRegularOnly();
    in.codes = codes_;
    in.zodiacOffset = settings_.zodiacOffset();
    in.segmentOffset = settings_.segmentOffset();
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
        showEmptyGrids(inputs, refused);
        refused.message = (refusal + QStringLiteral("检索未进行。")).toStdString();
        return refused;
    }
    QElapsedTimer timer;
    timer.start();
    SearchResult result = button == SearchButton::Follow ? runFollowSearch(*db_, inputs)
                                                         : runCombinationSearch(*db_, inputs);
    qCInfo(lcTiming, "%s search: %.1f ms, %zu hits", button == SearchButton::Follow ? "follow" : "combination",
           timer.nsecsElapsed() / 1e6, result.hits.size());
    return result;
}

void MainController::setFreePositions(bool on) {
    settings_.setFreePositions(on);
    refreshPanel();
    emitRangeStart();
}

void MainController::setCountSpecial(bool on) { settings_.setCountSpecial(on); }

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

void MainController::setSearchKind(int kind) {
    if (kind < 0 || kind >= kKinds)
        return;
    settings_.setSearchKind(kind);
    refreshPanel();
}

void MainController::setResultKind(int kind) {
    if (kind >= 0 && kind < kKinds)
        settings_.setResultKind(kind);
}

void MainController::setTallyScope(int scope) {
    if (scope >= 0 && scope <= 2)
        settings_.setTallyScope(scope);
}

void MainController::setComboRegularOnly(bool on) { settings_.setComboRegularOnly(on); }

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

// ---- the settings menu ----

void MainController::setZodiacOffset(int offset) {
    if (offset != 0 && offset != 1)
        return;
    settings_.setZodiacOffset(offset);
    // The only place besides start-up where the code table follows the mode.
    codes_ = ZodiacCodeTable::build(settings_.sequentialZodiac(), offset, zodiacYear_);
    emit positionsChanged();
}

void MainController::setSegmentOffset(int offset) {
    if (offset == 0 || offset == 1)
        settings_.setSegmentOffset(offset);
}

void MainController::setSequentialZodiac(bool on) { settings_.setSequentialZodiac(on); }

}  // namespace drawfollow
