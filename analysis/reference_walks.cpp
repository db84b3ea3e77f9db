// The row walks that rewrite the reference copies before a search matches them.
//
// Each walk reads the sources of every row in issue order once, computes what each row
// must hold, and writes only the rows whose stored copy differs: repeating a search with
// the same gap writes nothing, and the table ends exactly as a walk writing every row
// would leave it.
#include "analysis/search_steps.h"

#include <SQLiteCpp/Statement.h>

namespace drawfollow::search_steps {

namespace {

using Text = std::optional<std::string>;

Text textColumn(SQLite::Statement& q, int column) {
    const SQLite::Column c = q.getColumn(column);
    if (c.isNull())
        return std::nullopt;
    return c.getString();
}

void bindText(SQLite::Statement& s, int parameter, const Text& text) {
    if (text)
        s.bind(parameter, *text);
    else
        s.bind(parameter);
}

// The row whose txtHisLst family describes the draw `gap` rows before row r, if any.
std::optional<size_t> backListSource(size_t r, int gap) {
    if (r + 1 < static_cast<size_t>(gap))
        return std::nullopt;
    return r + 1 - gap;
}

}  // namespace

void rebuildBackLists(HistoryDb& db, Kind kind, int gap) {
    const std::string source = previousListField(kind);
    const std::string target = backListField(kind);
    SQLite::Statement read(db.connection(), "SELECT SQQH, " + source + ", txtHisLst, " + target +
                                                ", txtHisPreLst FROM lishi ORDER BY SQQH");
    struct Row {
        int issue;
        Text counted, plain, storedCounted, storedPlain;
    };
    std::vector<Row> rows;
    while (read.executeStep())
        rows.push_back({read.getColumn(0).getInt(), textColumn(read, 1), textColumn(read, 2), textColumn(read, 3),
                        textColumn(read, 4)});

    SQLite::Statement write(db.connection(), "UPDATE Lishi SET " + target + " = ?, txtHisPreLst = ? WHERE SQQH = ?");
    for (size_t r = 0; r < rows.size(); ++r) {
        const auto from = backListSource(r, gap);
        const Text counted = from ? rows[*from].counted : Text(std::string());
        const Text plain = from ? rows[*from].plain : Text(std::string());
        if (counted == rows[r].storedCounted && plain == rows[r].storedPlain)
            continue;
        bindText(write, 1, counted);
        bindText(write, 2, plain);
        write.bind(3, rows[r].issue);
        write.exec();
        write.reset();
    }
}

void rebuildReferenceFields(HistoryDb& db, Kind kind, std::span<const int> positions, bool previousIssue, int gap) {
    const size_t fields = positions.size();
    const size_t back = previousIssue ? 1 : static_cast<size_t>(gap);
    const bool withBackList = !previousIssue;
    if (fields == 0 && !withBackList)
        return;

    std::string columns = "SQQH";
    std::string assignments;
    for (int p : positions) {
        columns += ", " + valueField(p, kind) + ", " + referenceField(p, kind, previousIssue);
        assignments += (assignments.empty() ? "" : ", ") + referenceField(p, kind, previousIssue) + " = ?";
    }
    if (withBackList) {
        columns += ", txtHisLst, txtHisPreLst";
        assignments += std::string(assignments.empty() ? "" : ", ") + "txtHisPreLst = ?";
    }
    SQLite::Statement read(db.connection(), "SELECT " + columns + " FROM lishi ORDER BY SQQH");
    struct Row {
        int issue;
        std::vector<int> own, stored;
        Text plain, storedPlain;
    };
    std::vector<Row> rows;
    while (read.executeStep()) {
        Row row{read.getColumn(0).getInt(), std::vector<int>(fields), std::vector<int>(fields), {}, {}};
        for (size_t f = 0; f < fields; ++f) {
            row.own[f] = read.getColumn(static_cast<int>(1 + 2 * f)).getInt();
            row.stored[f] = read.getColumn(static_cast<int>(2 + 2 * f)).getInt();
        }
        if (withBackList) {
            row.plain = textColumn(read, static_cast<int>(1 + 2 * fields));
            row.storedPlain = textColumn(read, static_cast<int>(2 + 2 * fields));
        }
        rows.push_back(std::move(row));
    }

    SQLite::Statement write(db.connection(), "UPDATE Lishi SET " + assignments + " WHERE SQQH = ?");
    std::vector<int> values(fields);
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t f = 0; f < fields; ++f)
            values[f] = r >= back ? rows[r - back].own[f] : 0;
        Text plain;
        if (withBackList) {
            const auto from = backListSource(r, gap);
            plain = from ? rows[*from].plain : Text(std::string());
        }
        if (values == rows[r].stored && plain == rows[r].storedPlain)
            continue;
        int parameter = 1;
        for (int v : values)
            write.bind(parameter++, v);
        if (withBackList)
            bindText(write, parameter++, plain);
        write.bind(parameter, rows[r].issue);
        write.exec();
        write.reset();
    }
}

}  // namespace drawfollow::search_steps
