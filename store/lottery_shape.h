// The lottery's shape, named once for every layer: each draw yields seven regular numbers and one
// special number, all different, from 1 to 30, and six kinds of value are derived from each number.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <type_traits>

namespace drawfollow {

inline constexpr int kLowestNumber = 1;
inline constexpr int kHighestNumber = 30;
inline constexpr int kNumberCount = kHighestNumber - kLowestNumber + 1;
inline constexpr int kPositions = 8;  // 1..7 regular numbers, 8 the special number
inline constexpr int kRegularPositions = 7;
inline constexpr int kSpecialPosition = kPositions;
inline constexpr int kKinds = 6;

constexpr bool isDrawNumber(int n) {
    return n >= kLowestNumber && n <= kHighestNumber;
}

// Index order matters: it is the order of the option groups and of the stored lists.
enum class Kind : int { Number = 0, Zodiac = 1, Head = 2, Tail = 3, DigitSum = 4, Segment = 5 };

inline constexpr std::array<Kind, kKinds> kAllKinds = {Kind::Number, Kind::Zodiac,   Kind::Head,
                                                       Kind::Tail,   Kind::DigitSum, Kind::Segment};

constexpr int index(Kind k) {
    return static_cast<int>(k);
}

// A range of values, both ends included.
struct ValueRange {
    int low;
    int high;
    constexpr bool contains(int v) const { return v >= low && v <= high; }
};

// Per kind, the values the counted lists keep a counter for.
inline constexpr std::array<ValueRange, kKinds> kCounterRanges = {ValueRange{kLowestNumber, kHighestNumber},
                                                                  ValueRange{0, 12},
                                                                  ValueRange{0, 4},
                                                                  ValueRange{0, 9},
                                                                  ValueRange{1, 13},
                                                                  ValueRange{0, 10}};

// Per kind, the values a tally counts; a stored value outside them is not counted.
inline constexpr std::array<ValueRange, kKinds> kTalliedValues = {ValueRange{kLowestNumber, kHighestNumber},
                                                                  ValueRange{0, 12},
                                                                  ValueRange{0, 3},
                                                                  ValueRange{0, 9},
                                                                  ValueRange{1, 11},
                                                                  ValueRange{0, 10}};

// The first position, in order, that keeps numbers from being (the start of) a draw.
struct DrawFault {
    int position = 0;         // 1-based
    int number = 0;           // what that position holds
    int earlierPosition = 0;  // the earlier position holding the same number; 0: the number is out of range
};

// The one check of a draw's numbers, for a whole draw or the positions entered so far.
template <typename Number, size_t Extent>
constexpr std::optional<DrawFault> drawFault(std::span<Number, Extent> numbers) {
    static_assert(std::is_integral_v<Number>);
    for (size_t p = 0; p < numbers.size(); ++p) {
        const int n = numbers[p];
        if (!isDrawNumber(n))
            return DrawFault{static_cast<int>(p) + 1, n, 0};
        for (size_t q = 0; q < p; ++q)
            if (numbers[q] == n)
                return DrawFault{static_cast<int>(p) + 1, n, static_cast<int>(q) + 1};
    }
    return std::nullopt;
}

}  // namespace drawfollow
