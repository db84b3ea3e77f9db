#include "store/grid_cell.h"

#include <charconv>
#include <cstdio>
#include <system_error>

namespace drawfollow {

namespace {

constexpr int kMostDecimals = 10;

// printf's own rounding of the value to `decimals`, read back: the number the text shows.
double shownValue(double value, int decimals) {
    char text[400];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (written.ec != std::errc())
        return value;
    double shown = value;
    std::from_chars(text, written.ptr, shown);
    return shown;
}

}  // namespace

GridCell GridCell::whole(long long value) {
    GridCell cell;
    cell.value_ = static_cast<double>(value);
    cell.display_ = Display::Whole;
    return cell;
}

GridCell GridCell::fixed(double value, int decimals) {
    GridCell cell;
    cell.decimals_ = static_cast<int8_t>(decimals < 0 ? 0 : decimals > kMostDecimals ? kMostDecimals : decimals);
    cell.value_ = shownValue(value, cell.decimals_);
    cell.display_ = Display::Fixed;
    return cell;
}

GridCell GridCell::percent(long long count, long long total) {
    if (total <= 0)
        return {};
    // Thousandths of a percent, an exact half rounded up (counts are never negative); in
    // integers, because a double holds 1.5625 exactly but many other halves only nearly.
    // Their quotient by 1000 is the double nearest the shown decimal, as reading it would give.
    const long long thousandths = (count * 100000 * 2 + total) / (2 * total);
    GridCell cell;
    cell.value_ = static_cast<double>(thousandths) / 1000;
    cell.decimals_ = 3;
    cell.display_ = Display::Percent;
    return cell;
}

void GridCell::appendText(std::string& out) const {
    if (display_ == Display::Text) {
        out += text_;
        return;
    }
    char text[400];
    const int length = std::snprintf(text, sizeof text, "%.*f", static_cast<int>(decimals_), value_);
    if (length > 0)
        out.append(text, static_cast<size_t>(length) < sizeof text ? static_cast<size_t>(length) : sizeof text - 1);
    if (display_ == Display::Percent)
        out += '%';
}

std::string GridCell::text() const {
    if (display_ == Display::Text)
        return text_;
    std::string out;
    appendText(out);
    return out;
}

std::vector<GridCell> textCells(const std::vector<std::string>& texts) {
    return {texts.begin(), texts.end()};
}

std::vector<std::string> cellTexts(const std::vector<GridCell>& cells) {
    std::vector<std::string> texts;
    texts.reserve(cells.size());
    for (const GridCell& cell : cells)
        texts.push_back(cell.text());
    return texts;
}

}  // namespace drawfollow
