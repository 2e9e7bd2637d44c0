#include "core/dive/ResultTables.h"
#include "core/store/Markers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/files/PathNames.h"
#include "core/store/FileUtil.h"
#include "core/store/NumberText.h"
#include "core/store/TimeBase.h"
#include "core/store/VkDialogs.h"

namespace vk {

namespace {

// The first line of a file, without its line end; empty for none.
std::string FirstLine(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

bool EmptyOrMissing(const std::string& file)
{
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    return !in || in.tellg() <= 0;
}

bool Absent(double v)
{
    return !Known(v);
}

}  // namespace

std::string FreeTableName(const std::string& file, const std::string& header)
{
    for (int k = 2;; ++k) {
        const std::string name = InsertBeforeExtension(file, "_" + std::to_string(k));
        if (EmptyOrMissing(name) || FirstLine(name) + "\n" == header)
            return name;
    }
}

namespace {

constexpr std::size_t HeldBytes = 1 << 18;

int64_t LinesIn(const std::string& text)
{
    return std::count(text.begin(), text.end(), '\n');
}

bool Flush(TableTarget& t)
{
    if (t.pending.empty())
        return t.failure.empty();
    if (!t.failure.empty()) {
        t.pending.clear();
        return false;
    }
    std::string reason;
    const bool ok = AppendLines(t.written(), t.header, t.pending, &reason);
    if (ok)
        t.rowsWritten += LinesIn(t.pending);
    else
        t.failure = "Cannot write " + t.path + ": " + reason;
    t.pending.clear();
    return ok;
}

template <typename Targets>
auto TargetsOf(Targets& targets)
{
    return std::array{&targets.dives, &targets.bouts, &targets.wiggles};
}

}  // namespace

bool AppendTable(TableTarget& target, const std::string& file, const std::string& header, const std::string& lines,
                 VkDialogs& ui, bool hold)
{
    if (target.requested != file) {
        Flush(target);
        target = TableTarget{};
        target.requested = target.path = file;
        target.header = header;
    }
    if (target.state == TableTarget::Declined || !target.failure.empty())
        return false;
    if (target.state == TableTarget::Unchecked) {
        if (!EmptyOrMissing(file) && FirstLine(file) + "\n" != header) {
            const std::string other = FreeTableName(file, header);
            const Answer a = ui.ask(
                file + "\r\nholds results with other columns.\r\nWrite these results to\r\n" + other + "\r\ninstead?",
                Buttons::YesNo, Severity::Question);
            if (a != Answer::Yes) {
                target.state = TableTarget::Declined;
                target.failure = file + " holds results with other columns: nothing written to it";
                return false;
            }
            target.path = other;
        }
        target.state = TableTarget::Ready;
    }
    target.header = header;
    target.pending += lines;
    if (hold && (target.keepAll || target.pending.size() < HeldBytes))
        return true;
    return target.keepAll || Flush(target);
}

bool FlushTables(ResultTargets& targets)
{
    bool ok = true;
    for (TableTarget* t : TargetsOf(targets))
        ok = (t->keepAll ? t->failure.empty() : Flush(*t)) && ok;
    return ok;
}

bool CommitHeld(ResultTargets& targets)
{
    struct Before {
        TableTarget* target;
        bool existed;
        std::uintmax_t size;
    };
    std::vector<Before> done;
    for (TableTarget* t : TargetsOf(targets)) {
        if (!t->keepAll || t->pending.empty())
            continue;
        std::error_code error;
        const bool existed = std::filesystem::exists(t->written(), error);
        const std::uintmax_t size = existed ? std::filesystem::file_size(t->written(), error) : 0;
        if (!Flush(*t)) {
            // Cut back what went before: the recording's lines are in every table or in none.
            for (const Before& b : done) {
                if (b.existed)
                    std::filesystem::resize_file(b.target->written(), b.size, error);
                else
                    std::filesystem::remove(b.target->written(), error);
                b.target->rowsWritten = 0;
            }
            return false;
        }
        done.push_back({t, existed, size});
    }
    return TablesFailure(targets).empty();
}

std::string TablesFailure(const ResultTargets& targets)
{
    for (const TableTarget* t : TargetsOf(targets))
        if (!t->failure.empty())
            return t->failure;
    return {};
}

std::vector<std::string> SplitFields(const std::string& line, char delimiter)
{
    std::vector<std::string> fields(1);
    for (const char c : line) {
        if (c == delimiter)
            fields.emplace_back();
        else if (c != '\n' && c != '\r')
            fields.back() += c;
    }
    return fields;
}

namespace {

// The numbers of a field such as "07.01.2026" or "06:30:49", whatever stands between them.
std::vector<int> NumbersOf(const std::string& field)
{
    std::vector<int> numbers;
    const char* p = field.data();
    const char* const end = p + field.size();
    while (p < end) {
        int n = 0;
        const auto r = std::from_chars(p, end, n);
        if (r.ec == std::errc()) {
            numbers.push_back(n);
            p = r.ptr;
        } else {
            ++p;
        }
    }
    return numbers;
}

}  // namespace

TableDives DivesOverlapping(const std::string& path, char delimiter, double from, double to)
{
    TableDives out;
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (!in || !std::getline(in, text))
        return out;
    const std::vector<std::string> names = SplitFields(text, delimiter);
    std::array<std::size_t, 3> columns{};
    const std::array<const char*, 3> keys{"Date", "Time", "Duration[s]"};
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const auto at = std::find(names.begin(), names.end(), keys[k]);
        if (at == names.end())
            return out;
        columns[k] = static_cast<std::size_t>(at - names.begin());
    }
    while (std::getline(in, text)) {
        const std::vector<std::string> fields = SplitFields(text, delimiter);
        if (fields.size() <= *std::max_element(columns.begin(), columns.end()))
            continue;
        const std::vector<int> date = NumbersOf(fields[columns[0]]), clock = NumbersOf(fields[columns[1]]);
        double seconds = 0.0;
        if (date.size() != 3 || clock.size() != 3 || !ParseDecimal(fields[columns[2]], seconds))
            continue;
        // The table writes the day first and the clock to the second.
        const double onset = EncodeTime(date[2], date[1], date[0], clock[0], clock[1], clock[2]);
        if (onset <= to && onset + seconds * 1000.0 > from) {
            if (out.count == 0)
                out.firstOnset = onset;
            ++out.count;
        }
    }
    return out;
}

std::string ToNewFiles(const std::vector<std::pair<TableTarget*, std::string>>& targets)
{
    for (int k = 2;; ++k) {
        std::vector<std::string> names;
        for (const auto& [target, file] : targets)
            names.push_back(InsertBeforeExtension(file, "_" + std::to_string(k)));
        if (!std::all_of(names.begin(), names.end(), EmptyOrMissing))
            continue;
        for (std::size_t n = 0; n < targets.size(); ++n) {
            TableTarget& t = *targets[n].first;
            Flush(t);
            const std::string header = t.header;
            t = TableTarget{};
            t.requested = targets[n].second;
            t.path = names[n];
            t.state = TableTarget::Ready;
            t.header = header;
        }
        return names.empty() ? std::string() : names.front();
    }
}

void Row::next()
{
    if (!first_)
        line_ += delimiter_;
    first_ = false;
}

Row& Row::number(double v, int decimals)
{
    next();
    if (Absent(v))
        return *this;
    static constexpr double half[] = {0.5, 0.05, 0.005, 5e-4, 5e-5, 5e-6, 5e-7, 5e-8, 5e-9};
    if (decimals >= 0 && decimals <= 8 && std::fabs(v) < half[decimals])
        v = 0;  // no "-0.000"
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    line_.append(buffer, r.ptr);
    return *this;
}

Row& Row::count(long long v)
{
    next();
    line_ += std::to_string(v);
    return *this;
}

Row& Row::text(const std::string& s)
{
    next();
    const std::size_t at = line_.size();
    line_ += s;
    for (std::size_t i = at; i < line_.size(); ++i)
        if (line_[i] == delimiter_ || line_[i] == '\n' || line_[i] == '\r')
            line_[i] = ' ';
    return *this;
}

Row& Row::empty()
{
    next();
    return *this;
}

std::string HeaderLine(const std::vector<std::string>& names, char delimiter)
{
    Row row(delimiter);
    for (const std::string& n : names)
        row.text(n);
    return row.line();
}

}  // namespace vk
