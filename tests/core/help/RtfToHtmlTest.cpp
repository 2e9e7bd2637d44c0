#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "core/help/RtfToHtml.h"

namespace vk {

namespace {

bool Has(const std::string& html, const std::string& piece)
{
    return html.find(piece) != std::string::npos;
}

}  // namespace

TEST(RtfToHtml, FormatsParagraphsListsAndCharacters)
{
    const std::string html = RtfToHtml(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
        "{\\*\\generator Writer;}\\pard Plain {\\b bold} and {\\i italic}, \\ul under\\ulnone , {\\cf1 red}.\\par"
        "\\pard\\li360\\fi-240 \\bullet\\tab item\\par"
        "\\pard\\qc\\fs32 Big \\'e9t\\'e9 \\u8364?  \\{x\\} a<b & c\\par}");
    EXPECT_FALSE(Has(html, "Arial"));
    EXPECT_FALSE(Has(html, "Writer"));
    EXPECT_TRUE(Has(html, "<span style=\"font-weight:bold;\">bold</span>"));
    EXPECT_TRUE(Has(html, "<span style=\"font-style:italic;\">italic</span>"));
    EXPECT_TRUE(Has(html, "<span style=\"text-decoration:underline;\">under</span>"));
    EXPECT_TRUE(Has(html, "<span style=\"color:#ff0000;\">red</span>"));
    EXPECT_TRUE(Has(html, "margin-left:24px;text-indent:-16px;"));
    EXPECT_TRUE(Has(html, "\xE2\x80\xA2"));  // the bullet
    EXPECT_TRUE(Has(html, "text-align:center;"));
    EXPECT_TRUE(Has(html, "font-size:16pt;"));
    EXPECT_TRUE(Has(html, "Big \xC3\xA9t\xC3\xA9 \xE2\x82\xAC  {x} a&lt;b &amp; c"));
    EXPECT_EQ(std::count(html.begin(), html.end(), '\n'), 3);  // three paragraphs
}

TEST(RtfToHtml, TheMainDialogPageReads)
{
    std::ifstream in(VARNIK_HELP_DIR "/mainDial.rtf", std::ios::binary);
    ASSERT_TRUE(in);
    std::ostringstream rtf;
    rtf << in.rdbuf();
    const std::string html = RtfToHtml(rtf.str());
    EXPECT_TRUE(Has(html, ">Main dialog</span>"));
    EXPECT_TRUE(Has(html, "Skip void data"));
    EXPECT_FALSE(Has(html, "\\"));  // no control word left over
    EXPECT_FALSE(Has(html, "Courier"));
}

}  // namespace vk

namespace vk {

TEST(RtfToHtml, PicturesOfFieldsShowBesideThePage)
{
    const std::string html = RtfToHtml(
        "{\\rtf1\\ansi Before\\par {\\field{\\*\\fldinst INCLUDEPICTURE \"DiveFrame.png\"}"
        "{\\fldrslt }}\\par {\\field{\\*\\fldinst INCLUDEPICTURE \"a\\\"><b>x.png\"}}"
        "{\\field{\\*\\fldinst PAGE}}After\\par}");
    EXPECT_TRUE(Has(html, "<img src=\"DiveFrame.png\">"));
    EXPECT_TRUE(Has(html, "After"));
    EXPECT_FALSE(Has(html, "PAGE"));
    EXPECT_FALSE(Has(html, "<b>"));  // a name is a plain file name, nothing more
}

}  // namespace vk

namespace vk {

namespace {

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The words of a text, markup (<...>, &...;) and punctuation left out.
std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::string word;
    char markupEnd = 0;  // '>' within a tag, ';' within an entity
    for (const char c : text) {
        if (!markupEnd && (c == '<' || c == '&'))
            markupEnd = c == '<' ? '>' : ';';
        const bool letter = !markupEnd && (std::isalnum(static_cast<unsigned char>(c)) || c == '\'');
        if (letter)
            word += c;
        else if (!word.empty())
            words.push_back(std::exchange(word, {}));
        if (c == markupEnd)
            markupEnd = 0;
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

}  // namespace

// The time-base page is shown from the help (rtf) and named as a plain text
// in the bi-channel notice: both say the same, word for word.
TEST(RtfToHtml, TheTimeBasePageReadsTheSameInBothForms)
{
    const std::vector<std::string> page = Words(RtfToHtml(FileText(VARNIK_HELP_DIR "/ESIdiff.rtf")));
    const std::vector<std::string> text = Words(FileText(VARNIK_HELP_DIR "/ESIdiff.txt"));
    ASSERT_GT(text.size(), 100u);
    for (std::size_t i = 0; i < std::min(page.size(), text.size()); ++i)
        ASSERT_EQ(page[i], text[i]) << "word " << i;
    EXPECT_EQ(page.size(), text.size());
}

}  // namespace vk
