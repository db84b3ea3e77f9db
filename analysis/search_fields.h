// What a search leaves in the history besides its answer: its scratch fields in every row of
// Lishi (the reference copies, the cut list txtHisP6, the counter intTh, the set flag bolOk)
// and its tally in Carcu, as the search's statements would leave them, computed from the
// answer's own marking. Written after the answer is shown, by one UPDATE of only the rows
// whose stored values differ, so a repeated search writes nothing.
#pragma once

#include "analysis/history_snapshot.h"
#include "analysis/search.h"
#include "analysis/search_marking.h"

#include <span>
#include <string>

namespace drawfollow {

// Stores the fields and the tally in one transaction. Returns a note for the status line
// or stderr when they were not stored and the answer still stands: the history cannot be
// written, or another program changed it since the snapshot was read (the answer is that of
// the history before the change). Empty when stored. Any other failure throws and leaves
// both tables as they were.
std::string keepSearchFields(HistoryDb& db, const HistorySnapshot& history, const SearchInputs& inputs,
                             const SearchMarking& marking, std::span<const TallyRow> tally);

inline constexpr const char* kFieldsNotStoredReadOnly =
    "历史数据库不可写（只读的文件或文件夹）：检索结果照常给出，但检索字段和统计表未保存。";
inline constexpr const char* kFieldsNotStoredChanged =
    "检索期间另一个程序改动了历史数据库：结果按改动前的历史给出，检索字段和统计表未保存。";

}  // namespace drawfollow
