#include "core/dive/StudyTables.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <fstream>
#include <iterator>
#include <set>

#include "core/dive/ResultTables.h"
#include "core/dive/StudyManifest.h"
#include "core/files/PathNames.h"
#include "core/store/FileUtil.h"
#include "core/store/TimeBase.h"

namespace vk {

namespace {

constexpr char Tab = '\t';
const char* const TableFiles[] = {"dives.tsv", "bouts.tsv", "recordings.tsv"};

Settings WithTabs(const Settings& s)
{
    Settings tabbed = s;
    tabbed.OutDlmt = Tab;
    return tabbed;
}

// The header of a table with the Recording column before `names`.
std::string StudyHeader(std::vector<std::string> names)
{
    names.insert(names.begin(), "Recording");
    return HeaderLine(names, Tab);
}

// The bout and recording tables' headers; the dive table's depends on its recordings.
std::vector<std::string> Headers()
{
    return {std::string(), StudyHeader(BoutColumnNames()),
            StudyHeader({"File", "Samples", "Interval[s]", "Start", "End", "Dives", "Bouts", "MissingSamples", "Gaps",
                         "TimeFrom", "Threshold[m]", "SurfaceBaseline", "EndOfDive[samples]", "BoutPause[s]",
                         "BoutMinDuration[s]", "BoutFit", "BoutFitP", "BoutFitFast[1/s]", "BoutFitSlow[1/s]",
                         "BoutCriterion[s]", "Suggested", "Seconds", "Note", "Error"})};
}

std::string Cell(const std::string& text)
{
    return Row(Tab).text(text).line().substr(0, text.size());  // tabs and line ends become blanks
}

std::string DateTimeCell(double ms)
{
    return Known(ms) ? DateText(ms, '.') + " " + ClockText(ms) : std::string();
}

std::string RecordingLine(const StudyPart& p)
{
    const RecordingSummary& r = p.summary;
    Row row(Tab);
    row.text(p.recording).text(r.file);
    Known(r.interval) ? row.count(r.samples) : row.empty();
    row.number(r.interval, 3);
    row.text(DateTimeCell(r.start)).text(DateTimeCell(r.end));
    if (r.error.empty())
        row.count(r.dives).count(r.bouts).count(r.missingSamples).count(r.gaps);
    else
        row.empty().empty().empty().empty();
    row.text(r.timeFrom).number(r.threshold, 3);
    r.surfaceBaseline >= 0 ? row.count(r.surfaceBaseline) : row.empty();
    r.endOfDive >= 0 ? row.count(r.endOfDive) : row.empty();
    row.number(r.boutPause, 0).number(r.boutMinDuration, 0);
    row.text(r.boutFit).number(r.fitShare, 4).number(r.fitFast, 7).number(r.fitSlow, 7).number(r.boutCriterion, 1);
    row.text(r.suggested).number(r.seconds, 1).text(r.note).text(r.error);
    return row.line();
}

std::string ReadAll(const std::string& path, bool& ok)
{
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The tables, and the manifest after them, replace those of `folder`
// together: each is written whole under a temporary name and only when all
// are on the disk are they renamed, so a failure leaves the earlier tables.
bool WriteTables(const std::string& folder, const std::string (&bodies)[3], const std::string& diveHeader,
                 TaskNumber task, std::string& error)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::vector<std::string> headers = Headers();
    headers[0] = diveHeader;
    std::vector<std::string> names, texts;
    for (std::size_t k = 0; k < 3; ++k) {
        names.emplace_back(TableFiles[k]);
        texts.push_back(headers[k] + bodies[k]);
    }
    const std::string manifest = ManifestText(names, texts, task);
    names.emplace_back(ManifestFile);
    texts.push_back(manifest);
    std::vector<std::unique_ptr<SafeFileWriter>> files;
    for (std::size_t k = 0; k < names.size(); ++k) {
        const std::string path = (std::filesystem::path(folder) / names[k]).string();
        files.push_back(std::make_unique<SafeFileWriter>(path));
        files.back()->write(texts[k]);
        if (!files.back()->ready()) {
            error = "Cannot write " + path + ": " + files.back()->reason() + "; the earlier study tables are kept";
            return false;
        }
    }
    for (std::size_t k = 0; k < files.size(); ++k)
        if (!files[k]->commit()) {
            error = "Cannot put " + (std::filesystem::path(folder) / names[k]).string() +
                    " in place: " + files[k]->reason();
            return false;
        }
    return true;
}

// Dive rows under their own columns (the Recording cell first, then `columns`).
struct DiveRows {
    std::vector<std::string> columns;
    std::string body;
};

// The rows of every recording under the columns of them all, in the order of
// the dive result file; `header` is set to the joined header line.
std::string JoinedDiveRows(const std::vector<DiveRows>& parts, std::string& header)
{
    std::vector<std::string> joined = DiveColumnsAlwaysOn();
    for (const DiveRows& p : parts)
        for (const std::string& name : p.columns)
            if (std::find(joined.begin(), joined.end(), name) == joined.end())
                joined.push_back(name);
    // Stable: columns of one place keep the order their recordings gave them.
    std::stable_sort(joined.begin(), joined.end(),
                     [](const std::string& a, const std::string& b) { return DiveColumnOf(a) < DiveColumnOf(b); });
    header = StudyHeader(joined);
    std::string body;
    for (const DiveRows& p : parts) {
        if (p.columns == joined) {
            body += p.body;
            continue;
        }
        std::vector<std::size_t> place;
        for (const std::string& name : p.columns)
            place.push_back(static_cast<std::size_t>(std::find(joined.begin(), joined.end(), name) - joined.begin()));
        for (std::size_t at = 0; at < p.body.size();) {
            const std::size_t end = std::min(p.body.find('\n', at), p.body.size());
            const std::vector<std::string> cells = SplitFields(p.body.substr(at, end - at), Tab);
            std::vector<std::string> out(joined.size() + 1);
            out[0] = cells[0];
            for (std::size_t k = 1; k < cells.size() && k - 1 < place.size(); ++k)
                out[place[k - 1] + 1] = cells[k];
            body += HeaderLine(out, Tab);
            at = end + 1;
        }
    }
    return body;
}

// The names of a dive table's header after "Recording" when each is one this
// program writes; else why not.
std::string DiveColumnsOfHeader(const std::string& path, const std::string& text, std::vector<std::string>& columns)
{
    const std::size_t end = text.find('\n');
    columns = SplitFields(text.substr(0, end), Tab);
    const std::vector<std::string> needed = DiveColumnsAlwaysOn();
    const bool known =
        end != std::string::npos && !columns.empty() && columns[0] == "Recording" &&
        std::all_of(columns.begin() + 1, columns.end(), [](const std::string& n) { return DiveColumnOf(n) >= 0; }) &&
        std::all_of(needed.begin(), needed.end(), [&columns](const std::string& n) {
            return std::find(columns.begin(), columns.end(), n) != columns.end();
        });
    if (!known)
        return path + " holds other columns than this program writes";
    columns.erase(columns.begin());
    return {};
}

// The rows of a part's table below its header, each as long as the header.
// Empty when whole, else what is wrong.
std::string TableRows(const std::string& path, const std::string& header, const std::string& text)
{
    if (text.compare(0, header.size(), header) != 0)
        return path + " holds other columns than this program writes";
    const std::size_t fields = static_cast<std::size_t>(std::count(header.begin(), header.end(), Tab)) + 1;
    std::size_t line = 1;
    for (std::size_t at = header.size(); at < text.size(); ++line) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            return path + ": line " + std::to_string(line + 1) + " ends without a line break";
        const std::size_t n = static_cast<std::size_t>(std::count(text.begin() + static_cast<std::ptrdiff_t>(at),
                                                                  text.begin() + static_cast<std::ptrdiff_t>(end), Tab)) +
                              1;
        if (n != fields)
            return path + ": line " + std::to_string(line + 1) + " has " + std::to_string(n) +
                   " fields under a header of " + std::to_string(fields);
        at = end + 1;
    }
    return {};
}

// The bodies of a part's tables when it is whole; else why not.
std::string ReadPart(const std::string& part, std::string (&bodies)[3], std::vector<std::string>& diveColumns,
                     TaskNumber& task)
{
    std::string texts[3];
    bool ok = false;
    const std::string manifest = ReadAll((std::filesystem::path(part) / ManifestFile).string(), ok);
    for (std::size_t k = 0; k < 3 && ok; ++k) {  // without a manifest that is all there is to say
        const std::string path = (std::filesystem::path(part) / TableFiles[k]).string();
        texts[k] = ReadAll(path, ok);
        if (!ok)
            return "Cannot read " + path;
    }
    return CheckStudyPart(part, texts, manifest, bodies, diveColumns, task);
}

}  // namespace

