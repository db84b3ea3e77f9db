#include "store/clock.h"

#include <chrono>

namespace drawfollow {

int SystemClock::currentYear() const {
    using namespace std::chrono;
    const year_month_day today{floor<days>(system_clock::now())};
    return static_cast<int>(today.year());
}

}  // namespace drawfollow
