// The follow search (检索), the combination search (组合检索) and their common
// hit tally: the panel state they read, and what they hand back.
//
// Both searches mark the rows whose reference draw matched the base, select the marked rows
// of the issue range and tally the result kind, over one snapshot of the history
// (analysis/search_answer.h); what they leave in the history is written afterwards. They
// never show anything: the caller (the window's controller or the command line) shows the
// grids and the status text.
#pragma once

#include "store/attributes.h"
#include "store/draw.h"
#include "store/grid_cell.h"
#include "store/history_db.h"
#include "store/row_grid.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drawfollow {

// Which positions of a following draw the tally counts.
enum class TallyScope : int { All = 0, Regular = 1, Special = 2 };  // 平特, 平码, 特码

// The eight position values, position 1 at index 0, in the search kind's coding.
using PositionValues = std::array<int, kPositions>;

// The panel's settings as a search reads them when its button is pressed.
struct SearchSettings {
    Kind searchKind = Kind::Number;      // 搜索类型选择: kind of the position values
    Kind resultKind = Kind::Number;      // 结果类型选择: kind tallied
    TallyScope scope = TallyScope::All;  // 结果统计选择
    bool freePositions = true;           // 自由位 (true) or 固定位 (false)
    bool countSpecial = true;            // 自由位计特码; free mode only
    bool previousIssue = true;           // 上期 (true) or 前期 (false)
    int gap = 2;                         // 前期 gap N; 1..9, anything else is refused

    // Follow search: the switches of the panel that supplied the values (position 1 at
    // index 0). The combination search ignores them.
    std::array<bool, kPositions> ticked{};

    int combinationSize = 2;              // 组合位数; outside 1..6 selects nothing
    bool combinationRegularOnly = false;  // pool 1..7 (平码, true) or 1..8 (平特)

    // Names zodiac codes in the grids (the animal whose code in this table is the stored code).
    ZodiacCodeTable codes = ZodiacCodeTable::build(false, 1, 0);
    int zodiacOffset = 1;   // the tally's zodiac rows are offset + 0..11
    int segmentOffset = 1;  // the tally's segment rows are offset + 0..9
};

// The panel state the searches read: the settings, the base values and the range
// (analysis/search_panel.h builds it from the panel as the user left it).
struct SearchInputs : SearchSettings {
    // The base: typed (tab 2), the latest draw (tab 1) or the verification base (tab 3).
    // Empty when there is none (the verification base is missing): the search refuses.
    std::optional<PositionValues> values;

    // The range's 起 and 止 as typed; read as whole numbers, surrounding blanks
    // allowed. Anything else refuses the search.
    std::string firstIssue;
    std::string lastIssue;
};

struct SearchResult {
    // False when the search was refused before it touched the database (bad range box,
    // gap outside 1..9, no base values) or failed and was rolled back; `message` says why
    // and both grids hold their header row only.
    bool ran = false;
    // Text for the status bar: why the search was refused, or a note on a search that ran
    // (a base value that can never be met, a combination size outside 1..6); else empty.
    std::string message;
    int conditions = 0;  // the n of " AND [intTh] = n" (follow) or the size k (combination)
    int firstIssue = 0;  // the range as read, to be written back into the boxes in decimal
    int lastIssue = 0;
    std::vector<int> hits;  // SQQH of every selected row, in issue order
    RowGrid detail;         // the hits grid: header row, then one line per hit (10 columns), made when read
    CellGrid tally;         // the tally grid: header row, then one line per Carcu row (4 columns)
};

// 检索: the following draws of every reference draw that looked like the base.
// Reads the history once, answers, then leaves the search's fields in Lishi and its tally
// in Carcu (analysis/search_fields.h); a history that cannot be written is answered all
// the same, with a note in the message.
SearchResult runFollowSearch(HistoryDb& db, const SearchInputs& inputs);
// 组合检索: the same, accepting a reference draw that agrees with the base in any
// combinationSize positions of the pool.
SearchResult runCombinationSearch(HistoryDb& db, const SearchInputs& inputs);

// The grids' fixed parts.
inline constexpr int kDetailColumns = 10;
inline constexpr int kTallyColumns = 4;
std::vector<std::string> detailHeader(bool previousIssue);  // "期号", "平1位", …, "特位", "上期开奖"/"前期开奖"
std::vector<std::string> tallyHeader();                     // "序号", "结果", "出现次数", "百分比"

// The tally's 百分比 as shown: GridCell::percent's text ("34.286%" for 12 of 35).
std::string percentText(long long count, long long total);

// A range box read as a whole number (surrounding blanks allowed); empty when it is not one.
std::optional<int> readIssueBox(std::string_view text);

}  // namespace drawfollow