std::string StudyDiveLine(const DiveLines& dive, const Recording& rec, const Settings& s)
{
    return DiveLine(dive, rec, WithTabs(s));
}

std::string StudyBoutLine(int32_t number, const BoutSummary& bout, const Recording& rec, const Settings& s)
{
    return BoutLine(number, bout, rec, WithTabs(s));
}

void MarkStudyLine(std::string& line, const std::string& mark)
{
    if (!line.empty() && line.back() == '\n')
        line.insert(line.size() - 1, mark);
}

std::string RecordingName(const std::string& setupFile)
{
    return BaseNameOf(setupFile);
}

std::vector<std::string> RecordingNames(const std::vector<std::string>& setupFiles)
{
    std::vector<std::string> names;
    std::set<std::string> taken;
    for (const std::string& setup : setupFiles) {
        const std::string base = RecordingName(setup);
        std::string name = base;
        for (int k = 2; !taken.insert(name).second; ++k)
            name = base + "-" + std::to_string(k);
        names.push_back(name);
    }
    return names;
}

std::string CheckStudyPart(const std::string& part, const std::string (&texts)[3], const std::string& manifestText,
                           std::string (&bodies)[3], std::vector<std::string>& diveColumns, TaskNumber& task)
{
    Manifest manifest;
    std::string problem;
    if (!ParseManifest(manifestText, (std::filesystem::path(part) / ManifestFile).string(), manifest, problem))
        return problem;
    task = manifest.task;
    std::vector<std::string> headers = Headers();
    for (std::size_t k = 0; k < 3; ++k) {
        const std::string path = (std::filesystem::path(part) / TableFiles[k]).string();
        if (std::string wrong = TableAgainstManifest(manifest, TableFiles[k], texts[k]); !wrong.empty())
            return path + ": " + wrong;
        if (k == 0) {
            if (std::string wrong = DiveColumnsOfHeader(path, texts[0], diveColumns); !wrong.empty())
                return wrong;
            headers[0] = StudyHeader(diveColumns);
        }
        if (std::string wrong = TableRows(path, headers[k], texts[k]); !wrong.empty())
            return wrong;
        bodies[k] = texts[k].substr(headers[k].size());
    }
    if (bodies[2].empty())
        return (std::filesystem::path(part) / TableFiles[2]).string() + " names no recording";
    return {};
}

