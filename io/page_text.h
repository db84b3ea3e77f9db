// The text of a page body as a browser renders it (its innerText), without a browser.
#pragma once

#include <string>
#include <string_view>

namespace drawfollow {

// Parses UTF-8 HTML with libxml2's forgiving HTML parser and renders the <body> (the
// root element when there is none) as innerText does for the default style sheet:
// - script, style, noscript, template, head, title, iframe, object, textarea and select
//   are not rendered, nor any element with a `hidden` attribute or an inline
//   "display:none" style;
// - a block element (div, table, li, h1..h6, ...) starts and ends a line, a <p> leaves an
//   empty line before and after it; runs of such breaks give as many line breaks as the
//   largest of them, and none at the very start or end;
// - <br> is a line break; a table cell is followed by a tab unless it is the last of its
//   row, a row by a line break unless it is the last of its table;
// - outside <pre> (and listing, xmp, plaintext) each run of spaces, tabs and line ends
//   becomes one space, which is dropped at the start and end of a line and of a cell;
//   whitespace between table cells and rows renders nothing; U+00A0 is kept as it is.
// Returns valid UTF-8; empty for a page without any text.
std::string bodyInnerText(std::string_view utf8Html);

}  // namespace drawfollow
