#include "analysis/pick_book.h"

#include "analysis/pick_panel.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace drawfollow {

namespace {

constexpr const char* kFollow = "follow";
constexpr const char* kCombination = "combination";

SearchPanel panelOfRecord(const PickRecord& record) {
    const std::optional<SearchPanel> panel = pickPanelOf(record.panel, record.search == kCombination);
    if (!panel || (record.search != kFollow && record.search != kCombination) || record.top < 1)
        throw StoreError("预测记录第 " + std::to_string(record.id) + " 条已损坏，不是本程序写入的内容。");
    return *panel;
}

// The record in its own terms: its values named, and scored against its draw when stored.
// The draw's values are derived afresh from its numbers with the record's code table and
// offsets, so that a history derived again under other settings scores it as it was meant.
ScoredPick scored(const PickRecord& record, const std::vector<StoredDraw>& draws) {
    const SearchPanel panel = panelOfRecord(record);
    const SearchSettings& o = panel.options;
    const TallyRules rules(o);
    ScoredPick pick{record, {}, std::nullopt};
    for (const int v : record.values)
        pick.values.push_back(rules.valueCell(v));
    const auto drawn = std::ranges::lower_bound(draws, record.issue, {}, &StoredDraw::issue);
    if (drawn != draws.end() && drawn->issue == record.issue) {
        Numbers numbers{};
        for (int p = 0; p < kPositions; ++p)
            numbers[p] = drawn->own[index(Kind::Number)][p];
        const StoredDraw draw{record.issue,
                              attributesOf(numbers, zodiacYearOfIssue(record.issue), o.codes, o.segmentOffset)};
        pick.score = scoreChosen(o, rules, record.values, draw);
    }
    return pick;
}

void add(PickTotals& totals, const ChosenScore& score) {
    ++totals.scored;
    totals.observed += score.hit;
    totals.expected += score.odds.mean;
    totals.variance += score.odds.variance;
}

void conclude(PickTotals& totals) {
    if (totals.variance > 0) {
        totals.z = (static_cast<double>(totals.observed) - totals.expected) / std::sqrt(totals.variance);
        totals.p = pickP(*totals.z, totals.mode);
    }
    totals.verdict = pickVerdict(totals);
}

// Adds the record of `values` as the pick for the issue after the newest stored draw, within
// the caller's transaction.
ScoredPick storedPick(HistoryDb& db, const SearchPanel& panel, int top, PickMode mode, const std::vector<int>& values,
                      const std::string& made) {
    const std::optional<DrawRow> newest = db.newest();
    if (!newest)
        throw StoreError("历史数据库中没有开奖号码，预测未记录。");
    PickRecord record;
    record.made = made;
    record.newestIssue = newest->issue;
    record.issue = newest->nextIssue;
    record.search = panel.combination ? kCombination : kFollow;
    record.panel = pickPanelText(panel);
    record.exclude = mode == PickMode::Exclude;
    record.top = top;
    record.values = values;
    record.id = addPick(db, record);
    return scored(record, {});
}

}  // namespace

std::string ScoredPick::valuesLine() const {
    std::string line;
    for (const GridCell& value : values) {
        if (!line.empty())
            line += ' ';
        value.appendText(line);
    }
    return line;
}

GridCell ScoredPick::valuesCell() const {
    return values.size() == 1 ? values.front() : GridCell(valuesLine());
}

std::string ScoredPick::modeText() const {
    return (mode() == PickMode::Top ? "前 " : "杀号 后 ") + std::to_string(record.top) + " 个";
}

CellGrid pickBookTable(const PickBook& book) {
    CellGrid grid = {{"编号", "期号", "记录时间（UTC）", "方式", "结果值", "状态", "开出", "期望"}};
    for (const ScoredPick& pick : book.picks) {
        const std::optional<ChosenScore>& s = pick.score;
        grid.push_back({GridCell::whole(pick.record.id), GridCell::whole(pick.record.issue), pick.record.made,
                        pick.modeText(), pick.valuesCell(), s ? "已开奖" : "待开奖",
                        s ? GridCell::whole(s->hit) : GridCell(), s ? GridCell::fixed(s->odds.mean, 3) : GridCell()});
    }
    return grid;
}

