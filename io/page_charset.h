// Which character encoding a downloaded page is in, and its text as UTF-8.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace drawfollow {

// A page whose bytes cannot be turned into text at all.
class PageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The encoding a browser would decode the page with, as an iconv name ("UTF-8",
// "GB18030", ...). The order a browser follows: a byte order mark, the charset of the
// HTTP Content-Type header, a <meta> charset within the first 1024 bytes; without any,
// UTF-8 when the bytes are valid UTF-8, else GB18030 (the default of a Chinese browser).
// GB2312 and GBK labels are read as GB18030, which contains both.
std::string pageEncoding(std::string_view bytes, std::string_view contentType);

// The page's text as valid UTF-8: undecodable bytes and NUL become U+FFFD, a byte order
// mark is dropped. Throws PageError when the encoding is unknown to the system.
std::string decodePage(std::string_view bytes, std::string_view encoding);

}  // namespace drawfollow
