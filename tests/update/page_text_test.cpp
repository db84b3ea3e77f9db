// Turning a downloaded page into the text a browser shows: the encoding guess, decoding,
// and the rendering rules of page_text.h.
#include "io/page_text.h"
#include "io/page_charset.h"

#include <gtest/gtest.h>

#include <string>

namespace drawfollow {
namespace {

// "开奖" in GBK.
const std::string kGbkKaijiang = "\xBF\xAA\xBD\xB1";

struct EncodingCase {
    const char* name;
    std::string bytes;
    std::string contentType;
    std::string expected;
};

class PageEncodingTest : public testing::TestWithParam<EncodingCase> {};

TEST_P(PageEncodingTest, FollowsTheBrowsersOrder) {
    EXPECT_EQ(pageEncoding(GetParam().bytes, GetParam().contentType), GetParam().expected);
}

const std::string kGbkMeta = R"(<html><head><meta http-equiv="Content-Type" content="text/html; charset=gb2312">)";

INSTANTIATE_TEST_SUITE_P(
    Pages, PageEncodingTest,
    testing::Values(EncodingCase{"ByteOrderMarkBeatsHeader", "\xEF\xBB\xBF<p>x", "text/html; charset=gbk", "UTF-8"},
                    EncodingCase{"HeaderBeatsMeta", kGbkMeta, "text/html; Charset=\"UTF-8\"", "UTF-8"},
                    EncodingCase{"HttpEquivMeta", kGbkMeta + kGbkKaijiang, "text/html", "GB18030"},
                    EncodingCase{"MetaCharsetAttribute", "<meta charset='GBK'>" + kGbkKaijiang, "", "GB18030"},
                    EncodingCase{"MetaInsideCommentIgnored", "<!-- <meta charset=gbk> --><p>abc", "", "UTF-8"},
                    EncodingCase{"MetaAfterFirst1024BytesIgnored", std::string(1100, ' ') + "<meta charset=gbk>", "",
                                 "UTF-8"},
                    EncodingCase{"ValidUtf8WithoutLabel", "<p>开奖</p>", "", "UTF-8"},
                    EncodingCase{"InvalidUtf8WithoutLabelIsGbk", "<p>" + kGbkKaijiang + "</p>", "", "GB18030"},
                    EncodingCase{"LabelStopsAtQuote", "<meta charset=\"utf-8\" onload=x>", "", "UTF-8"},
                    EncodingCase{"Latin1LabelIsWindows1252", "", "text/html; charset=ISO-8859-1", "WINDOWS-1252"},
                    EncodingCase{"UnknownLabelPassedOn", "", "text/html; charset=koi8-r", "KOI8-R"}),
    [](const auto& info) { return info.param.name; });

TEST(PageDecoding, GbkBecomesUtf8) {
    EXPECT_EQ(decodePage("<p>" + kGbkKaijiang, "GB18030"), "<p>开奖");
}

TEST(PageDecoding, UndecodableBytesAndNulBecomeReplacementCharacters) {
    EXPECT_EQ(decodePage(std::string("a\xFF", 2) + std::string(1, '\0') + "b", "UTF-8"), "a\uFFFD\uFFFDb");
    // 0x81 0x20 is no GBK character: the lead byte alone is replaced, the space survives.
    EXPECT_EQ(decodePage("x\x81 y", "GB18030"), "x\uFFFD y");
    EXPECT_EQ(decodePage("\xEF\xBB\xBFok", "UTF-8"), "ok");
}

TEST(PageDecoding, UnknownEncodingIsAnError) {
    EXPECT_THROW(decodePage("abc", "NO-SUCH-ENCODING-X"), PageError);
}

struct RenderCase {
    const char* name;
    std::string html;
    std::string expected;
};

class InnerTextTest : public testing::TestWithParam<RenderCase> {};

TEST_P(InnerTextTest, RendersLikeABrowser) {
    EXPECT_EQ(bodyInnerText(GetParam().html), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, InnerTextTest,
    testing::Values(
        RenderCase{"BlocksBreakLines", "<div>a</div><div>b</div>c", "a\nb\nc"},
        RenderCase{"ParagraphsLeaveAnEmptyLine", "<p>a</p><p>b</p><div>c</div>", "a\n\nb\n\nc"},
        RenderCase{"NoBreaksAtStartOrEnd", "<p><div>a</div></p>", "a"},
        RenderCase{"BrIsALineBreak", "a<br>b<br><br>c", "a\nb\n\nc"},
        RenderCase{"WhitespaceCollapses", "<div>  a \n\t b  </div>", "a b"},
        RenderCase{"SpaceAcrossInlineElementsCollapses", "a <b> b</b> <i>c</i>", "a b c"},
        RenderCase{"SpaceBeforeLineBreakDropped", "a <br> b", "a\nb"},
        RenderCase{"TableCellsAndRows",
                   "<table>\n <tr>\n  <td> 1 </td>\n  <th>2</th>\n </tr>\n <tr><td>3</td><td></td></tr>\n</table>",
                   "1\t2\n3\t"},
        RenderCase{"RowsAcrossHeadAndBody",
                   "<table><thead><tr><th>h</th></tr></thead><tbody><tr><td>1</td></tr><tr><td>2</td></tr>"
                   "</tbody></table>after",
                   "h\n1\n2\nafter"},
        RenderCase{"ScriptStyleAndHeadNotRendered",
                   "<html><head><title>t</title><style>p{}</style></head><body>x<script>var a = "
                   "'2013001';</script>y<noscript>n</noscript><template>t</template></body></html>",
                   "xy"},
        RenderCase{"HiddenElementsNotRendered", "<div hidden>h</div><span style=\"DISPLAY : none\">s</span>v", "v"},
        RenderCase{"PreKeepsWhitespace", "<pre>a  b\n c</pre>d", "a  b\n c\nd"},
        RenderCase{"EntitiesAndNoBreakSpace", "&lt;a&gt;&nbsp;&amp;", "<a>\u00A0&"},
        RenderCase{"TextWithoutMarkup", "  just text  ", "just text"}, RenderCase{"EmptyPage", "", ""}),
    [](const auto& info) { return info.param.name; });

TEST(InnerText, DeepNestingDoesNotExhaustTheStack) {
    std::string html;
    for (int i = 0; i < 100000; ++i)
        html += "<span>";
    html += "deep";
    EXPECT_EQ(bodyInnerText(html), "deep");
}

}  // namespace
}  // namespace drawfollow
