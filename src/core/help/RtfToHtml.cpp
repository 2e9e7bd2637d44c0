#include "core/help/RtfToHtml.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vk {

namespace {

struct CharFormat {
    bool bold = false, italic = false, underline = false;
    int colour = 0;      // index into the colour table, 0 = automatic
    int halfPoints = 0;  // 0 = default size
    bool operator==(const CharFormat&) const = default;
};

struct ParagraphFormat {
    int leftIndent = 0, firstIndent = 0;  // twips
    char align = 'l';
};

struct GroupState {
    CharFormat chars;
    bool skip = false;  // inside a destination that is not shown
    bool colourTable = false;
    int unicodeSkip = 1;
};

// Windows-1252 bytes 0x80..0x9F as Unicode; the rest of the code page is Latin-1.
const char16_t Cp1252High[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

void AppendUtf8(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

class Converter {
public:
    explicit Converter(std::string_view rtf) : in_(rtf) { groups_.push_back({}); }

    std::string run()
    {
        while (at_ < in_.size()) {
            const char c = in_[at_++];
            if (c == '{') {
                groups_.push_back(groups_.back());
                // "{\*\name" marks a destination a reader may ignore.
                if (in_.substr(at_, 2) == "\\*") {
                    groups_.back().skip = true;
                    if (in_.substr(at_, 10) == "\\*\\fldinst")
                        fieldInstruction();
                }
            } else if (c == '}') {
                if (groups_.size() > 1)
                    groups_.pop_back();
            } else if (c == '\\') {
                controlWord();
            } else if (c == '\r' || c == '\n') {
                continue;
            } else {
                text(static_cast<unsigned char>(c));
            }
        }
        endParagraph(false);
        return "<html><body>" + html_ + "</body></html>";
    }

private:
    GroupState& state() { return groups_.back(); }

    // A field's instruction: INCLUDEPICTURE "name" shows that picture, found
    // beside the page. The group itself is skipped as any destination.
    void fieldInstruction()
    {
        int depth = 1;
        std::size_t end = at_;
        while (end < in_.size() && depth > 0) {
            if (in_[end] == '\\')
                ++end;
            else if (in_[end] == '{')
                ++depth;
            else if (in_[end] == '}')
                --depth;
            ++end;
        }
        const std::string_view instruction = in_.substr(at_, end - at_);
        const std::size_t key = instruction.find("INCLUDEPICTURE");
        if (key == std::string_view::npos)
            return;
        const std::size_t open = instruction.find('"', key), close = instruction.find('"', open + 1);
        if (open == std::string_view::npos || close == std::string_view::npos)
            return;
        std::string name;
        for (const char ch : instruction.substr(open + 1, close - open - 1))
            if (std::isalnum(static_cast<unsigned char>(ch)) || ch == '.' || ch == '-' || ch == '_' || ch == '/')
                name += ch;  // a plain file name: nothing that could break out of the attribute
        GroupState& s = groups_[groups_.size() - 2];
        const bool skip = s.skip;
        if (!skip && !name.empty())
            emit("<img src=\"" + name + "\">");
    }

    void controlWord()
    {
        if (at_ >= in_.size())
            return;
        const char c = in_[at_];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++at_;
            switch (c) {
            case '\\':
            case '{':
            case '}': text(static_cast<unsigned char>(c)); break;
            case '~': character(0xA0); break;
            case '_': character(0x2011); break;
            case '\'': {
                const std::string hex(in_.substr(at_, 2));
                at_ += hex.size();
                const auto byte = static_cast<unsigned>(std::strtoul(hex.c_str(), nullptr, 16));
                character(byte >= 0x80 && byte < 0xA0 ? Cp1252High[byte - 0x80] : byte);
                break;
            }
            case '\n':
            case '\r': endParagraph(true); break;  // "\" before a line break is \par
            default: break;                        // \- \* \| \: and the like
            }
            return;
        }
        const std::size_t start = at_;
        while (at_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[at_])))
            ++at_;
        const std::string word(in_.substr(start, at_ - start));
        bool hasParam = false;
        int param = 0;
        if (at_ < in_.size() && (in_[at_] == '-' || std::isdigit(static_cast<unsigned char>(in_[at_])))) {
            const std::size_t p = at_;
            ++at_;
            while (at_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[at_])))
                ++at_;
            param = std::atoi(std::string(in_.substr(p, at_ - p)).c_str());
            hasParam = true;
        }
        if (at_ < in_.size() && in_[at_] == ' ')
            ++at_;
        apply(word, hasParam, param);
    }

    void apply(const std::string& word, bool hasParam, int param)
    {
        GroupState& s = state();
        CharFormat& f = s.chars;
        static const char* const skipped[] = {
            "fonttbl",           "stylesheet", "info",      "pict",     "header",       "footer",
            "headerl",           "headerr",    "footerl",   "footerr",  "object",       "listtable",
            "listoverridetable", "rsidtbl",    "generator", "xmlnstbl", "latentstyles", "themedata",
            "datastore",         "pn",         "filetbl",   "revtbl"};
        for (const char* name : skipped)
            if (word == name) {
                s.skip = true;
                return;
            }
        if (word == "colortbl") {
            s.colourTable = true;
            colours_.clear();  // every ";" ends an entry; the first is the automatic colour
            return;
        }
        if (s.colourTable) {
            if (word == "red")
                red_ = param;
            else if (word == "green")
                green_ = param;
            else if (word == "blue")
                blue_ = param;
            return;
        }
        if (word == "b")
            f.bold = !hasParam || param != 0;
        else if (word == "i")
            f.italic = !hasParam || param != 0;
        else if (word == "ul")
            f.underline = !hasParam || param != 0;
        else if (word == "ulnone")
            f.underline = false;
        else if (word == "cf")
            f.colour = param;
        else if (word == "fs")
            f.halfPoints = param;
        else if (word == "plain")
            f = CharFormat{};
        else if (word == "par")
            endParagraph(true);
        else if (word == "pard")
            paragraph_ = ParagraphFormat{};
        else if (word == "li")
            paragraph_.leftIndent = param;
        else if (word == "fi")
            paragraph_.firstIndent = param;
        else if (word == "qc" || word == "qr" || word == "ql" || word == "qj")
            paragraph_.align = word[1];
        else if (word == "line")
            raw("<br>");
        else if (word == "tab")
            raw("&nbsp;&nbsp;&nbsp;&nbsp;");
        else if (word == "bullet")
            character(0x2022);
        else if (word == "emdash")
            character(0x2014);
        else if (word == "endash")
            character(0x2013);
        else if (word == "lquote")
            character(0x2018);
        else if (word == "rquote")
            character(0x2019);
        else if (word == "ldblquote")
            character(0x201C);
        else if (word == "rdblquote")
            character(0x201D);
        else if (word == "uc")
            s.unicodeSkip = param;
        else if (word == "u") {
            character(static_cast<uint32_t>(param < 0 ? param + 65536 : param));
            skipFallback(s.unicodeSkip);
        }
    }

    // After \uN the next n characters are a fallback for older readers.
    void skipFallback(int n)
    {
        for (int k = 0; k < n && at_ < in_.size(); ++k) {
            if (in_[at_] == '\\' && in_.substr(at_, 2) == "\\'")
                at_ += 4;
            else if (in_[at_] == '{' || in_[at_] == '}' || in_[at_] == '\\')
                break;
            else
                ++at_;
        }
    }

    void text(unsigned char c)
    {
        if (state().colourTable) {
            if (c == ';') {
                char colour[16];
                std::snprintf(colour, sizeof colour, "#%02x%02x%02x", red_ & 255, green_ & 255, blue_ & 255);
                colours_.emplace_back(colour);
                red_ = green_ = blue_ = 0;
            }
            return;
        }
        character(c >= 0x80 && c < 0xA0 ? Cp1252High[c - 0x80] : c);  // raw bytes: Windows-1252
    }

    void character(uint32_t c)
    {
        if (state().skip)
            return;
        // Most characters are plain ones inside the span already open: straight on.
        if (c < 0x80 && c != '&' && c != '<' && c != '>' && c != '"' && spanOpen_ && state().chars == spanFormat_) {
            paragraphText_ += static_cast<char>(c);
            return;
        }
        std::string piece;
        switch (c) {
        case '&': piece = "&amp;"; break;
        case '<': piece = "&lt;"; break;
        case '>': piece = "&gt;"; break;
        case '"': piece = "&quot;"; break;
        default: AppendUtf8(piece, c);
        }
        emit(piece);
    }

    void raw(const std::string& html)
    {
        if (!state().skip)
            emit(html);
    }

    // Adds text in the current character format, opening a new span when it changed.
    void emit(const std::string& piece)
    {
        const CharFormat& f = state().chars;
        if (!spanOpen_ || !(f == spanFormat_)) {
            closeSpan();
            std::string style;
            if (f.bold)
                style += "font-weight:bold;";
            if (f.italic)
                style += "font-style:italic;";
            if (f.underline)
                style += "text-decoration:underline;";
            if (f.colour > 0 && static_cast<std::size_t>(f.colour) < colours_.size())
                style += "color:" + colours_[static_cast<std::size_t>(f.colour)] + ";";
            if (f.halfPoints > 0)
                style += "font-size:" + std::to_string(f.halfPoints / 2) + "pt;";
            paragraphText_ += "<span style=\"" + style + "\">";
            spanOpen_ = true;
            spanFormat_ = f;
        }
        paragraphText_ += piece;
    }

    void closeSpan()
    {
        if (spanOpen_)
            paragraphText_ += "</span>";
        spanOpen_ = false;
    }

    void endParagraph(bool always)
    {
        closeSpan();
        if (!always && paragraphText_.empty())
            return;
        char style[160];
        std::snprintf(style, sizeof style, "margin-top:0;margin-bottom:6px;margin-left:%dpx;text-indent:%dpx;%s",
                      paragraph_.leftIndent / 15, paragraph_.firstIndent / 15,
                      paragraph_.align == 'c'   ? "text-align:center;"
                      : paragraph_.align == 'r' ? "text-align:right;"
                      : paragraph_.align == 'j' ? "text-align:justify;"
                                                : "");
        html_ += "<p style=\"" + std::string(style) + "\">" +
                 (paragraphText_.empty() ? std::string("&nbsp;") : paragraphText_) + "</p>\n";
        paragraphText_.clear();
    }

    std::string_view in_;
    std::size_t at_ = 0;
    std::vector<GroupState> groups_;
    std::vector<std::string> colours_{""};
    int red_ = 0, green_ = 0, blue_ = 0;
    ParagraphFormat paragraph_;
    std::string paragraphText_;
    std::string html_;
    bool spanOpen_ = false;
    CharFormat spanFormat_;
};

}  // namespace

std::string RtfToHtml(std::string_view rtf)
{
    return Converter(rtf).run();
}

}  // namespace vk
