// One cell of a grid: a text, or a figure kept as a number with the way it is shown
// (whole, a fixed count of decimals, a percentage). Whoever shows or writes the grid formats
// it: the window's model, the command line's text and JSON, the spreadsheet (which stores the
// figure as a number with a number format of its own decimals).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace drawfollow {

class GridCell {
public:
    enum class Display : uint8_t { Text, Whole, Fixed, Percent };

    GridCell() = default;
    GridCell(std::string text) : text_(std::move(text)) {}  // NOLINT(google-explicit-constructor)
    GridCell(const char* text) : text_(text) {}             // NOLINT(google-explicit-constructor)

    static GridCell whole(long long value);
    // `value` as "%.*f" shows it; the figure kept is the value shown, so that every reader
    // of the cell, the spreadsheet included, has the same number (2.7 for 2.69999 shown "2.70").
    static GridCell fixed(double value, int decimals);
    // count × 100 / total with three decimals and "%", an exact half rounded away from zero
    // (1 of 64 is "1.563%", 12 of 35 "34.286%"); an empty text when total is 0.
    static GridCell percent(long long count, long long total);

    Display display() const { return display_; }
    bool isFigure() const { return display_ != Display::Text; }
    // The figure as shown: 34.286 for "34.286%", 2.7 for "2.70"; 0 for a text.
    double value() const { return value_; }
    int decimals() const { return decimals_; }

    // What the cell shows.
    std::string text() const;
    // The same appended to `out`, for writers that build a line of many cells.
    void appendText(std::string& out) const;

    friend bool operator==(const GridCell&, const GridCell&) = default;

private:
    std::string text_;
    double value_ = 0;
    int8_t decimals_ = 0;
    Display display_ = Display::Text;
};

// A grid of cells exactly as a window grid shows them, header row first.
using CellGrid = std::vector<std::vector<GridCell>>;

// A grid's rows one at a time, header first, for an output written as they come: each call
// fills `row` with the next row's cells and returns false, leaving `row` as it was, once
// there is none.
using CellRows = std::function<bool(std::vector<GridCell>& row)>;

// A row of header texts as cells.
std::vector<GridCell> textCells(const std::vector<std::string>& texts);
// What a row of cells shows, cell for cell.
std::vector<std::string> cellTexts(const std::vector<GridCell>& cells);

}  // namespace drawfollow
