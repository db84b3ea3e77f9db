#include "analysis/pick_panel.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <string_view>

namespace drawfollow {

namespace {

std::map<std::string, std::string> fieldsOf(const std::string& text) {
    std::map<std::string, std::string> fields;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find(';', start), text.size());
        const std::string_view field = std::string_view(text).substr(start, end - start);
        const size_t equals = field.find('=');
        if (equals == std::string_view::npos)
            return {};
        fields.emplace(field.substr(0, equals), field.substr(equals + 1));
        start = end + 1;
    }
    return fields;
}

class FieldReader {
public:
    explicit FieldReader(std::map<std::string, std::string> fields) : fields_(std::move(fields)) {}

    bool ok() const { return ok_; }

    int number(const std::string& key, int low, int high) {
        const auto found = fields_.find(key);
        int v = 0;
        if (found == fields_.end()) {
            ok_ = false;
            return low;
        }
        const std::string& text = found->second;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (error != std::errc{} || end != text.data() + text.size() || v < low || v > high)
            ok_ = false;
        return v;
    }
    bool flag(const std::string& key) { return number(key, 0, 1) == 1; }
    std::optional<std::string> text(const std::string& key) const {
        const auto found = fields_.find(key);
        return found == fields_.end() ? std::nullopt : std::optional(found->second);
    }

private:
    std::map<std::string, std::string> fields_;
    bool ok_ = true;
};

std::string flag(bool on) {
    return on ? "1" : "0";
}

}  // namespace

std::string pickPanelText(const SearchPanel& panel) {
    const SearchSettings& o = panel.options;
    std::string ticked;
    for (const bool t : o.ticked)
        ticked += flag(t);
    std::string text = "kind=" + std::to_string(index(o.searchKind)) +
                       ";result=" + std::to_string(index(o.resultKind)) +
                       ";scope=" + std::to_string(static_cast<int>(o.scope)) + ";free=" + flag(o.freePositions) +
                       ";special=" + flag(o.countSpecial) + ";previous=" + flag(o.previousIssue) +
                       ";gap=" + std::to_string(o.gap) + ";ticked=" + ticked +
                       ";size=" + std::to_string(o.combinationSize) + ";regular=" + flag(o.combinationRegularOnly) +
                       ";zodiac=" + std::to_string(o.codes.offset()) + ";sequential=" + flag(o.codes.sequential()) +
                       ";table=" + std::to_string(o.codes.tableYear()) + ";segment=" + std::to_string(o.segmentOffset);
    // Last: a typed 起 may hold any text but a line break, and the reader takes the rest.
    if (panel.firstIssue)
        text += ";first=" + *panel.firstIssue;
    return text;
}

std::optional<SearchPanel> pickPanelOf(const std::string& text, bool combination) {
    const size_t first = text.find(";first=");
    FieldReader read(fieldsOf(text.substr(0, first)));
    SearchPanel panel;
    panel.combination = combination;
    SearchSettings& o = panel.options;
    o.searchKind = static_cast<Kind>(read.number("kind", 0, kKinds - 1));
    o.resultKind = static_cast<Kind>(read.number("result", 0, kKinds - 1));
    o.scope = static_cast<TallyScope>(read.number("scope", 0, 2));
    o.freePositions = read.flag("free");
    o.countSpecial = read.flag("special");
    o.previousIssue = read.flag("previous");
    o.gap = read.number("gap", 1, 9);
    const std::optional<std::string> ticked = read.text("ticked");
    if (!ticked || ticked->size() != kPositions || ticked->find_first_not_of("01") != std::string::npos)
        return std::nullopt;
    for (int p = 0; p < kPositions; ++p)
        o.ticked[p] = (*ticked)[p] == '1';
    o.combinationSize = read.number("size", 1, 6);
    o.combinationRegularOnly = read.flag("regular");
    const int zodiacOffset = read.number("zodiac", 0, 1);
    const bool sequential = read.flag("sequential");
    o.codes = ZodiacCodeTable::build(sequential, zodiacOffset, read.number("table", 1900, 2200));
    o.zodiacOffset = zodiacOffset;
    o.segmentOffset = read.number("segment", 0, 1);
    if (!read.ok())
        return std::nullopt;
    if (first != std::string::npos)
        panel.firstIssue = text.substr(first + std::string_view(";first=").size());
    return panel;
}

}  // namespace drawfollow
