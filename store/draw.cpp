#include "store/draw.h"

#include <cstdio>

namespace drawfollow {

std::string valueText(Kind k, int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, twoDigitValueText(k) ? "%02d" : "%d", value);
    return buf;
}

std::string valueField(int position, Kind k) {
    return "L" + std::to_string(position) + letterOf(k);
}

std::string previousField(int position, Kind k) {
    return valueField(position, k) + 'S';
}

std::string backField(int position, Kind k) {
    return valueField(position, k) + 'P';
}

std::string previousListField(Kind k) {
    return "txtHisLst" + std::string(suffixOf(k));
}

std::string backListField(Kind k) {
    return "txtHisPreLst" + std::string(suffixOf(k));
}

}  // namespace drawfollow
