#include "core/dive/StudyTables.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "core/dive/ResultTables.h"
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

std::vector<std::string> Headers()
{
    return {StudyHeader(DiveColumnNames()), StudyHeader(BoutColumnNames()),
            StudyHeader({"File", "Samples", "Interval[s]", "Start", "End", "Dives", "Bouts", "Gaps", "Threshold[m]",
                         "SurfaceBaseline", "BoutPause[s]", "BoutMinDuration[s]", "BoutFit", "BoutFitP",
                         "BoutFitFast[1/s]", "BoutFitSlow[1/s]", "BoutCriterion[s]", "Seconds", "Error"})};
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
        row.count(r.dives).count(r.bouts).count(r.gaps);
    else
        row.empty().empty().empty();
    row.number(r.threshold, 3);
    r.surfaceBaseline >= 0 ? row.count(r.surfaceBaseline) : row.empty();
    row.number(r.boutPause, 0).number(r.boutMinDuration, 0);
    row.text(r.boutFit).number(r.fitShare, 4).number(r.fitFast, 7).number(r.fitSlow, 7).number(r.boutCriterion, 1);
    row.number(r.seconds, 1).text(r.error);
    return row.line();
}

std::string ReadAll(const std::string& path, bool& ok)
{
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool WriteTables(const std::string& folder, const std::string (&bodies)[3], std::string& error)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::vector<std::string> headers = Headers();
    for (std::size_t k = 0; k < 3; ++k) {
        const std::string path = (std::filesystem::path(folder) / TableFiles[k]).string();
        if (!ReplaceFileContents(path, headers[k] + bodies[k])) {
            error = "Cannot write " + path;
            return false;
        }
    }
    return true;
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

bool WriteStudyTables(const std::string& folder, const std::vector<StudyPart>& parts, std::string& error)
{
    std::string bodies[3];
    for (const StudyPart& p : parts) {
        const std::string name = Cell(p.recording) + Tab;
        for (const std::string& line : p.dives)
            bodies[0] += name + line;
        for (const std::string& line : p.bouts)
            bodies[1] += name + line;
        bodies[2] += RecordingLine(p);
    }
    return WriteTables(folder, bodies, error);
}

bool MergeStudyTables(const std::string& folder, const std::vector<std::string>& parts, std::string& error)
{
    const std::vector<std::string> headers = Headers();
    std::string bodies[3];
    for (const std::string& part : parts) {
        for (std::size_t k = 0; k < 3; ++k) {
            const std::string path = (std::filesystem::path(part) / TableFiles[k]).string();
            bool ok = false;
            const std::string text = ReadAll(path, ok);
            if (!ok) {
                error = "Cannot read " + path;
                return false;
            }
            if (text.compare(0, headers[k].size(), headers[k]) != 0) {
                error = path + " holds other columns than this program writes";
                return false;
            }
            bodies[k] += text.substr(headers[k].size());
        }
    }
    return WriteTables(folder, bodies, error);
}

}  // namespace vk
