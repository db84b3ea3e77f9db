// The vocabulary shared by every layer: the kinds' field codes, a draw's numbers and values.
#pragma once

#include "store/lottery_shape.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace drawfollow {

// Field letters skip C and D.
inline constexpr std::array<char, kKinds> kKindLetters = {'A', 'B', 'E', 'F', 'G', 'H'};
inline constexpr std::array<std::string_view, kKinds> kListSuffixes = {"Hm", "Sx", "Tou", "Wei", "He", "Ds"};

constexpr char letterOf(Kind k) {
    return kKindLetters[index(k)];
}
constexpr std::string_view suffixOf(Kind k) {
    return kListSuffixes[index(k)];
}

// Numbers, zodiac codes and digit sums are written with two digits in the counted lists;
// heads, tails and segments as plain decimals.
constexpr bool twoDigitValueText(Kind k) {
    return k == Kind::Number || k == Kind::Zodiac || k == Kind::DigitSum;
}

// Value text as stored in the counted lists and matched by the searches.
std::string valueText(Kind k, int value);

// The eight numbers of one draw, position 1 at index 0.
using Numbers = std::array<int16_t, kPositions>;

// The six attribute values of every position: values[kind][position - 1].
using DrawValues = std::array<std::array<int16_t, kPositions>, kKinds>;

inline int issueYear(int issue) {
    return issue / 1000;
}
inline int issueSequence(int issue) {
    return issue % 1000;
}

// Field names of Lishi built as the searches build them.
std::string valueField(int position, Kind k);     // "L3B"
std::string previousField(int position, Kind k);  // "L3BS"
std::string backField(int position, Kind k);      // "L3BP"
std::string previousListField(Kind k);            // "txtHisLstSx"
std::string backListField(Kind k);                // "txtHisPreLstSx"

}  // namespace drawfollow
