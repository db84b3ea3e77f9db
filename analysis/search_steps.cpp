#include "analysis/search_steps.h"

namespace drawfollow::search_steps {

namespace {

constexpr std::array<std::string_view, kKinds> kKindNames = {"号码", "生肖", "头数", "尾数", "合数", "段数"};

}  // namespace

std::string matchListField(Kind kind, bool previousIssue) {
    return previousIssue ? previousListField(kind) : backListField(kind);
}

std::string referenceField(int position, Kind kind, bool previousIssue) {
    return previousIssue ? previousField(position, kind) : backField(position, kind);
}

RowExpression testedList(const std::string& matchField, bool countSpecial) {
    return [matchField, countSpecial](const FieldValue& field) {
        const std::string list = field(matchField);
        return countSpecial ? list : "LEFT(" + list + ",LEN(" + list + ")-4)";
    };
}

RowExpression like(RowExpression text, const std::string& pattern) {
    return [text = std::move(text), pattern](const FieldValue& field) {
        return text(field) + " LIKE \"" + pattern + "\"";
    };
}

RowExpression fieldEquals(const std::string& name, int value) {
    return [name, value](const FieldValue& field) { return field(name) + " = " + std::to_string(value); };
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
    return [conditions = std::move(conditions)](const FieldValue& field) {
        if (conditions.empty())
            return std::string("0");
        std::string sum;
        for (const auto& c : conditions)
            sum += (sum.empty() ? "ifnull(" : "+ifnull(") + c(field) + ",0)";
        return sum;
    };
}

std::vector<int> tickedPositions(const SearchInputs& inputs) {
    std::vector<int> positions;
    for (int p = 1; p <= kPositions; ++p)
        if (inputs.ticked[p - 1])
            positions.push_back(p);
    return positions;
}

void copyBackLists(ScratchUpdate& update, Kind kind, int gap) {
    update.copy({backListField(kind), previousListField(kind), gap - 1, CopiedType::Text});
    update.copy({"txtHisPreLst", "txtHisLst", gap - 1, CopiedType::Text});
}

void copyReferenceFields(ScratchUpdate& update, Kind kind, std::span<const int> positions, bool previousIssue,
                         int gap) {
    for (int p : positions)
        update.copy(
            {referenceField(p, kind, previousIssue), valueField(p, kind), previousIssue ? 1 : gap, CopiedType::Number});
    if (!previousIssue)
        update.copy({"txtHisPreLst", "txtHisLst", gap - 1, CopiedType::Text});
}

}  // namespace drawfollow::search_steps
