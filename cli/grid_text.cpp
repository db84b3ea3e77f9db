#include "cli/grid_text.h"

#include "io/utf8_text.h"

#include <algorithm>
#include <ostream>

namespace drawfollow::cli {

namespace {

bool wide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6);
}

}  // namespace

int displayWidth(std::string_view utf8) {
    int width = 0;
    for (size_t i = 0; i < utf8.size();) {
        const Utf8Character c = readUtf8(utf8, i);
        width += wide(c.codePoint) ? 2 : 1;
        i += c.length;
    }
    return width;
}

void AlignedColumns::measure(std::span<const std::string> row) {
    if (widths_.size() < row.size())
        widths_.resize(row.size(), 0);
    for (size_t c = 0; c < row.size(); ++c)
        widths_[c] = std::max(widths_[c], displayWidth(row[c]));
}

std::string AlignedColumns::line(std::span<const std::string> row) const {
    std::string line;
    for (size_t c = 0; c < row.size(); ++c) {
        line += row[c];
        if (c + 1 < row.size())
            line += std::string(static_cast<size_t>(widths_.at(c) - displayWidth(row[c]) + 2), ' ');
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line + '\n';
}

namespace {

const std::vector<std::string>& shown(const std::vector<std::string>& row) {
    return row;
}

std::vector<std::string> shown(const std::vector<GridCell>& row) {
    return cellTexts(row);
}

template <typename Grid>
AlignedColumns measured(const Grid& grid) {
    AlignedColumns columns;
    for (const auto& row : grid)
        columns.measure(shown(row));
    return columns;
}

template <typename Grid>
void writeLines(std::ostream& out, const Grid& grid) {
    const AlignedColumns columns = measured(grid);
    for (const auto& row : grid)
        out << columns.line(shown(row));
}

template <typename Grid>
std::string linesOf(const Grid& grid) {
    const AlignedColumns columns = measured(grid);
    std::string text;
    for (const auto& row : grid)
        text += columns.line(shown(row));
    return text;
}

}  // namespace

void writeAlignedText(std::ostream& out, const TextGrid& grid) {
    writeLines(out, grid);
}

void writeAlignedText(std::ostream& out, const CellGrid& grid) {
    writeLines(out, grid);
}

void writeAlignedText(std::ostream& out, const RowGrid& grid) {
    writeLines(out, grid);
}

std::string alignedText(const TextGrid& grid) {
    return linesOf(grid);
}

std::string alignedText(const CellGrid& grid) {
    return linesOf(grid);
}

}  // namespace drawfollow::cli
