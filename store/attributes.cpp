#include "store/attributes.h"

namespace drawfollow {

namespace {

constexpr std::array<std::string_view, kAnimals> kAnimalNames = {"鼠", "牛", "虎", "兔", "龙", "蛇",
                                                                 "马", "羊", "猴", "鸡", "狗", "猪"};

constexpr int kFirstTableYear = 2001;
// Years 2001..2016 as first published; 2017..2026 counted from the real draw dates;
// 2027..2040 estimated (draws on Monday, Wednesday and Friday from 1 January, the last
// one at least two days before the festival). Later years count 0.
constexpr std::array<int, 40> kSpringFestival = {
    7,  11, 9,  7,  16, 12, 21, 15, 10, 19, 16, 9,  16, 13, 21, 16,  // 2001..2016
    11, 20, 14, 9,  17, 12, 8,  17, 11, 19,                          // 2017..2026 observed
    15, 10, 18, 14, 9,  17, 12, 21, 16, 11, 19, 14, 9,  18};         // 2027..2040 estimated

constexpr int kRatYear = 1972;

int positiveModulo(int a, int m) {
    const int r = a % m;
    return r < 0 ? r + m : r;
}

}  // namespace

std::string_view animalName(int animal) {
    if (animal < 0 || animal >= kAnimals)
        return {};
    return kAnimalNames[animal];
}

int springFestivalEntry(int year) {
    const int i = year - kFirstTableYear;
    if (i < 0 || i >= static_cast<int>(kSpringFestival.size()))
        return 0;
    return kSpringFestival[i];
}

int zodiacYearOfIssue(int issue) {
    const int year = issueYear(issue);
    return issueSequence(issue) <= springFestivalEntry(year) ? year - 1 : year;
}

int animalOfNumber(int number, int zodiacYear) {
    // The year group of animal k holds the numbers n (1..49) with
    // (n - 1) mod 12 == (year - 1972 - k) mod 12; groups 0..10 are tested, the rest is 11.
    if (number < 1 || number > 49)
        return kAnimals - 1;
    return positiveModulo(zodiacYear - kRatYear - (number - 1), kAnimals);
}

ZodiacCodeTable ZodiacCodeTable::build(bool sequential, int zodiacOffset, int tableYear) {
    ZodiacCodeTable t;
    t.tableYear_ = tableYear;
    t.offset_ = zodiacOffset;
    t.sequential_ = sequential;
    for (int k = 0; k < kAnimals; ++k)
        t.codes_[k] = (sequential ? k : positiveModulo(tableYear - kRatYear - k, kAnimals)) + zodiacOffset;
    return t;
}

std::optional<int> ZodiacCodeTable::animalOfCode(int c) const {
    for (int k = 0; k < kAnimals; ++k)
        if (codes_[k] == c)
            return k;
    return std::nullopt;
}

std::string_view zodiacName(const ZodiacCodeTable& table, int code) {
    const auto animal = table.animalOfCode(code);
    return animal ? animalName(*animal) : std::string_view{};
}

int valueOfNumber(Kind kind, int n, int zodiacYear, const ZodiacCodeTable& codes, int segmentOffset) {
    switch (kind) {
        case Kind::Zodiac:
            return codes.code(animalOfNumber(n, zodiacYear));
        case Kind::Head:
            return headOf(n);
        case Kind::Tail:
            return tailOf(n);
        case Kind::DigitSum:
            return digitSumOf(n);
        case Kind::Segment:
            return segmentOf(n, segmentOffset);
        default:
            return n;
    }
}

DrawValues attributesOf(const Numbers& numbers, int zodiacYear, const ZodiacCodeTable& codes, int segmentOffset) {
    DrawValues v{};
    for (int p = 0; p < kPositions; ++p)
        for (const Kind k : kAllKinds)
            v[index(k)][p] = static_cast<int16_t>(valueOfNumber(k, numbers[p], zodiacYear, codes, segmentOffset));
    return v;
}

}  // namespace drawfollow