std::vector<ChosenScore> scoredInIssueOrder(const PickBook& book, PickMode mode) {
    std::vector<const ScoredPick*> scored;
    for (const ScoredPick& pick : book.picks)
        if (pick.score && pick.mode() == mode)
            scored.push_back(&pick);
    std::ranges::sort(scored, [](const ScoredPick* a, const ScoredPick* b) {
        return std::pair(a->record.issue, a->record.id) < std::pair(b->record.issue, b->record.id);
    });
    std::vector<ChosenScore> scores;
    scores.reserve(scored.size());
    for (const ScoredPick* pick : scored)
        scores.push_back(*pick->score);
    return scores;
}

PickBook readPickBook(HistoryDb& db) {
    const std::vector<PickRecord> records = readPicks(db);
    return scorePickBook(records, records.empty() ? std::vector<StoredDraw>{} : db.drawValues());
}

PickBook scorePickBook(const std::vector<PickRecord>& records, const std::vector<StoredDraw>& draws) {
    PickBook book;
    for (const PickRecord& record : records) {
        ScoredPick pick = scored(record, draws);
        if (pick.score)
            add(pick.record.exclude ? book.exclude : book.top, *pick.score);
        book.picks.push_back(std::move(pick));
    }
    std::ranges::stable_sort(book.picks, [](const ScoredPick& a, const ScoredPick& b) {
        if (a.score.has_value() != b.score.has_value())
            return !a.score.has_value();
        return a.record.id > b.record.id;
    });
    conclude(book.top);
    conclude(book.exclude);
    return book;
}

ScoredPick recordPick(HistoryDb& db, const SearchPanel& panel, int top, PickMode mode, const std::string& made) {
    // Nothing may be stored between the reading of the history and the record.
    WriteTransaction tx(db);
    const HistorySnapshot history = HistorySnapshot::read(db, HistorySnapshot::kindsOf(panel.options));
    ScoredPick pick = storedPick(db, panel, top, mode, choosePick(history, panel, top, mode), made);
    tx.commit();
    return pick;
}

std::vector<int> choosePick(const HistorySnapshot& history, const SearchPanel& panel, int top, PickMode mode) {
    const Backtest backtest(history, panel);
    const std::optional<BacktestTarget> choice = backtest.nextChoice(top, mode);
    if (!choice)
        throw StoreError("当前历史上检索没有命中（或历史不足以取得基准期），预测未记录。");
    return choice->chosen;
}

ScoredPick storePick(HistoryDb& db, const HistorySnapshot& history, const SearchPanel& panel, int top, PickMode mode,
                     const std::vector<int>& values, const std::string& made) {
    WriteTransaction tx(db);
    const std::optional<DrawRow> newest = db.newest();
    if (dataVersion(db) != history.version() || !newest || history.issues().empty() ||
        newest->issue != history.issues().back())
        throw StoreError("选取预测期间历史数据库已被另一个程序改动，预测未记录；请再记录一次。");
    ScoredPick pick = storedPick(db, panel, top, mode, values, made);
    tx.commit();
    return pick;
}

std::string utcTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
    return text;
}

std::string pickVerdict(const PickTotals& totals) {
    if (!totals.p)
        return totals.mode == PickMode::Top ? "还没有已开奖的预测可与随机开奖比较"
                                            : "还没有已开奖的杀号可与随机开奖比较";
    std::string verdict = std::to_string(totals.scored) + (totals.mode == PickMode::Top ? " 条预测" : " 条杀号") +
                          "已开奖评分：" +
                          againstChance(totals.mode, totals.observed, totals.expected, *totals.z, *totals.p);
    if (totals.scored < kFewChanceTrials)
        verdict += "；已评分的记录少，结论不可靠";
    return verdict;
}

}  // namespace drawfollow
