// Zodiac, head, tail, digit sum and segment of a drawn number.
#pragma once

#include "store/draw.h"

#include <array>
#include <optional>
#include <string_view>

namespace drawfollow {

inline constexpr int kAnimals = 12;

// 鼠 牛 虎 兔 龙 蛇 马 羊 猴 鸡 狗 猪; 1972 is a year of animal 0.
std::string_view animalName(int animal);

// How many draws of the year are held before its Spring Festival; 0 outside the table.
int springFestivalEntry(int year);

// The zodiac year a draw belongs to: the issue's year, or the year before when the
// draw lies before that year's Spring Festival.
int zodiacYearOfIssue(int issue);

// The animal that owns number n in zodiac year y. A number outside 1..49 belongs to no
// year group and is taken as animal 11.
int animalOfNumber(int number, int zodiacYear);

// The user's attribute settings (SxIni, DsIni, SxSetup).
struct AttributeSettings {
    int zodiacOffset = 1;           // SxIni: codes 0..11 or 1..12
    int segmentOffset = 1;          // DsIni: segments 0..9 or 1..10
    bool sequentialZodiac = false;  // SxSetup: true sequential, false by age
};

// The zodiac code stored for each animal. In age mode it depends on the zodiac year the
// table was built for, which is therefore explicit.
class ZodiacCodeTable {
public:
    static ZodiacCodeTable build(bool sequential, int zodiacOffset, int tableYear);

    int code(int animal) const { return codes_[animal]; }
    // The animal whose code is c, if any (used to name stored codes on screen).
    std::optional<int> animalOfCode(int c) const;
    int tableYear() const { return tableYear_; }
    int offset() const { return offset_; }
    bool sequential() const { return sequential_; }

private:
    std::array<int, kAnimals> codes_{};
    int tableYear_ = 0;
    int offset_ = 1;
    bool sequential_ = false;
};

// Name of a stored zodiac code under the given table; empty when no animal has it.
std::string_view zodiacName(const ZodiacCodeTable& table, int code);

inline int headOf(int n) {
    return n / 10;
}
inline int tailOf(int n) {
    return n % 10;
}
inline int digitSumOf(int n) {
    return headOf(n) + tailOf(n);
}
inline int segmentOf(int n, int segmentOffset) {
    return (n - 1) / 3 + segmentOffset;
}

// The value of one kind of number n in a draw of the given zodiac year, as its row stores it.
int valueOfNumber(Kind kind, int n, int zodiacYear, const ZodiacCodeTable& codes, int segmentOffset);

// All six values of a draw's eight numbers for a draw of the given zodiac year.
DrawValues attributesOf(const Numbers& numbers, int zodiacYear, const ZodiacCodeTable& codes, int segmentOffset);

}  // namespace drawfollow
