// JSON written as it is produced, laid out byte for byte as nlohmann::json's dump(1) lays
// out the whole document, so that no output needs its whole tree in memory.
#pragma once

#include <nlohmann/json.hpp>

#include <iosfwd>
#include <string_view>

namespace drawfollow::cli {

// A value as the whole document's dump(1) writes it `depth` levels deep.
void writeNested(std::ostream& out, const nlohmann::ordered_json& value, int depth);

// The members of `object` as members of the top-level object, the first after ",\n" when
// `afterOthers` says members were written before them.
void writeMembers(std::ostream& out, const nlohmann::ordered_json& object, bool afterOthers);

// A member of the top-level object whose value is a list, written element by element.
class StreamedList {
public:
    // Writes the member's name; the caller has written what comes before it.
    StreamedList(std::ostream& out, std::string_view name);
    void add(const nlohmann::ordered_json& element);
    // Ends the list ("[]" when nothing was added); the caller writes what follows it.
    void close();

private:
    std::ostream* out_;
    bool empty_ = true;
};

}  // namespace drawfollow::cli
