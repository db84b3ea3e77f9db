// The values a search copies from earlier rows into the reference fields, read in one pass
// over Lishi, and the SQL functions through which an UPDATE statement takes them.
//
// Copying row by row costs a statement step per row, and a window function costs more than
// the copy itself; a function the UPDATE calls while it scans the table hands each row its
// values at the price of a lookup.
#pragma once

#include "store/history_db.h"

#include <memory>
#include <string>
#include <vector>

namespace drawfollow::search_steps {

// What a copy holds where the source is NULL or no row lies that far back.
enum class CopiedType {
    Text,    // a NULL source stays NULL; an empty text where there is no earlier row
    Number,  // 0 for both
};

// `target` of row r takes the value `source` has in row r − back (rows in issue order).
struct FieldCopy {
    std::string target;
    std::string source;
    int back = 1;
    CopiedType type = CopiedType::Text;
};

struct CopiedRows;

class CopiedValues {
public:
    // Reads the sources and the stored targets of every row.
    CopiedValues(HistoryDb& db, std::vector<FieldCopy> copies);
    ~CopiedValues();
    CopiedValues(const CopiedValues&) = delete;
    CopiedValues& operator=(const CopiedValues&) = delete;

    // Whether some row holds a target that differs from what its copy gives.
    bool anyChanged() const;

    // While this object lives, the SQL expressions below can be used on Lishi's rows.
    // Registering fails when a statement of the connection is still running.
    void registerFunctions();
    // The value copy `index` gives the row: "scratchCopy(SQQH, index)".
    static std::string valueExpression(size_t index);
    // 1 for a row where some target changes, else 0.
    static std::string changedExpression();

private:
    HistoryDb& db_;
    std::shared_ptr<CopiedRows> rows_;
    bool registered_ = false;
};

}  // namespace drawfollow::search_steps
