#include "xlsx_sheet_reader.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

namespace drawfollow::test {

namespace {

std::string unzipMember(const std::filesystem::path& archive, const std::string& member) {
    const std::string command = "unzip -p '" + archive.string() + "' '" + member + "' 2>/dev/null";
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
        out.append(buf.data(), n);
    pclose(pipe);
    return out;
}

bool named(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, BAD_CAST name) == 0;
}

std::string attribute(const xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, BAD_CAST name);
    std::string text = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

std::string content(const xmlNode* node) {
    xmlChar* value = xmlNodeGetContent(node);
    std::string text = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

// Calls `visit` for every element of the document, depth first.
void forEachElement(const std::string& xml, const std::function<void(const xmlNode*)>& visit) {
    xmlDoc* doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr, XML_PARSE_NONET);
    if (!doc)
        return;
    std::function<void(const xmlNode*)> walk = [&](const xmlNode* node) {
        for (; node; node = node->next) {
            if (node->type == XML_ELEMENT_NODE)
                visit(node);
            walk(node->children);
        }
    };
    walk(xmlDocGetRootElement(doc));
    xmlFreeDoc(doc);
}

struct CellStyle {
    std::string numberFormat;
    std::string fill;
    std::string fontColour;
};

// Every cell style, by the style's index ("s" of a cell).
std::vector<CellStyle> cellStyles(const std::filesystem::path& workbook) {
    // The built-in formats a writer refers to by number alone.
    std::map<std::string, std::string> codes{{"0", "General"}, {"1", "0"}, {"2", "0.00"}, {"9", "0%"}, {"10", "0.00%"}};
    std::vector<std::string> fonts;
    std::vector<std::string> fills;
    std::vector<CellStyle> styles;
    std::string section;  // the list the elements read belong to
    forEachElement(unzipMember(workbook, "xl/styles.xml"), [&](const xmlNode* node) {
        for (const char* list :
             {"numFmts", "fonts", "fills", "borders", "cellStyleXfs", "cellXfs", "cellStyles", "dxfs"})
            if (named(node, list))
                section = list;
        if (named(node, "numFmt"))
            codes[attribute(node, "numFmtId")] = attribute(node, "formatCode");
        else if (section == "fonts" && named(node, "font"))
            fonts.emplace_back();
        else if (section == "fonts" && named(node, "color") && !fonts.empty())
            fonts.back() = attribute(node, "rgb");
        else if (section == "fills" && named(node, "fill"))
            fills.emplace_back();
        else if (section == "fills" && named(node, "fgColor") && !fills.empty())
            fills.back() = attribute(node, "rgb");
        else if (section == "cellXfs" && named(node, "xf")) {
            const auto listed = [&](const std::vector<std::string>& list, const char* id) {
                const std::string index = attribute(node, id);
                return index.empty() || std::stoul(index) >= list.size() ? std::string() : list[std::stoul(index)];
            };
            styles.push_back({codes[attribute(node, "numFmtId")], listed(fills, "fillId"), listed(fonts, "fontId")});
        }
    });
    return styles;
}

}  // namespace

std::string shownText(const SheetCell& cell) {
    const std::string& format = cell.numberFormat;
    if (!cell.isNumber || format.empty() || format.front() != '0')
        return cell.value;
    const bool percent = format.back() == '%';
    const size_t point = format.find('.');
    const size_t digitsEnd = format.size() - (percent ? 1 : 0);
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(digitsEnd - point - 1);
    char shown[64];
    std::snprintf(shown, sizeof shown, percent ? "%.*f%%" : "%.*f", decimals,
                  std::stod(cell.value) * (percent ? 100 : 1));
    return shown;
}

Sheet readFirstSheet(const std::filesystem::path& workbook) {
    Sheet sheet;
    forEachElement(unzipMember(workbook, "xl/workbook.xml"), [&](const xmlNode* node) {
        if (named(node, "sheet") && sheet.name.empty())
            sheet.name = attribute(node, "name");
    });
    std::vector<std::string> shared;
    forEachElement(unzipMember(workbook, "xl/sharedStrings.xml"), [&](const xmlNode* node) {
        if (named(node, "si"))
            shared.push_back(content(node));
    });
    const std::vector<CellStyle> styles = cellStyles(workbook);
    sheet.cellFormats = styles.size();
    forEachElement(unzipMember(workbook, "xl/worksheets/sheet1.xml"), [&](const xmlNode* node) {
        if (named(node, "dimension"))
            sheet.dimension = attribute(node, "ref");
        // The Excel 2010 extension repeats the bar without a range attribute: the first one says it all.
        if (const std::string range = named(node, "dataBar") ? attribute(node->parent->parent, "sqref") : "";
            !range.empty()) {
            for (const xmlNode* child = node->children; child; child = child->next) {
                if (named(child, "color"))
                    sheet.dataBars[range].first = attribute(child, "rgb");
                else if (named(child, "cfvo") && sheet.dataBars[range].second.empty())
                    sheet.dataBars[range].second = attribute(child, "type") + " " + attribute(child, "val");
            }
        }
        if (!named(node, "c"))
            return;
        SheetCell cell;
        const std::string type = attribute(node, "t");
        for (const xmlNode* child = node->children; child; child = child->next) {
            if (named(child, "v"))
                cell.value = content(child);
            else if (named(child, "is"))  // an inline string
                cell.value = content(child);
        }
        cell.isNumber = type.empty() || type == "n";
        const std::string styleIndexText = attribute(node, "s");
        const size_t styleIndex = styleIndexText.empty() ? 0 : std::stoul(styleIndexText);
        const CellStyle style = styleIndex < styles.size() ? styles[styleIndex] : CellStyle{"General", {}, {}};
        cell.numberFormat = style.numberFormat;
        cell.fill = style.fill;
        cell.fontColour = style.fontColour;
        if (type == "s")
            cell.value = shared.at(std::stoul(cell.value));
        sheet.cells[attribute(node, "r")] = cell;
    });
    return sheet;
}

}  // namespace drawfollow::test
