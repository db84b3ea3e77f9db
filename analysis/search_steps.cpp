#include "analysis/search_steps.h"

#include "store/sql_dialect.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace drawfollow::search_steps {

namespace {

constexpr std::array<std::string_view, kKinds> kKindNames = {"号码", "生肖", "头数", "尾数", "合数", "段数"};

char foldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// SQLite's LIKE folds the ASCII letters only. The patterns start with a digit, so the
// candidates are found by memchr.
bool containsIgnoringAsciiCase(std::string_view text, std::string_view part) {
    auto sameFolded = [](char a, char b) { return foldAscii(a) == foldAscii(b); };
    const char first = foldAscii(part.front());
    if (first >= 'a' && first <= 'z')
        return std::search(text.begin(), text.end(), part.begin(), part.end(), sameFolded) != text.end();
    for (size_t at = text.find(part.front()); at != std::string_view::npos && text.size() - at >= part.size();
         at = text.find(part.front(), at + 1))
        if (std::equal(part.begin() + 1, part.end(), text.begin() + static_cast<std::ptrdiff_t>(at) + 1, sameFolded))
            return true;
    return false;
}

}  // namespace

std::string matchListField(Kind kind, bool previousIssue) {
    return previousIssue ? previousListField(kind) : backListField(kind);
}

std::string referenceField(int position, Kind kind, bool previousIssue) {
    return previousIssue ? previousField(position, kind) : backField(position, kind);
}

RowExpression testedList(ScratchUpdate& update, const std::string& matchField, bool countSpecial) {
    const FieldRef list = update.read(matchField, FieldType::Text);
    if (countSpecial)
        return {matchField, [list](const RowView& row) { return row[list]; }};
    return {"withoutLast4(" + matchField + ")", [list](const RowView& row) {
                const RowValue v = row[list];
                if (v.isNull())
                    return v;
                return RowValue::textOf(leftCharacters(v.text, characterCount(v.text) - 4));
            }};
}

RowExpression like(RowExpression text, const std::string& pattern) {
    const bool enclosed = pattern.size() >= 3 && pattern.front() == '*' && pattern.back() == '*';
    const std::string inner = enclosed ? pattern.substr(1, pattern.size() - 2) : std::string();
    if (!enclosed || inner.find_first_of("*%_") != std::string::npos)
        throw std::logic_error("LIKE pattern not of the form *text*: " + pattern);
    return {"contains(" + text.key + "," + inner + ")", [text = std::move(text.evaluate), inner](const RowView& row) {
                const RowValue v = text(row);
                if (v.isNull())
                    return v;
                return RowValue::integer(containsIgnoringAsciiCase(v.text, inner) ? 1 : 0);
            }};
}

RowExpression fieldEquals(ScratchUpdate& update, const std::string& name, int value) {
    const FieldRef field = update.read(name, FieldType::Number);
    return {"equals(" + name + "," + std::to_string(value) + ")", [field, value](const RowView& row) {
                const RowValue v = row[field];
                return v.isNull() ? v : RowValue::integer(v.number == value ? 1 : 0);
            }};
}

std::string listPattern(Kind kind, int value, int ordinal) {
    if (ordinal == 0)
        return "*" + valueText(kind, value) + "*";
    return "*" + std::to_string(ordinal) + "X" + valueText(kind, value) + "*";
}

OccurrenceCounters::OccurrenceCounters(Kind kind)
    : range_(kCounterRanges[index(kind)]), counts_(range_.high - range_.low + 1, 0) {}

std::optional<int> OccurrenceCounters::raise(int value) {
    if (!range_.contains(value))
        return std::nullopt;
    return ++counts_[value - range_.low];
}

std::optional<int> OccurrenceCounters::count(int value) const {
    if (!range_.contains(value))
        return std::nullopt;
    return counts_[value - range_.low];
}

bool valueHasCounter(Kind kind, int value) {
    return kCounterRanges[index(kind)].contains(value);
}

std::string unreachableValuesNote(Kind kind, const PositionValues& values, std::span<const int> positions) {
    std::string listed;
    for (int p : positions) {
        const int v = values[p - 1];
        if (valueHasCounter(kind, v))
            continue;
        if (!listed.empty())
            listed += "、";
        listed += "第" + std::to_string(p) + "位的 " + std::to_string(v);
    }
    if (listed.empty())
        return {};
    const ValueRange r = kCounterRanges[index(kind)];
    return "基准值" + listed + "不在" + std::string(kKindNames[index(kind)]) + "的取值范围 " + std::to_string(r.low) +
           "～" + std::to_string(r.high) + " 之内，含该位的条件永远不会满足。";
}

RowExpression conditionCount(std::vector<RowExpression> conditions) {
    std::string key = "count(";
    for (const auto& c : conditions)
        key += c.key + ";";
    return {key + ")", [conditions = std::move(conditions)](const RowView& row) {
                long long held = 0;
                for (const auto& c : conditions) {
                    const RowValue v = c.evaluate(row);
                    held += v.isNull() ? 0 : v.number;
                }
                return RowValue::integer(held);
            }};
}

std::vector<int> tickedPositions(const SearchInputs& inputs) {
    std::vector<int> positions;
    for (int p = 1; p <= kPositions; ++p)
        if (inputs.ticked[p - 1])
            positions.push_back(p);
    return positions;
}

void copyBackLists(ScratchUpdate& update, Kind kind, int gap) {
    update.copy({backListField(kind), previousListField(kind), gap - 1, FieldType::Text});
    update.copy({"txtHisPreLst", "txtHisLst", gap - 1, FieldType::Text});
}

void copyReferenceFields(ScratchUpdate& update, Kind kind, std::span<const int> positions, bool previousIssue,
                         int gap) {
    for (int p : positions)
        update.copy(
            {referenceField(p, kind, previousIssue), valueField(p, kind), previousIssue ? 1 : gap, FieldType::Number});
    if (!previousIssue)
        update.copy({"txtHisPreLst", "txtHisLst", gap - 1, FieldType::Text});
}

}  // namespace drawfollow::search_steps
