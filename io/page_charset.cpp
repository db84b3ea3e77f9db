#include "io/page_charset.h"

#include "io/utf8_text.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <memory>
#include <optional>

namespace drawfollow {

namespace {

constexpr size_t kMetaPrescanBytes = 1024;  // as far as a browser looks for <meta>

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = lower(c);
    return out;
}

bool labelChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':';
}

// The value of the first "charset=" in lower-cased text; a label with anything but
// name characters (or an absurd length) is ignored rather than handed to iconv.
std::optional<std::string> charsetValue(std::string_view text) {
    for (size_t at = text.find("charset"); at != std::string_view::npos; at = text.find("charset", at + 1)) {
        size_t pos = at + 7;
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
            ++pos;
        if (pos >= text.size() || text[pos] != '=')
            continue;
        ++pos;
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '"' || text[pos] == '\''))
            ++pos;
        size_t end = pos;
        while (end < text.size() && labelChar(text[end]))
            ++end;
        if (end > pos && end - pos <= 40)
            return std::string(text.substr(pos, end - pos));
    }
    return std::nullopt;
}

// The iconv name for a label; the aliases follow the encodings a browser maps them to.
std::string encodingForLabel(const std::string& label) {
    static const std::array<std::string_view, 6> utf8 = {"utf-8",         "utf8",          "unicode-1-1-utf-8",
                                                         "unicode11utf8", "unicode20utf8", "x-unicode20utf8"};
    static const std::array<std::string_view, 10> gbk = {"gb2312",          "gbk",     "x-gbk",    "gb_2312",
                                                         "gb_2312-80",      "chinese", "csgb2312", "iso-ir-58",
                                                         "csiso58gb231280", "gb18030"};
    static const std::array<std::string_view, 5> big5 = {"big5", "big5-hkscs", "cn-big5", "csbig5", "x-x-big5"};
    static const std::array<std::string_view, 7> latin = {"iso-8859-1", "iso8859-1", "latin1",      "l1",
                                                          "us-ascii",   "ascii",     "windows-1252"};
    auto in = [&label](const auto& names) {
        for (std::string_view n : names)
            if (label == n)
                return true;
        return false;
    };
    if (in(utf8))
        return "UTF-8";
    if (in(gbk))
        return "GB18030";
    if (in(big5))
        return "BIG5-HKSCS";
    if (in(latin))
        return "WINDOWS-1252";
    std::string upper = label;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

std::optional<std::string> byteOrderMark(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return "UTF-8";
    if (bytes.starts_with("\xFF\xFE"))
        return "UTF-16LE";
    if (bytes.starts_with("\xFE\xFF"))
        return "UTF-16BE";
    return std::nullopt;
}

std::optional<std::string> metaCharset(std::string_view bytes) {
    const std::string head = lowered(bytes.substr(0, kMetaPrescanBytes));
    size_t pos = 0;
    while ((pos = head.find('<', pos)) != std::string::npos) {
        if (head.compare(pos, 4, "<!--") == 0) {
            const size_t close = head.find("-->", pos + 4);
            if (close == std::string::npos)
                return std::nullopt;
            pos = close + 3;
            continue;
        }
        const size_t close = head.find('>', pos);
        const std::string_view tag =
            std::string_view(head).substr(pos, close == std::string::npos ? close : close - pos);
        if (tag.starts_with("<meta"))
            if (auto value = charsetValue(tag))
                return value;
        if (close == std::string::npos)
            return std::nullopt;
        pos = close + 1;
    }
    return std::nullopt;
}

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

std::string convertToUtf8(std::string_view bytes, const std::string& encoding) {
    const iconv_t cd = iconv_open("UTF-8", encoding.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw PageError("网页使用了无法识别的字符编码 “" + encoding + "”");
    const std::unique_ptr<void, IconvCloser> guard(cd);
    std::string out;
    std::array<char, 16384> buffer;
    char* in = const_cast<char*>(bytes.data());  // iconv's signature; the input is not written
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (rc != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // A byte that starts no character of the encoding (or a sequence cut off at the
        // end) is shown as U+FFFD, as a browser does, and decoding resumes after it.
        out += kReplacementCharacterUtf8;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

}  // namespace

std::string pageEncoding(std::string_view bytes, std::string_view contentType) {
    if (auto bom = byteOrderMark(bytes))
        return *bom;
    if (auto label = charsetValue(lowered(contentType)))
        return encodingForLabel(*label);
    if (auto label = metaCharset(bytes))
        return encodingForLabel(*label);
    return isValidUtf8(bytes) ? "UTF-8" : "GB18030";
}

std::string decodePage(std::string_view bytes, std::string_view encoding) {
    if (encoding == "UTF-8") {
        if (bytes.starts_with("\xEF\xBB\xBF"))
            bytes.remove_prefix(3);
        return validUtf8(bytes);
    }
    std::string text = validUtf8(convertToUtf8(bytes, std::string(encoding)));
    if (text.starts_with("\xEF\xBB\xBF"))
        text.erase(0, 3);
    return text;
}

}  // namespace drawfollow
