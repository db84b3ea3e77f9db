// The words the command line names kinds and tally scopes by, for every command that takes them.
#pragma once

#include "analysis/search.h"

#include <map>
#include <string>
#include <vector>

namespace drawfollow::cli {

inline const std::map<std::string, Kind> kKindNames = {{"number", Kind::Number}, {"zodiac", Kind::Zodiac},
                                                       {"head", Kind::Head},     {"tail", Kind::Tail},
                                                       {"sum", Kind::DigitSum},  {"segment", Kind::Segment}};
inline const std::map<std::string, TallyScope> kScopeNames = {
    {"all", TallyScope::All}, {"regular", TallyScope::Regular}, {"special", TallyScope::Special}};

// The words of a name table, for option->check(oneOf(...)).
std::vector<std::string> keysOf(const auto& names) {
    std::vector<std::string> keys;
    keys.reserve(names.size());
    for (const auto& [name, value] : names)
        keys.push_back(name);
    return keys;
}

}  // namespace drawfollow::cli
