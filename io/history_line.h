// The reading rules of one line of a history text file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drawfollow {

// What the reading rules take from one line. A line is a draw (an issue, eight numbers and
// no problem), a heading to skip (no issue and no problem), or refused (a problem).
struct ParsedLine {
    std::optional<int> issue;  // the seven-digit issue the line begins with
    std::vector<int> numbers;  // the first eight numbers after the issue, in line order
    std::string problem;       // why the line cannot be stored; empty for a draw or a heading

    bool isHeading() const { return !issue && problem.empty(); }
};

// Full-width digits (０..９, in UTF-8 or in GBK) are read as the digits they are.
// After leading blanks the line begins with a seven-digit issue whose sequence (last three
// digits) is 001..999; every run of digits after it is a number of two digits, or all the numbers
// written together, and the first eight of them are the draw. Anything but a digit
// separates. A line without such an issue is a heading when it holds fewer than eight
// numbers (every two digits of a run counting as one, and a lone digit left over too), and
// refused otherwise, so that no draw is ever dropped in silence. A line with an issue is
// refused when a run of digits after it has an odd length (a one-digit "3", a three-digit
// "100"), when a run other than all the numbers written together is not two digits long
// ("0307" among separated numbers: a date is more likely than two numbers), or when it
// holds fewer than eight numbers.
ParsedLine parseHistoryLine(std::string_view line);

}  // namespace drawfollow
