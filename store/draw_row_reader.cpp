#include "store/draw_row_reader.h"

#include "store/schema.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_map>

namespace drawfollow {

namespace {

using Setter = std::function<void(DrawRow&, const SQLite::Column&)>;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string text(const SQLite::Column& c) {
    return c.isNull() ? std::string() : c.getString();
}

// Column name (lower case) to the field it fills.
const std::unordered_map<std::string, Setter>& setters() {
    static const auto map = [] {
        std::unordered_map<std::string, Setter> m;
        m["sqqh"] = [](DrawRow& r, const SQLite::Column& c) { r.issue = c.getInt(); };
        m["qqh"] = [](DrawRow& r, const SQLite::Column& c) { r.nextIssue = c.getInt(); };
        m["strqqh"] = [](DrawRow& r, const SQLite::Column& c) { r.issueText = text(c); };
        for (int p = 1; p <= kPositions; ++p)
            for (Kind k : kAllKinds) {
                const int ki = index(k);
                const int pi = p - 1;
                m[lower(valueField(p, k))] = [ki, pi](DrawRow& r, const SQLite::Column& c) {
                    r.own[ki][pi] = static_cast<int16_t>(c.getInt());
                };
                m[lower(previousField(p, k))] = [ki, pi](DrawRow& r, const SQLite::Column& c) {
                    r.previous[ki][pi] = static_cast<int16_t>(c.getInt());
                };
                m[lower(backField(p, k))] = [ki, pi](DrawRow& r, const SQLite::Column& c) {
                    r.back[ki][pi] = static_cast<int16_t>(c.getInt());
                };
            }
        m["txthislst"] = [](DrawRow& r, const SQLite::Column& c) { r.previousLists.plain = text(c); };
        m["txthisprelst"] = [](DrawRow& r, const SQLite::Column& c) { r.backLists.plain = text(c); };
        for (Kind k : kAllKinds) {
            const int ki = index(k);
            m[lower(previousListField(k))] = [ki](DrawRow& r, const SQLite::Column& c) {
                r.previousLists.counted[ki] = text(c);
            };
            m[lower(backListField(k))] = [ki](DrawRow& r, const SQLite::Column& c) {
                r.backLists.counted[ki] = text(c);
            };
        }
        m["txthisp6"] = [](DrawRow& r, const SQLite::Column& c) { r.scratchList = text(c); };
        m["intth"] = [](DrawRow& r, const SQLite::Column& c) { r.hitCount = c.getInt(); };
        m["bolok"] = [](DrawRow& r, const SQLite::Column& c) { r.marked = c.getInt() != 0; };
        return m;
    }();
    return map;
}

}  // namespace

DrawRowReader::DrawRowReader(SQLite::Statement& query) : query_(query) {
    const auto& all = setters();
    const int n = query.getColumnCount();
    setters_.reserve(n);
    for (int i = 0; i < n; ++i) {
        const auto it = all.find(lower(query.getColumnName(i)));
        setters_.push_back(it == all.end() ? nullptr : &it->second);
    }
}

bool DrawRowReader::next(DrawRow& row) {
    if (!query_.executeStep())
        return false;
    row = DrawRow{};
    for (size_t i = 0; i < setters_.size(); ++i)
        if (setters_[i])
            (*setters_[i])(row, query_.getColumn(static_cast<int>(i)));
    return true;
}

std::vector<DrawRow> DrawRowReader::readAll() {
    std::vector<DrawRow> rows;
    DrawRow row;
    while (next(row))
        rows.push_back(std::move(row));
    return rows;
}

int bindDerivedFields(SQLite::Statement& statement, const DrawRow& row, int first) {
    // Must follow derivedColumns(): per position and kind the own, "S" and "P" values, then
    // the two list families.
    int i = first;
    for (int p = 0; p < kPositions; ++p)
        for (Kind k : kAllKinds) {
            statement.bind(i++, row.own[index(k)][p]);
            statement.bind(i++, row.previous[index(k)][p]);
            statement.bind(i++, row.back[index(k)][p]);
        }
    auto bindLists = [&](const DrawLists& lists, bool present) {
        if (present) {
            statement.bind(i++, lists.plain);
            for (Kind k : kAllKinds)
                statement.bind(i++, lists.counted[index(k)]);
        } else {
            for (int j = 0; j <= kKinds; ++j)
                statement.bind(i++);
        }
    };
    bindLists(row.previousLists, true);
    bindLists(row.backLists, !row.backLists.plain.empty());
    return i;
}

void bindDrawRow(SQLite::Statement& insert, const DrawRow& row) {
    // Must follow lishiColumns(): SQQH, QQH, strQQH, the derived fields, the scratch fields.
    int i = 1;
    insert.bind(i++, row.issue);
    insert.bind(i++, row.nextIssue);
    insert.bind(i++, row.issueText);
    i = bindDerivedFields(insert, row, i);
    insert.bind(i++);  // txtHisP6
    insert.bind(i++, row.hitCount);
    insert.bind(i++, row.marked ? 1 : 0);
}

}  // namespace drawfollow
