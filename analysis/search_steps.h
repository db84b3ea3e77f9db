// The building blocks both searches share: field names, LIKE patterns, the occurrence
// counters of the free mode, and the copies that bring the reference fields up to date.
#pragma once

#include "analysis/scratch_update.h"
#include "analysis/search.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace drawfollow::search_steps {

// The list field the free mode matches: the counted list of the draw one issue back
// (上期), or the one copyBackLists fills with the draw N issues back (前期).
std::string matchListField(Kind kind, bool previousIssue);
// The reference copy of one position the fixed mode matches: "L3BS" (上期) or "L3BP" (前期).
std::string referenceField(int position, Kind kind, bool previousIssue);

// The text the free mode tests: the match field itself, or (special number not counted)
// LEFT(field, LEN(field) - 4), the field without its last four characters, which breaks
// the special number's token.
RowExpression testedList(ScratchUpdate& update, const std::string& matchField, bool countSpecial);
// LIKE with a pattern of the form "*text*": 1 where the text occurs in the tested one,
// letters compared without regard to case as SQLite's LIKE compares ASCII; NULL for a NULL text.
RowExpression like(RowExpression text, const std::string& pattern);
// The number field holds the value: 1 or 0; NULL where it is NULL.
RowExpression fieldEquals(ScratchUpdate& update, const std::string& field, int value);

// "*07*" (ordinal 0: the follow search's number kind) or "*2X05*", the value written as
// in the counted lists.
std::string listPattern(Kind kind, int value, int ordinal);

// How often each value has been taken so far, to number repeated values: a value
// ticked twice must occur at least twice. Values outside the kind's counter range have
// no counter, so a condition on them cannot be formed and can never be met.
class OccurrenceCounters {
public:
    explicit OccurrenceCounters(Kind kind);
    std::optional<int> raise(int value);  // the count after raising it
    std::optional<int> count(int value) const;

private:
    ValueRange range_;
    std::vector<int> counts_;
};

// Whether a base value can ever be met: inside the counter range of its kind.
bool valueHasCounter(Kind kind, int value);
// The status note for base values that can never be met; empty when every one can.
std::string unreachableValuesNote(Kind kind, const PositionValues& values, std::span<const int> positions);

// How many of the conditions hold for a row (a condition on a NULL list counts as not
// holding); 0 for none.
RowExpression conditionCount(std::vector<RowExpression> conditions);

// The positions 1..8 ticked in the panel.
std::vector<int> tickedPositions(const SearchInputs& inputs);

// 前期 free mode: for every row r ≥ N − 1 the match list of kind and txtHisPreLst become
// the txtHisLst family of row r − N + 1, so that both describe the draw N rows before r;
// the rows before get empty lists (no draw lies N rows before them).
void copyBackLists(ScratchUpdate& update, Kind kind, int gap);

// Fixed mode: the reference copies of the given positions become the kind's value of the
// row one (上期) or N (前期) rows earlier, 0 where there is none. In 前期 mode txtHisPreLst
// is copied as copyBackLists does, so that the detail grid always shows the draw N issues
// back, even with no position ticked.
void copyReferenceFields(ScratchUpdate& update, Kind kind, std::span<const int> positions, bool previousIssue, int gap);

// What a search's marking step hands to the tally: the issues of the marked rows of the
// whole history in issue order, the condition count, and a note for the status bar.
struct Marking {
    std::vector<int> marked;
    int conditions = 0;
    std::string note;
};

using MarkRows = std::function<Marking(HistoryDb&, const SearchInputs&)>;

// A search's marking step before it touches the database: the scratch update, and the value
// its assignment to `marker` gives a marked row. Evaluated over rows held in memory, it marks
// the rows the stored search would mark, without a write.
struct MarkingUpdate {
    ScratchUpdate update;
    std::string marker;
    long long markedValue = 1;
    int conditions = 0;
    std::string note;

    // Stores the update and hands the marked rows of the whole history to the tally.
    Marking run(HistoryDb& db) const;
};

// The follow search's and the combination search's marking of these inputs.
MarkingUpdate followMarking(const SearchInputs& inputs);
MarkingUpdate combinationMarking(const SearchInputs& inputs);

// Checks the inputs, runs `mark` and the tally of its marked rows in the issue range in one transaction, and turns a
// refusal or a failure into a result with empty grids and a message. A failure rolls
// everything back, so the table never holds half a search.
SearchResult runMarkedSearch(HistoryDb& db, const SearchInputs& inputs, const MarkRows& mark);

}  // namespace drawfollow::search_steps
