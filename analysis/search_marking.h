// Which rows a follow or combination search marks, evaluated over a history snapshot by
// value counts.
//
// A row's reference draw is the draw one row (上期) or N rows (前期) before it. The free mode
// asks of its counted list whether a value occurs at least as often as its ordinal says:
// the list's token "kXvv" is the k-th occurrence of vv, and a pattern "*kXv*" also meets a
// token whose value text starts with v's (segment 1 meets segment 10's "1X10"). Without the
// special number the list loses its last token (its last four characters break it). The
// fixed mode compares the reference draw's value at each position; no draw there reads as 0.
#pragma once

#include "analysis/history_snapshot.h"
#include "analysis/search.h"

#include <array>
#include <string>
#include <vector>

namespace drawfollow {

// By count k (index k − 1), the values a row's reference draw holds at least k times in its
// counted list, as bits value − low of the search kind's counters.
using Occurrences = std::array<unsigned, kPositions>;

// Every row's Occurrences for one search kind, gap and choice of the special number: what
// the free mode reads of each reference draw, the same for every base, so that a run of
// searches over one history (a backtest's targets) counts each reference draw once.
class OccurrenceTable {
public:
    OccurrenceTable(const HistorySnapshot& history, Kind kind, int back, bool countSpecial);
    // Whether it holds what a marking of these settings reads.
    bool serves(Kind kind, int back, bool countSpecial) const;
    const Occurrences& of(size_t row) const { return rows_[row]; }

private:
    Kind kind_;
    int back_;
    bool countSpecial_;
    std::vector<Occurrences> rows_;
};

// One row under a marking: whether it is marked, and its counter (how many of the counted
// conditions hold, the value the search leaves in intTh).
struct RowMark {
    bool marked = false;
    int counted = 0;
};

class SearchMarking {
public:
    // The inputs must hold base values.
    SearchMarking(const SearchInputs& inputs, bool combination);

    // The follow search's number of ticked positions, the combination size.
    int conditions() const { return conditions_; }
    // A note for the status bar (nothing ticked, a base value no counter holds, a size outside 1..6).
    const std::string& note() const { return note_; }
    // Whether the counter is one of the search's stored fields (not for a combination size
    // outside 1..6, which has no set to count).
    bool storesCounter() const { return storesCounter_; }
    // Whether the combination search's set flag (bolOk) marks the rows.
    bool combination() const { return combination_; }

    RowMark mark(const HistorySnapshot& history, size_t row) const;
    // The marked rows of [from, to), in issue order; a free-mode marking reads the reference
    // draws' occurrences from `occurrences` when given (it must serve this marking).
    std::vector<size_t> markedRows(const HistorySnapshot& history, size_t from, size_t to,
                                   const OccurrenceTable* occurrences = nullptr) const;

private:
    struct Condition {
        int position = 0;     // fixed mode: the position compared (0-based)
        int value = 0;        // fixed mode: the value it must hold
        unsigned values = 0;  // free mode: values whose tokens the pattern meets, by bit value − low
        int ordinal = 1;      // free mode: how often one of them must occur
    };

    unsigned conditionBit(Condition condition);
    unsigned heldConditions(const HistorySnapshot& history, size_t row) const;
    unsigned heldFree(const Occurrences& occurrences) const;
    unsigned heldFixed(const std::vector<StoredDraw>& draws, size_t row) const;
    RowMark markHeld(unsigned held) const;

    Kind kind_;
    bool free_;
    bool countSpecial_;
    bool combination_;
    int back_;
    std::vector<Condition> distinct_;
    std::vector<int> counted_;    // the counter's conditions, repeats included
    std::vector<char> covering_;  // combination: by mask of held conditions, whether a set is met
    int conditions_ = 0;
    bool storesCounter_ = true;
    std::string note_;
};

}  // namespace drawfollow
