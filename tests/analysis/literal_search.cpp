#include "literal_search.h"

#include "analysis/hit_tally.h"
#include "analysis/search_panel.h"
#include "analysis/tally_rules.h"
#include "support/sql_dialect.h"

#include <SQLiteCpp/Statement.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>

namespace drawfollow::test {

namespace {

// The issues of the rows a sequence marked, in issue order, and its condition count.
struct Marking {
    std::vector<int> marked;
    int conditions = 0;
};
using Text = std::optional<std::string>;

std::string suffix(Kind k) {
    return std::string(kListSuffixes[index(k)]);
}
std::string letter(Kind k) {
    return std::string(1, kKindLetters[index(k)]);
}

std::string textOf(Kind k, int v) {
    char buf[16];
    const bool twoDigits = k == Kind::Number || k == Kind::Zodiac || k == Kind::DigitSum;
    std::snprintf(buf, sizeof buf, twoDigits ? "%02d" : "%d", v);
    return buf;
}

// Counters sized to the value range of a kind; none for a value outside it.
class Counters {
public:
    explicit Counters(Kind k) : range_(kCounterRanges[index(k)]) {}
    int* at(int v) { return range_.contains(v) ? &counts_[v] : nullptr; }

private:
    ValueRange range_;
    std::map<int, int> counts_;
};

std::vector<int> issues(HistoryDb& db) {
    SQLite::Statement q(db.connection(), "SELECT * FROM lishi ORDER BY SQQH");
    std::vector<int> v;
    while (q.executeStep())
        v.push_back(q.getColumn("SQQH").getInt());
    return v;
}

std::vector<Text> textColumn(HistoryDb& db, const std::string& field) {
    SQLite::Statement q(db.connection(), "SELECT * FROM lishi ORDER BY SQQH");
    std::vector<Text> v;
    while (q.executeStep()) {
        const SQLite::Column c = q.getColumn(field.c_str());
        v.push_back(c.isNull() ? Text() : Text(c.getString()));
    }
    return v;
}

std::vector<int> intColumn(HistoryDb& db, const std::string& field) {
    SQLite::Statement q(db.connection(), "SELECT * FROM lishi ORDER BY SQQH");
    std::vector<int> v;
    while (q.executeStep())
        v.push_back(q.getColumn(field.c_str()).getInt());
    return v;
}

// Writes every row in issue order, one UPDATE each.
void writeEveryRow(HistoryDb& db, const std::string& field, const std::vector<Text>& texts) {
    const auto keys = issues(db);
    SQLite::Statement write(db.connection(), "UPDATE Lishi SET " + field + " = ? WHERE SQQH = ?");
    for (size_t r = 0; r < keys.size(); ++r) {
        if (texts[r])
            write.bind(1, *texts[r]);
        else
            write.bind(1);
        write.bind(2, keys[r]);
        write.exec();
        write.reset();
    }
}

void writeEveryRow(HistoryDb& db, const std::string& field, const std::vector<int>& values) {
    const auto keys = issues(db);
    SQLite::Statement write(db.connection(), "UPDATE Lishi SET " + field + " = ? WHERE SQQH = ?");
    for (size_t r = 0; r < keys.size(); ++r) {
        write.bind(1, values[r]);
        write.bind(2, keys[r]);
        write.exec();
        write.reset();
    }
}

// Row r ≥ N − 1 gets the list of row r − N + 1; the rows before it an empty text.
void copyBackList(HistoryDb& db, const std::string& from, const std::string& to, int n) {
    const auto source = textColumn(db, from);
    std::vector<Text> target(source.size());
    for (size_t r = 0; r < source.size(); ++r)
        target[r] = r + 1 >= static_cast<size_t>(n) ? source[r + 1 - n] : Text("");
    writeEveryRow(db, to, target);
}

// The reference copy of one position: the value one (上期) or N (前期) rows back, else 0.
void rebuildReference(HistoryDb& db, const SearchInputs& in, int position) {
    const std::string source = "L" + std::to_string(position) + letter(in.searchKind);
    const auto own = intColumn(db, source);
    const size_t back = in.previousIssue ? 1 : in.gap;
    std::vector<int> target(own.size());
    for (size_t r = 0; r < own.size(); ++r)
        target[r] = r >= back ? own[r - back] : 0;
    writeEveryRow(db, source + (in.previousIssue ? "S" : "P"), target);
    if (!in.previousIssue)
        copyBackList(db, "txtHisLst", "txtHisPreLst", in.gap);
}

// The free mode's match field, after the 前期 lists have been rebuilt.
std::string prepareMatchField(HistoryDb& db, const SearchInputs& in) {
    if (in.previousIssue)
        return "txtHisLst" + suffix(in.searchKind);
    copyBackList(db, "txtHisLst" + suffix(in.searchKind), "txtHisPreLst" + suffix(in.searchKind), in.gap);
    copyBackList(db, "txtHisLst", "txtHisPreLst", in.gap);
    return "txtHisPreLst" + suffix(in.searchKind);
}

std::string copyToScratch(const std::string& field, bool whole) {
    if (whole)
        return "UPDATE [Lishi] SET [txtHisP6]= [" + field + "]";
    return "UPDATE [Lishi] SET [txtHisP6]= LEFT([" + field + "],LEN([" + field + "])-4)";
}

// The rows the statements marked, selected by the condition the range query appends.
std::vector<int> markedRows(HistoryDb& db, const std::string& rowCondition) {
    SQLite::Statement q(db.connection(), toSqlite("SELECT SQQH FROM [lishi] WHERE [SQQH] IS NOT NULL" + rowCondition +
                                                  " ORDER BY SQQH"));
    std::vector<int> issues;
    while (q.executeStep())
        issues.push_back(q.getColumn(0).getInt());
    return issues;
}

Marking literalFollow(HistoryDb& db, const SearchInputs& in) {
    const Kind kind = in.searchKind;
    const auto& values = *in.values;
    std::string field;
    if (in.freePositions)
        field = prepareMatchField(db, in);
    executeDialect(db, "UPDATE [Lishi] SET [intTh]=0");
    int n = 0;
    if (in.freePositions) {
        if (!in.countSpecial)
            executeDialect(db, copyToScratch(field, false));
        Counters counters(kind);
        for (int p = 1; p <= kPositions; ++p) {
            if (!in.ticked[p - 1])
                continue;
            const int v = values[p - 1];
            ++n;
            std::string pattern = "*" + textOf(kind, v) + "*";
            if (kind != Kind::Number) {
                int* counter = counters.at(v);
                if (!counter)
                    continue;  // the statement fails and is skipped
                pattern = "*" + std::to_string(++*counter) + "X" + textOf(kind, v) + "*";
            }
            const std::string tested = in.countSpecial ? "[" + field + "]" : "[txtHisP6]";
            executeDialect(db, "UPDATE [Lishi] SET [intTh]=([intTh] +1) WHERE " + tested + " LIKE \"" + pattern + "\"");
        }
    } else {
        bool walked = false;
        for (int p = 1; p <= kPositions; ++p) {
            if (!in.ticked[p - 1])
                continue;
            rebuildReference(db, in, p);
            walked = true;
            ++n;
            executeDialect(db, "UPDATE [Lishi] SET [intTh]=([intTh] +1) WHERE [L" + std::to_string(p) + letter(kind) +
                                   (in.previousIssue ? "S" : "P") + "] = " + std::to_string(values[p - 1]));
        }
        // A fixed 前期 search without ticks still lists the draw N issues back.
        if (!walked && !in.previousIssue)
            copyBackList(db, "txtHisLst", "txtHisPreLst", in.gap);
    }
    return {markedRows(db, " AND [intTh] = " + std::to_string(n)), n};
}

Marking literalCombination(HistoryDb& db, const SearchInputs& in) {
    const Kind kind = in.searchKind;
    const auto& values = *in.values;
    std::string field;
    if (in.freePositions)
        field = prepareMatchField(db, in);
    executeDialect(db, "UPDATE [Lishi] SET [bolOk]= FALSE");
    const int p = in.combinationRegularOnly ? 7 : 8;
    const int k = in.combinationSize;
    if (in.freePositions)
        executeDialect(db, copyToScratch(field, in.countSpecial));
    else
        for (int j = 1; j <= kPositions; ++j)
            rebuildReference(db, in, j);

    auto runSet = [&](const std::vector<int>& set) {
        executeDialect(db, "UPDATE [Lishi] SET [intTh]=0");
        if (in.freePositions) {
            Counters counters(kind);
            for (int j : set)
                if (int* c = counters.at(values[j - 1]))
                    ++*c;
            for (int j : set) {
                const int* c = counters.at(values[j - 1]);
                if (!c)
                    continue;
                executeDialect(db, "UPDATE [Lishi] SET [intTh]=([intTh] +1) WHERE [txtHisP6] LIKE \"*" +
                                       std::to_string(*c) + "X" + textOf(kind, values[j - 1]) + "*\"");
            }
        } else {
            std::array<bool, kPositions + 1> marker{};
            for (int j : set)
                marker[j] = true;
            for (int j = 1; j <= kPositions; ++j)
                if (marker[j])
                    executeDialect(db, "UPDATE [Lishi] SET [intTh]=([intTh] +1) WHERE [L" + std::to_string(j) +
                                           letter(kind) + (in.previousIssue ? "S" : "P") +
                                           "] = " + std::to_string(values[j - 1]));
        }
        executeDialect(db, "UPDATE [Lishi] SET [bolOk]= TRUE WHERE [intTh] = " + std::to_string(k));
    };
    // k nested loops, each inner position starting one above the outer one.
    std::vector<int> set;
    auto enumerate = [&](auto& self, int from) -> void {
        if (static_cast<int>(set.size()) == k) {
            runSet(set);
            return;
        }
        for (int a = from; a <= p; ++a) {
            set.push_back(a);
            self(self, a + 1);
            set.pop_back();
        }
    };
    if (k >= 1 && k <= 6)
        enumerate(enumerate, 1);
    return {markedRows(db, " AND [bolOk]= TRUE"), k};
}

// The detail grid's lines read row by row as the tally step's statements read them, the
// tally counted from them and stored, all after the marking in its transaction.
void tallyStoredHits(HistoryDb& db, const SearchInputs& in, const std::vector<int>& hits, SearchResult& result) {
    const TallyRules rules(in);
    std::string columns;
    for (int p = 1; p <= kPositions; ++p)
        columns += "L" + std::to_string(p) + letter(in.resultKind) + ", ";
    SQLite::Statement row(db.connection(), "SELECT " + columns + (in.previousIssue ? "txtHisLst" : "txtHisPreLst") +
                                               " FROM lishi WHERE SQQH = ?");
    std::vector<long long> counts(rules.listedCount(), 0);
    CellGrid detail = result.detail.cells();
    for (const int issue : hits) {
        row.bind(1, issue);
        if (!row.executeStep())
            throw StoreError("no row " + std::to_string(issue));
        std::array<int, kPositions> values{};
        std::vector<std::string> line = {std::to_string(issue)};
        for (int p = 0; p < kPositions; ++p) {
            values[p] = row.getColumn(p).getInt();
            line.push_back(rules.valueText(values[p]));
        }
        const SQLite::Column list = row.getColumn(kPositions);
        line.push_back(list.isNull() ? std::string() : list.getString());
        row.reset();
        rules.addRow(values, counts);
        result.hits.push_back(issue);
        detail.push_back(textCells(line));
    }
    result.detail = std::move(detail);
    std::vector<TallyRow> rows = rules.rows(counts);
    db.storeTally(rows);
    sortForGrid(rows);
    const long long total = static_cast<long long>(hits.size()) * rules.positionsCounted();
    for (size_t line = 0; line < rows.size(); ++line)
        result.tally.push_back(textCells({std::to_string(line + 1), rules.valueText(rows[line].value),
                                          std::to_string(rows[line].count), percentText(rows[line].count, total)}));
}

using MarkRows = Marking (*)(HistoryDb&, const SearchInputs&);

SearchResult runLiteral(HistoryDb& db, const SearchInputs& in, MarkRows mark) {
    registerTextFunctions(db.connection().getHandle());
    SearchResult result;
    clearResultGrids(in, result);
    result.message = searchRefusal(in);
    if (!result.message.empty())
        return result;
    const int first = *readIssueBox(in.firstIssue);
    const int last = *readIssueBox(in.lastIssue);
    result.firstIssue = first;
    result.lastIssue = last;
    WriteTransaction transaction(db);
    const Marking marking = mark(db, in);
    std::vector<int> hits;
    std::copy_if(marking.marked.begin(), marking.marked.end(), std::back_inserter(hits),
                 [first, last](int issue) { return issue >= first && issue <= last; });
    tallyStoredHits(db, in, hits, result);
    transaction.commit();
    result.conditions = marking.conditions;
    result.ran = true;
    return result;
}

}  // namespace

SearchResult runLiteralFollowSearch(HistoryDb& db, const SearchInputs& inputs) {
    return runLiteral(db, inputs, literalFollow);
}

SearchResult runLiteralCombinationSearch(HistoryDb& db, const SearchInputs& inputs) {
    return runLiteral(db, inputs, literalCombination);
}

}  // namespace drawfollow::test
