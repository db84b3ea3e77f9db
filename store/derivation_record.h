// The settings the stored rows were derived with, kept in the table Derivation beside
// Lishi: zodiac offset, segment offset, zodiac mode and the year the code table was built
// for. A zodiac code means nothing without its table, so the names shown for stored codes
// come from this record, and rows are only ever added under the same settings.
#pragma once

#include "store/draw_row.h"

#include <optional>
#include <string>
#include <vector>

namespace SQLite {
class Database;
}

namespace drawfollow {

inline constexpr const char* kDerivationTable = "Derivation";

// The years a recorded code table may be built for: a record naming another year is not
// one this program writes, and reads as no record.
inline constexpr int kEarliestTableYear = 1900;
inline constexpr int kLatestTableYear = 2200;

// The table's columns in order, after its key.
const std::vector<std::string>& derivationColumns();

// Creates the empty table (a new file, or the upgrade of an older one).
void createDerivationTable(SQLite::Database& db);

// The recorded settings; none when nothing is recorded or the record is not one this
// program could have written (then no one knows how the rows were derived).
std::optional<DerivationSettings> readDerivationRecord(SQLite::Database& db);
void writeDerivationRecord(SQLite::Database& db, const DerivationSettings& settings);

// The settings start-up derives rows with: the user's offsets and mode, and the code table
// built for the zodiac year of the history's next issue.
DerivationSettings settingsForNextIssue(int zodiacOffset, int segmentOffset, bool sequential, int nextIssue);

// Whether both settings give every draw the same stored values. In sequential mode the
// table's year changes no code.
bool derivesSameRows(const DerivationSettings& a, const DerivationSettings& b);

// Rows added to a history must be derived as its stored rows were: an empty history takes
// the settings (they are recorded), a stored history recorded under other settings refuses
// them (StoreError). Runs inside the adding transaction.
void requireDerivation(SQLite::Database& db, const DerivationSettings& settings, bool historyEmpty);

// The settings in words, as the menus name them: "生肖参数1~12，按年龄取值（2026 年码表），段数参数1~10".
std::string describeDerivation(const DerivationSettings& settings);

}  // namespace drawfollow
