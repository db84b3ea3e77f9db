#include "io/page_text.h"

#include "io/page_charset.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <array>
#include <climits>
#include <memory>
#include <mutex>

namespace drawfollow {

namespace {

using namespace std::string_view_literals;

constexpr std::array kNotRendered = {"head"sv,     "title"sv,  "script"sv, "style"sv,    "noscript"sv,
                                     "template"sv, "iframe"sv, "object"sv, "textarea"sv, "select"sv};
constexpr std::array kBlocks = {
    "address"sv, "article"sv, "aside"sv,  "blockquote"sv, "body"sv,      "caption"sv, "center"sv,   "dd"sv,
    "details"sv, "dialog"sv,  "dir"sv,    "div"sv,        "dl"sv,        "dt"sv,      "fieldset"sv, "figcaption"sv,
    "figure"sv,  "footer"sv,  "form"sv,   "h1"sv,         "h2"sv,        "h3"sv,      "h4"sv,       "h5"sv,
    "h6"sv,      "header"sv,  "hgroup"sv, "hr"sv,         "html"sv,      "legend"sv,  "li"sv,       "listing"sv,
    "main"sv,    "menu"sv,    "nav"sv,    "ol"sv,         "plaintext"sv, "pre"sv,     "section"sv,  "summary"sv,
    "table"sv,   "ul"sv,      "xmp"sv};
constexpr std::array kPreformatted = {"pre"sv, "listing"sv, "xmp"sv, "plaintext"sv};
constexpr std::array kTableStructure = {"table"sv, "thead"sv, "tbody"sv, "tfoot"sv, "tr"sv, "colgroup"sv};
constexpr std::array kRowGroups = {"thead"sv, "tbody"sv, "tfoot"sv};

template <size_t N>
bool among(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string_view nameOf(const xmlNode* node) {
    return node && node->name ? std::string_view(reinterpret_cast<const char*>(node->name)) : std::string_view();
}

bool isElement(const xmlNode* node, std::string_view name) {
    return node && node->type == XML_ELEMENT_NODE && nameOf(node) == name;
}

bool isCollapsibleSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string attribute(const xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (!value)
        return {};
    std::string s(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return s;
}

bool hiddenByAttributes(const xmlNode* node) {
    if (xmlHasProp(node, reinterpret_cast<const xmlChar*>("hidden")))
        return true;
    std::string style;
    for (char c : attribute(node, "style"))
        if (!isCollapsibleSpace(c))
            style += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return style.find("display:none") != std::string::npos;
}

bool anyLaterSibling(const xmlNode* node, std::string_view a, std::string_view b = {}) {
    for (const xmlNode* n = node->next; n; n = n->next)
        if (n->type == XML_ELEMENT_NODE && (nameOf(n) == a || (!b.empty() && nameOf(n) == b)))
            return true;
    return false;
}

bool lastCellOfRow(const xmlNode* cell) {
    return !anyLaterSibling(cell, "td", "th");
}

bool lastRowOfTable(const xmlNode* row) {
    if (anyLaterSibling(row, "tr"))
        return false;
    const xmlNode* group = row->parent;
    if (!group || !among(kRowGroups, nameOf(group)))
        return true;
    for (const xmlNode* g = group->next; g; g = g->next) {
        if (isElement(g, "tr"))
            return false;
        if (g->type == XML_ELEMENT_NODE && among(kRowGroups, nameOf(g)))
            for (const xmlNode* r = g->children; r; r = r->next)
                if (isElement(r, "tr"))
                    return false;
    }
    return true;
}

bool insidePreformatted(const xmlNode* node) {
    for (const xmlNode* p = node->parent; p; p = p->parent)
        if (p->type == XML_ELEMENT_NODE && among(kPreformatted, nameOf(p)))
            return true;
    return false;
}

// Collects the rendered text: spaces are held back until the next visible character, so
// that a space at the end of a line vanishes; line breaks are held back as a count, so
// that adjacent block boundaries merge and none appear at the start or the end.
class RenderedText {
public:
    void text(std::string_view s) {
        for (char c : s) {
            if (isCollapsibleSpace(c)) {
                pendingSpace_ = !atLineStart_;
                continue;
            }
            flushBreaks();
            if (pendingSpace_)
                out_ += ' ';
            pendingSpace_ = false;
            out_ += c;
            atLineStart_ = false;
        }
    }
    void preformatted(std::string_view s) {
        if (s.empty())
            return;
        flushBreaks();
        pendingSpace_ = false;
        for (char c : s)
            if (c != '\r')
                out_ += c;
        atLineStart_ = false;
    }
    void lineBoundary(int breaks) {
        pendingSpace_ = false;
        atLineStart_ = true;
        pendingBreaks_ = std::max(pendingBreaks_, breaks);
    }
    void literal(char c) {
        pendingSpace_ = false;
        flushBreaks();
        out_ += c;
        atLineStart_ = true;
    }
    std::string take() { return std::move(out_); }

private:
    void flushBreaks() {
        if (!out_.empty())
            out_.append(static_cast<size_t>(pendingBreaks_), '\n');
        pendingBreaks_ = 0;
    }

    std::string out_;
    int pendingBreaks_ = 0;
    bool pendingSpace_ = false;
    bool atLineStart_ = true;
};

class Renderer {
public:
    // Walks the tree without recursion: libxml2 accepts deeper nesting than a stack would.
    std::string render(const xmlNode* root) {
        const xmlNode* node = root->children;
        while (node) {
            const bool descend = enter(node);
            if (descend && node->children) {
                node = node->children;
                continue;
            }
            if (descend)
                leave(node);
            while (!node->next) {
                node = node->parent;
                if (node == root)
                    return out_.take();
                leave(node);
            }
            node = node->next;
        }
        return out_.take();
    }

private:
    // Returns whether the node's children are rendered.
    bool enter(const xmlNode* node) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            addText(node);
            return false;
        }
        if (node->type != XML_ELEMENT_NODE)
            return false;
        const std::string_view name = nameOf(node);
        if (among(kNotRendered, name) || hiddenByAttributes(node))
            return false;
        if (name == "br")
            out_.literal('\n');
        else if (name == "td" || name == "th")
            out_.lineBoundary(0);
        else if (name == "p")
            out_.lineBoundary(2);
        else if (among(kBlocks, name))
            out_.lineBoundary(1);
        return true;
    }

    void leave(const xmlNode* node) {
        const std::string_view name = nameOf(node);
        if (name == "td" || name == "th") {
            out_.lineBoundary(0);
            if (!lastCellOfRow(node))
                out_.literal('\t');
        } else if (name == "tr") {
            if (!lastRowOfTable(node))
                out_.literal('\n');
        } else if (name == "p") {
            out_.lineBoundary(2);
        } else if (among(kBlocks, name)) {
            out_.lineBoundary(1);
        }
    }

    void addText(const xmlNode* node) {
        if (!node->content)
            return;
        const std::string_view content(reinterpret_cast<const char*>(node->content));
        if (insidePreformatted(node)) {
            out_.preformatted(content);
            return;
        }
        const bool onlySpace = std::all_of(content.begin(), content.end(), isCollapsibleSpace);
        if (onlySpace && node->parent && among(kTableStructure, nameOf(node->parent)))
            return;
        out_.text(content);
    }

    RenderedText out_;
};

// libxml2 puts the body directly under the root element, as browsers do.
const xmlNode* findBody(const xmlNode* root) {
    if (isElement(root, "body"))
        return root;
    for (const xmlNode* node = root->children; node; node = node->next)
        if (isElement(node, "body"))
            return node;
    return nullptr;
}

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

}  // namespace

std::string bodyInnerText(std::string_view utf8Html) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { xmlInitParser(); });
    if (utf8Html.empty())
        return {};
    if (utf8Html.size() > static_cast<size_t>(INT_MAX))
        throw PageError("网页过大，无法读取");
    // XML_PARSE_HUGE lifts the nesting limit, beyond which libxml2 would drop the rest of
    // the page; the size is bounded by the download limit.
    const int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET |
                        HTML_PARSE_IGNORE_ENC | HTML_PARSE_COMPACT | XML_PARSE_HUGE;
    const std::unique_ptr<xmlDoc, DocFree> doc(
        htmlReadMemory(utf8Html.data(), static_cast<int>(utf8Html.size()), nullptr, "UTF-8", options));
    if (!doc)
        return {};
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    if (!root)
        return {};
    const xmlNode* body = findBody(root);
    return Renderer().render(body ? body : root);
}

}  // namespace drawfollow