bool WriteStudyTables(const std::string& folder, const std::vector<StudyPart>& parts, std::string& error,
                      TaskNumber task)
{
    std::string bodies[3];
    std::vector<DiveRows> dives;
    for (const StudyPart& p : parts) {
        const std::string name = Cell(p.recording) + Tab;
        dives.push_back({p.diveColumns, {}});
        for (const std::string& line : p.dives)
            dives.back().body += name + line;
        for (const std::string& line : p.bouts)
            bodies[1] += name + line;
        bodies[2] += RecordingLine(p);
    }
    std::string diveHeader;
    bodies[0] = JoinedDiveRows(dives, diveHeader);
    return WriteTables(folder, bodies, diveHeader, task, error);
}

bool MergeStudyTables(const std::string& folder, const std::vector<std::string>& parts, std::string& error,
                      const MergeOptions& options)
{
    std::string bodies[3];
    std::vector<DiveRows> dives;
    std::vector<std::string> problems;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        std::string part[3];
        std::vector<std::string> diveColumns;
        TaskNumber task;
        const std::string problem = ReadPart(parts[k], part, diveColumns, task);
        if (problem.empty()) {
            dives.push_back({diveColumns, part[0]});
            for (std::size_t t = 1; t < 3; ++t)
                bodies[t] += part[t];
            continue;
        }
        const std::string name = k < options.names.size() ? options.names[k] : parts[k];
        problems.push_back(name + ": " + problem);
        StudyPart missing;
        missing.recording = name;
        missing.summary.error = "Not merged: " + problem;
        bodies[2] += RecordingLine(missing);
    }
    if (!problems.empty() && !options.partial) {
        error = "Not merged, " + std::to_string(problems.size()) + " of " + std::to_string(parts.size()) +
                " parts are missing or not whole:";
        for (const std::string& p : problems)
            error += "\n  " + p;
        return false;
    }
    for (const std::string& p : problems)
        std::fprintf(stderr, "left out: %s\n", p.c_str());
    std::string diveHeader;
    bodies[0] = JoinedDiveRows(dives, diveHeader);
    return WriteTables(folder, bodies, diveHeader, {}, error);
}

}  // namespace vk
