// One row of Lishi: a draw with the values and lists of the draws before it.
#pragma once

#include "store/attributes.h"
#include "store/draw.h"

#include <optional>
#include <string>

namespace drawfollow {

// The plain number list and the six counted lists of one draw.
struct DrawLists {
    std::string plain;                          // "03 07 12 18 22 25 29 11 "
    std::array<std::string, kKinds> counted{};  // "1X03 1X07 ..." per kind

    bool operator==(const DrawLists&) const = default;
};

// Builds the lists of a draw from its stored values.
DrawLists listsOf(const DrawValues& values);
// The plain number list alone: "03 07 12 18 22 25 29 11 ".
std::string plainList(const DrawValues& values);
// The counted list of one kind alone: "1X03 1X07 ...".
std::string countedList(const DrawValues& values, Kind kind);

struct DrawRow {
    int issue = 0;            // SQQH
    int nextIssue = 0;        // QQH
    std::string issueText;    // strQQH
    DrawValues own{};         // L<p><X>
    DrawValues previous{};    // L<p><X>S: one issue earlier, 0 without one
    DrawValues back{};        // L<p><X>P: two issues earlier, 0 without one
    DrawLists previousLists;  // txtHisLst family
    DrawLists backLists;      // txtHisPreLst family
    std::string scratchList;  // txtHisP6
    int hitCount = 0;         // intTh
    bool marked = false;      // bolOk

    Numbers numbers() const { return own[index(Kind::Number)]; }
    bool operator==(const DrawRow&) const = default;
};

// A stored draw as the window and the search panel hold it: its issue and its own values,
// the part of a row small enough to keep in memory for a history of any length.
struct StoredDraw {
    int issue = 0;
    DrawValues own{};

    static StoredDraw of(const DrawRow& row) { return {row.issue, row.own}; }
    bool operator==(const StoredDraw&) const = default;
};

// A draw to be stored: its issue and its eight numbers.
struct DrawInput {
    int issue = 0;
    Numbers numbers{};
    bool operator==(const DrawInput&) const = default;
};

// Why the numbers cannot be a draw (outside 1..30, or repeated); empty when they can.
std::string drawProblem(const Numbers& numbers);

// What row building carries from one added draw to the next.
struct CarriedDraws {
    std::optional<DrawValues> previous;  // newest stored draw
    std::optional<DrawValues> back;      // the one before it
    // The rebuild also fills the txtHisPreLst family with the lists of the draw two back.
    bool fillBackLists = false;

    // Starts from the newest stored rows (newest last); empty when there are none.
    static CarriedDraws fromNewest(const DrawRow* beforeNewest, const DrawRow* newest);
    void advance(const DrawValues& added);
};

// Everything that decides the stored attribute values.
struct DerivationSettings {
    int segmentOffset = 1;
    ZodiacCodeTable codes = ZodiacCodeTable::build(false, 1, 0);
};

// The draw's own values, as its row stores them.
DrawValues deriveOwnValues(const DrawInput& draw, const DerivationSettings& settings);

// The complete row for a draw, given the draws before it.
DrawRow deriveRow(const DrawInput& draw, const CarriedDraws& carried, const DerivationSettings& settings);

// The seven-digit issue text written to strQQH.
std::string issueText(int issue);

}  // namespace drawfollow
