#include "analysis/shape_measures.h"

#include "store/lottery_shape.h"

#include <bit>
#include <stdexcept>

namespace drawfollow {

namespace {

constexpr NumberSet setOf(std::initializer_list<int> numbers) {
    NumberSet set = 0;
    for (int n : numbers)
        set |= NumberSet{1} << n;
    return set;
}

constexpr NumberSet rangeSet(int low, int high) {
    NumberSet set = 0;
    for (int n = low; n <= high; ++n)
        set |= NumberSet{1} << n;
    return set;
}

constexpr NumberSet kOdd = setOf({1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29});
constexpr NumberSet kBig = rangeSet(kHighestNumber / 2 + 1, kHighestNumber);
// The sites' 质 numbers: the primes below 30 and 1.
constexpr NumberSet kPrime = setOf({1, 2, 3, 5, 7, 11, 13, 17, 19, 23, 29});
constexpr std::array kZones = {rangeSet(kLowestNumber, 10), rangeSet(11, 20), rangeSet(21, kHighestNumber)};

int count(NumberSet set) {
    return std::popcount(set);
}

int sumOf(NumberSet set) {
    int sum = 0;
    for (; set != 0; set &= set - 1)
        sum += std::countr_zero(set);
    return sum;
}

// Each member a shifted down by a leaves the differences b − a of the members above it.
int acOf(NumberSet set) {
    uint32_t differences = 0;
    for (NumberSet rest = set; rest != 0; rest &= rest - 1)
        differences |= set >> std::countr_zero(rest);
    return count(differences & ~1u) - (count(set) - 1);
}

}  // namespace

std::string_view measureName(ShapeMeasure measure) {
    switch (measure) {
        case ShapeMeasure::Sum:
            return "和值";
        case ShapeMeasure::Span:
            return "跨度";
        case ShapeMeasure::Odd:
            return "奇偶";
        case ShapeMeasure::Big:
            return "大小";
        case ShapeMeasure::Prime:
            return "质合";
        case ShapeMeasure::Consecutive:
            return "连号";
        case ShapeMeasure::Repeat:
            return "重号";
        case ShapeMeasure::Ac:
            return "AC";
        case ShapeMeasure::Zone:
            return "区间";
    }
    return {};
}

int numbersInScope(TallyScope scope) {
    return scope == TallyScope::All ? kPositions : kRegularPositions;
}

NumberSet scopeNumbers(const std::array<int, kPositions>& numbers, TallyScope scope) {
    NumberSet set = 0;
    for (int p = 0; p < numbersInScope(scope); ++p)
        set |= NumberSet{1} << numbers[static_cast<size_t>(p)];
    return set;
}

int shapeOf(ShapeMeasure measure, NumberSet numbers) {
    switch (measure) {
        case ShapeMeasure::Sum:
            return sumOf(numbers);
        case ShapeMeasure::Span:
            return numbers == 0 ? 0 : std::bit_width(numbers) - 1 - std::countr_zero(numbers);
        case ShapeMeasure::Odd:
            return count(numbers & kOdd);
        case ShapeMeasure::Big:
            return count(numbers & kBig);
        case ShapeMeasure::Prime:
            return count(numbers & kPrime);
        case ShapeMeasure::Consecutive:
            return count(numbers & (numbers >> 1));
        case ShapeMeasure::Repeat:
            throw std::invalid_argument("a repeat count needs the previous draw: repeatCount");
        case ShapeMeasure::Ac:
            return acOf(numbers);
        case ShapeMeasure::Zone:
            return count(numbers & kZones[0]) * 100 + count(numbers & kZones[1]) * 10 + count(numbers & kZones[2]);
    }
    return 0;
}

int repeatCount(NumberSet numbers, NumberSet previous) {
    return count(numbers & previous);
}

GridCell shapeValueCell(ShapeMeasure measure, int value) {
    if (measure != ShapeMeasure::Zone)
        return GridCell::whole(value);
    return std::to_string(value / 100) + ":" + std::to_string(value / 10 % 10) + ":" + std::to_string(value % 10);
}

std::string shapeValueText(ShapeMeasure measure, int value) {
    return shapeValueCell(measure, value).text();
}

}  // namespace drawfollow
