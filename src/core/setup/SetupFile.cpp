#include "core/setup/SetupFile.h"

#include <algorithm>
#include <charconv>
#include <type_traits>
#include <unordered_map>

#include "core/files/LineReader.h"
#include "core/setup/SetupKeys.h"
#include "core/store/FileUtil.h"
#include "core/store/NumberText.h"

namespace vk {

using setup::FieldRef;
using setup::FieldRefs;
using setup::Group;
using setup::Key;

namespace {

constexpr std::size_t MaxLineLength = 1024;
constexpr std::size_t MaxTextLength = 255;

using Value = std::variant<int64_t, double, bool, char, std::string>;

std::vector<std::string_view> SplitTabs(std::string_view line)
{
    constexpr std::size_t UsualFields = 6;  // key, up to two indexes, values, a note
    std::vector<std::string_view> fields;
    fields.reserve(UsualFields);
    for (;;) {
        const auto tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return fields;
        line.remove_prefix(tab + 1);
    }
}

template <typename T>
constexpr bool IsInteger = std::is_same_v<T, int32_t> || std::is_same_v<T, uint8_t> || std::is_enum_v<T>;

// Reads one value field in the form its target asks for. `more` tells whether
// another field follows, which tells an empty field from a TAB character.
bool ParseValue(const FieldRef& ref, std::string_view raw, bool more, const Key& key, Value& out)
{
    return std::visit(
        [&](auto target) {
            using T = std::remove_pointer_t<decltype(target)>;
            const std::string_view field = TrimEnds(raw);
            if constexpr (std::is_same_v<T, setup::LetterFlag>) {
                if (raw.empty() && !more)
                    return false;
                out = !field.empty() && field.front() == 'Y';
            } else if constexpr (std::is_same_v<T, setup::NumberFlag>) {
                int64_t v = 0;
                if (!ParseInteger(field, v) || v < key.lo || v > key.hi)
                    return false;
                out = v != 0;
            } else if constexpr (IsInteger<T>) {
                using Stored = std::conditional_t<std::is_enum_v<T>, std::underlying_type<T>, std::type_identity<T>>;
                using U = typename Stored::type;
                int64_t v = 0;
                if (!ParseInteger(field, v) || v < key.lo || v > key.hi || v < std::numeric_limits<U>::min() ||
                    v > std::numeric_limits<U>::max())
                    return false;
                out = v;
            } else if constexpr (std::is_same_v<T, double>) {
                double v = 0.0;
                if (!ParseDecimal(field, v))
                    return false;
                out = v;
            } else if constexpr (std::is_same_v<T, bool>) {
                out = field == "TRUE";
            } else if constexpr (std::is_same_v<T, char>) {
                if (raw.empty()) {
                    if (!more)
                        return false;
                    out = '\t';  // the TAB character itself split the line here
                } else {
                    out = field.empty() ? ' ' : field.front();
                }
            } else {
                out = std::string(key.longText ? field : field.substr(0, MaxTextLength));
            }
            return true;
        },
        ref);
}

void Assign(const FieldRef& ref, const Value& value)
{
    std::visit(
        [&](auto target) {
            using T = std::remove_pointer_t<decltype(target)>;
            if constexpr (std::is_same_v<T, setup::LetterFlag> || std::is_same_v<T, setup::NumberFlag>)
                *target.flag = std::get<bool>(value);
            else if constexpr (IsInteger<T>)
                *target = static_cast<T>(std::get<int64_t>(value));
            else if constexpr (std::is_same_v<T, std::string>)
                *target = std::get<std::string>(value);
            else
                *target = std::get<T>(value);
        },
        ref);
}

// A field's value appended to `text`, as the setup file writes it.
void AppendValue(std::string& text, const FieldRef& ref)
{
    std::visit(
        [&text](auto target) {
            using T = std::remove_pointer_t<decltype(target)>;
            if constexpr (std::is_same_v<T, setup::LetterFlag>)
                text += *target.flag ? 'Y' : 'N';
            else if constexpr (std::is_same_v<T, setup::NumberFlag>)
                text += *target.flag ? '1' : '0';
            else if constexpr (std::is_enum_v<T>)
                text += std::to_string(static_cast<int64_t>(*target));
            else if constexpr (std::is_same_v<T, bool>)
                text += *target ? "TRUE" : "FALSE";
            else if constexpr (IsInteger<T>)
                text += std::to_string(static_cast<int64_t>(*target));
            else if constexpr (std::is_same_v<T, double>)
                AppendSetupReal(text, *target);
            else if constexpr (std::is_same_v<T, char>)
                text += *target;
            else {
                // A TAB or line break inside a text would split its line.
                const std::size_t at = text.size();
                text += *target;
                std::replace_if(
                    text.begin() + static_cast<std::ptrdiff_t>(at), text.end(),
                    [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
            }
        },
        ref);
}

struct KeyEntry {
    const Group* group;
    const Key* key;
};

const std::unordered_map<std::string_view, KeyEntry>& KeyIndex()
{
    static const auto index = [] {
        std::unordered_map<std::string_view, KeyEntry> map;
        for (const Group& g : setup::Groups())
            for (const Key& k : g.keys)
                map.emplace(k.name, KeyEntry{&g, &k});
        return map;
    }();
    return index;
}

// False for a line of a key this program knows whose indexes or values it cannot read.
bool ReadLine(std::string_view line, setup::Target& target)
{
    const std::vector<std::string_view> fields = SplitTabs(line.substr(0, MaxLineLength));
    const std::string_view name = TrimEnds(fields[0]).substr(0, MaxTextLength);
    const auto found = KeyIndex().find(name);
    if (name.empty() || found == KeyIndex().end())
        return true;  // another program's or version's key: not ours to judge
    const Key& key = *found->second.key;
    const setup::IndexRange range = setup::RangeOf(found->second.group->index);

    int index[2] = {0, 0};
    std::size_t at = 1;
    for (int n = 0; n < range.count; ++n, ++at) {
        int64_t v = 0;
        if (at >= fields.size() || !ParseInteger(fields[at], v) || v < range.lo[n] || v > range.hi[n])
            return false;
        index[n] = static_cast<int>(v);
    }
    const FieldRefs refs = key.fields(target, index[0], index[1]);
    std::vector<Value> values(refs.size());
    for (std::size_t k = 0; k < refs.size(); ++k, ++at) {
        if (at >= fields.size() || !ParseValue(refs[k], fields[at], at + 1 < fields.size(), key, values[k]))
            return false;
    }
    for (std::size_t k = 0; k < refs.size(); ++k)
        Assign(refs[k], values[k]);
    if (key.read)
        key.read(target, index[0], index[1]);
    return true;
}

bool FirstLineIsMagic(LineReader& reader)
{
    std::string_view first;
    return reader.next(first) && first == SetupMagicLine;
}

// "\t3" or "\t1\t2": a line's indexes after its key.
void AppendIndexes(std::string& text, int count, int i, int j)
{
    char out[32];
    char* o = out;
    for (int k = 0; k < count; ++k) {
        *o++ = '\t';
        o = std::to_chars(o, out + sizeof out, k == 0 ? i : j).ptr;
    }
    text.append(out, static_cast<std::size_t>(o - out));
}

std::string Compose(setup::Target& target)
{
    constexpr std::size_t SetupBytes = 16 << 10;  // a little more than a setup file holds
    std::string text;
    text.reserve(SetupBytes);
    text.append(SetupMagicLine).append("\r\nRelease 4.0\r\n");
    for (const Group& g : setup::Groups()) {
        const setup::IndexRange range = setup::RangeOf(g.index);
        for (int i = range.lo[0]; i <= range.hi[0]; ++i) {
            for (int j = range.lo[1]; j <= range.hi[1]; ++j) {
                for (const Key& key : g.keys) {
                    if (key.written && !key.written(target, i, j))
                        continue;
                    text.append(key.name);
                    AppendIndexes(text, range.count, i, j);
                    for (const FieldRef& ref : key.fields(target, i, j)) {
                        text += '\t';
                        AppendValue(text, ref);
                    }
                    if (key.suffix)
                        text.append(1, '\t').append(key.suffix(target, i, j));
                    text.append("\r\n");
                }
            }
        }
    }
    return text;
}

}  // namespace

bool ReadSetup(const std::string& path, Recording& rec, Settings& settings, std::vector<std::string>* unread)
{
    constexpr std::size_t Shown = 80;
    LineReader reader(MaxLineLength, 64 * 1024);
    if (!reader.open(path) || !FirstLineIsMagic(reader) || !reader.rewind())
        return false;
    std::array<ChannelDescriptor, SlotCount> desc{rec.desc(0), rec.desc(1), rec.desc(2)};
    setup::Target target{desc, settings};
    std::string_view line;
    for (int number = 1; reader.next(line); ++number)
        if (!ReadLine(line, target) && unread) {
            std::string shown(line.substr(0, Shown));
            for (char& c : shown)
                if (static_cast<unsigned char>(c) < ' ')
                    c = ' ';
            unread->push_back("line " + std::to_string(number) + " \"" + shown + (line.size() > Shown ? "..." : "") +
                              "\"");
        }
    for (int s = 0; s < SlotCount; ++s) {
        rec.desc(s) = desc[static_cast<std::size_t>(s)];
        rec.desc(s).yOffset = 0.0;
    }
    DisableIncompleteRows(settings.dive);
    return true;
}

std::string WhyNotASetup(const std::string& path)
{
    constexpr std::size_t Shown = 60;
    if (!FileExists(path))
        return "does not exist";
    LineReader reader(MaxLineLength, 64 * 1024);
    if (!reader.open(path))
        return "cannot be opened";
    std::string_view first;
    if (!reader.next(first))
        return "is empty: a setup file begins with the line \"" + std::string(SetupMagicLine) + "\"";
    if (first == SetupMagicLine)
        return {};
    std::string shown(first.substr(0, Shown));
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < ' ')
            c = ' ';
    return "is not a setup file: its line 1 reads \"" + shown + (first.size() > Shown ? "...\"" : "\"") +
           " where a setup file begins with \"" + SetupMagicLine + "\"";
}

SetupWriteResult WriteSetup(const std::string& path, const Recording& rec, const Settings& settings)
{
    if (FileExists(path)) {
        LineReader reader(MaxLineLength, 64 * 1024);
        if (!reader.open(path) || !FirstLineIsMagic(reader))
            return SetupWriteResult::NotASetupFile;
    }
    return ReplaceFileContents(path, SetupText(rec, settings)) ? SetupWriteResult::Written
                                                               : SetupWriteResult::WriteFailed;
}

std::string SetupText(const Recording& rec, const Settings& settings)
{
    // The key table reaches into mutable state; copies keep the caller's const.
    std::array<ChannelDescriptor, SlotCount> desc{rec.desc(0), rec.desc(1), rec.desc(2)};
    Settings copy = settings;
    setup::Target target{desc, copy};
    return Compose(target);
}

}  // namespace vk
