#include "analysis/shape_chance.h"

#include "store/history_db.h"
#include "store/lottery_shape.h"

#include <array>
#include <bit>

namespace drawfollow {

namespace {

// Above every value a measure can take: the largest is the zone code 800.
constexpr int kValueSlots = 1000;

using Distributions = std::array<std::vector<ShapeChance>, kShapeMeasureCount>;

// What one number adds to the class counts and the zone code of a set.
struct OneNumber {
    int odd = 0;
    int big = 0;
    int prime = 0;
    int zone = 0;
};

const std::array<OneNumber, kHighestNumber + 1> kOne = [] {
    std::array<OneNumber, kHighestNumber + 1> one{};
    for (int n = kLowestNumber; n <= kHighestNumber; ++n) {
        const NumberSet set = NumberSet{1} << n;
        one[n] = {shapeOf(ShapeMeasure::Odd, set), shapeOf(ShapeMeasure::Big, set), shapeOf(ShapeMeasure::Prime, set),
                  shapeOf(ShapeMeasure::Zone, set)};
    }
    return one;
}();

// Walks every k-set in ascending order of its members, carrying what each added member
// changes, so that a set costs a few additions and one population count at its end.
class SetWalk {
public:
    explicit SetWalk(int k) : k_(k) {
        for (auto& t : tallies_)
            t.assign(kValueSlots, 0);
    }

    void walk() { visit({}, 1); }

    Distributions distributions() const {
        const auto total = static_cast<double>(binomial(kNumberCount, k_));
        Distributions result;
        for (ShapeMeasure m : kShapeMeasures) {
            const std::vector<uint64_t>& tally = tallies_[static_cast<size_t>(index(m))];
            for (int v = 0; v < kValueSlots; ++v)
                if (tally[static_cast<size_t>(v)] > 0)
                    result[static_cast<size_t>(index(m))].push_back(
                        {v, tally[static_cast<size_t>(v)], static_cast<double>(tally[static_cast<size_t>(v)]) / total});
        }
        result[static_cast<size_t>(index(ShapeMeasure::Repeat))] = repeats(total);
        return result;
    }

private:
    struct Partial {
        int size = 0;
        int last = 0;
        int sum = 0;
        int first = 0;
        int odd = 0;
        int big = 0;
        int prime = 0;
        int consecutive = 0;
        int zone = 0;
        // Bit 31 − n for each member n: shifted right by 31 − x it holds x − n for each.
        uint32_t mirrored = 0;
        uint32_t differences = 0;
    };

    static Partial with(const Partial& p, int x) {
        Partial next = p;
        next.size = p.size + 1;
        next.last = x;
        next.first = p.size == 0 ? x : p.first;
        next.sum = p.sum + x;
        next.odd = p.odd + kOne[x].odd;
        next.big = p.big + kOne[x].big;
        next.prime = p.prime + kOne[x].prime;
        next.consecutive = p.consecutive + (p.size > 0 && x == p.last + 1 ? 1 : 0);
        next.zone = p.zone + kOne[x].zone;
        next.differences = p.differences | (p.mirrored >> (31 - x));
        next.mirrored = p.mirrored | (uint32_t{1} << (31 - x));
        return next;
    }

    // Leave room for the members still to come; the last member is counted in place, since
    // nearly every step of the walk is a last member.
    void visit(const Partial& p, int from) {
        const int highest = kHighestNumber - (k_ - p.size - 1);
        if (p.size + 1 < k_) {
            for (int x = from; x <= highest; ++x)
                visit(with(p, x), x + 1);
            return;
        }
        for (int x = from; x <= highest; ++x) {
            add(ShapeMeasure::Sum, p.sum + x);
            add(ShapeMeasure::Span, x - p.first);
            add(ShapeMeasure::Odd, p.odd + kOne[x].odd);
            add(ShapeMeasure::Big, p.big + kOne[x].big);
            add(ShapeMeasure::Prime, p.prime + kOne[x].prime);
            add(ShapeMeasure::Consecutive, p.consecutive + (x == p.last + 1 ? 1 : 0));
            add(ShapeMeasure::Ac, std::popcount(p.differences | (p.mirrored >> (31 - x))) - (k_ - 1));
            add(ShapeMeasure::Zone, p.zone + kOne[x].zone);
        }
    }

    void add(ShapeMeasure m, int value) { ++tallies_[static_cast<size_t>(index(m))][static_cast<size_t>(value)]; }

    // j of the k members among the previous draw's k, the other k − j among the 30 − k.
    std::vector<ShapeChance> repeats(double total) const {
        std::vector<ShapeChance> result;
        for (int j = 0; j <= k_; ++j) {
            const uint64_t sets = binomial(k_, j) * binomial(kNumberCount - k_, k_ - j);
            if (sets > 0)
                result.push_back({j, sets, static_cast<double>(sets) / total});
        }
        return result;
    }

    int k_;
    std::array<std::vector<uint64_t>, kShapeMeasureCount> tallies_;
};

Distributions walked(int k) {
    SetWalk walk(k);
    walk.walk();
    return walk.distributions();
}

}  // namespace

uint64_t binomial(int n, int k) {
    if (k < 0 || k > n)
        return 0;
    uint64_t c = 1;
    for (int i = 1; i <= k; ++i)
        c = c * static_cast<uint64_t>(n - k + i) / static_cast<uint64_t>(i);
    return c;
}

const std::vector<ShapeChance>& shapeDistribution(ShapeMeasure measure, TallyScope scope) {
    if (scope == TallyScope::Special)
        throw StoreError("形态分析只看平码或平特，单个特码没有形态。");
    const auto slot = static_cast<size_t>(index(measure));
    if (scope == TallyScope::All) {
        static const Distributions eight = walked(kPositions);
        return eight[slot];
    }
    static const Distributions seven = walked(kRegularPositions);
    return seven[slot];
}

}  // namespace drawfollow
