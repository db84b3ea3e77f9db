#include "cli/streamed_json.h"

#include <ostream>
#include <string>

namespace drawfollow::cli {

void writeNested(std::ostream& out, const nlohmann::ordered_json& value, int depth) {
    std::string text = value.dump(1);
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        text.insert(at + 1, static_cast<size_t>(depth), ' ');
    out << text;
}

void writeMembers(std::ostream& out, const nlohmann::ordered_json& object, bool afterOthers) {
    for (const auto& member : object.items()) {
        out << (afterOthers ? ",\n " : " ") << nlohmann::ordered_json(member.key()).dump() << ": ";
        writeNested(out, member.value(), 1);
        afterOthers = true;
    }
}

StreamedList::StreamedList(std::ostream& out, std::string_view name) : out_(&out) {
    out << ' ' << nlohmann::ordered_json(name).dump() << ": ";
}

void StreamedList::add(const nlohmann::ordered_json& element) {
    *out_ << (empty_ ? "[\n  " : ",\n  ");
    empty_ = false;
    writeNested(*out_, element, 2);
}

void StreamedList::close() {
    *out_ << (empty_ ? "[]" : "\n ]");
}

}  // namespace drawfollow::cli
