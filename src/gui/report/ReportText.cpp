#include "gui/report/ReportText.h"

#include <cmath>

#include "core/store/Markers.h"
#include "core/store/NumberText.h"
#include "core/store/TimeBase.h"
#include "gui/report/StudyCharts.h"

namespace vk {

namespace {

constexpr int MostCheckRows = 200;  // more are left to the Check column of dives.tsv
constexpr int OpenChecks = 20;      // fewer are shown open

std::string FactRow(const std::string& name, const std::string& value, const char* cls = nullptr)
{
    return std::string("<tr") + (cls ? std::string(" class=\"") + cls + "\"" : "") + "><th>" + name + "</th><td>" +
           value + "</td></tr>\n";
}

std::string When(double ms)
{
    return Known(ms) && ms >= 0 ? DateText(ms, '.') + " " + ClockText(ms) : std::string();
}

// "1/23 s" for a rate of 0.0435 per second.
std::string PerSeconds(double rate)
{
    return rate > 0 ? "1/" + FixedText(1 / rate, 0) + " s" : std::string("?");
}

std::string ClockFacts(const RecordingSummary& f)
{
    namespace W = TimeFromWords;
    if (f.timeFrom == W::Column)
        return "from the time of each line in the data file";
    if (f.timeFrom == W::Archive)
        return "from the tag archive's start and sampling rate";
    if (f.timeFrom == W::Binary)
        return "from the binary channel file's header";
    if (f.timeFrom == W::Setup)
        return "start and interval typed in the setup file";
    return {};
}

std::string MissingFacts(const RecordingStudy& r)
{
    const RecordingSummary& f = r.facts;
    if (f.missingSamples <= 0)
        return "none";
    std::string text = std::to_string(f.missingSamples) + " samples without a value";
    if (f.samples > 0)
        text += " (" + FixedText(100.0 * static_cast<double>(f.missingSamples) / static_cast<double>(f.samples), 1) +
                " % of the record)";
    text += " in " + std::to_string(f.gaps) + (f.gaps == 1 ? " gap" : " gaps");
    int across = 0;
    for (const StudyDive& d : r.dives)
        across += d.pauseAcrossGap ? 1 : 0;
    if (across > 0)
        text += "; the " + std::to_string(across) + (across == 1 ? " pause" : " pauses") +
                " across them (nothing is known of what the animal did there) are left out of the pause "
                "histogram, the bout criterion's fit and the bout time line";
    return text;
}

std::string BoutFacts(const RecordingStudy& r)
{
    const RecordingSummary& f = r.facts;
    const std::string least =
        Known(f.boutMinDuration) ? "; a bout lasts at least " + FixedText(f.boutMinDuration, 0) + " s" : std::string();
    if (f.boutFit.empty())
        return Known(f.boutPause) ? "a pause longer than " + FixedText(f.boutPause, 0) +
                                        " s ends a bout (set in the setup)" + least
                                  : std::string();
    if (f.boutFit != "fitted")
        return "the bout criterion could not be fitted to the pauses (" + Html(f.boutFit) + "): the setup's pause of " +
               FixedText(f.boutPause, 0) + " s ends a bout" + least;
    int pauses = 0;
    for (const StudyDive& d : r.dives)
        pauses += d.pause >= 0 && !d.pauseAcrossGap ? 1 : 0;
    return "a pause longer than " + FixedText(f.boutCriterion, 0) + " s ends a bout, fitted to the " +
           std::to_string(pauses) + " pauses (two processes: fast " + PerSeconds(f.fitFast) + ", slow " +
           PerSeconds(f.fitSlow) + ", share of the fast " + FixedText(f.fitShare, 3) + ")" + least;
}

}  // namespace

std::string Html(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string FactsTable(const RecordingStudy& r)
{
    const RecordingSummary& f = r.facts;
    std::string rows;
    if (!f.file.empty())
        rows += FactRow("Data file", Html(f.file));
    if (f.samples > 0 && Known(f.interval))
        rows += FactRow("Samples", std::to_string(f.samples) + ", one every " + ShortText(f.interval) + " s");
    if (f.timeFrom == TimeFromWords::Default)
        rows += FactRow("Clock",
                    "<strong>the start was never set</strong>: it is the program's own, 01.01.1982 00:00:00, so "
                    "the dates and the hours of day (dives per hour of day) are not the animal's",
                    "warn");
    else if (const std::string clock = ClockFacts(f); !clock.empty())
        rows += FactRow("Clock", clock);
    if (f.samples > 0)
        rows += FactRow("Missing values", MissingFacts(r));
    if (Known(f.threshold))
        rows += FactRow("Dive threshold", ShortText(f.threshold) + " m" +
                                          (f.surfaceBaseline == 1   ? ", measured from the tracked surface baseline"
                                           : f.surfaceBaseline == 0 ? ", measured from 0 m (no surface baseline)"
                                                                    : ""));
    if (f.endOfDive >= 0) {
        std::string rule = "the depth back near the surface for " + std::to_string(f.endOfDive) +
                           (f.endOfDive == 1 ? " sample" : " samples");
        if (Known(f.interval))
            rule += " (" + ShortText(f.endOfDive * f.interval) + " s)";
        rows += FactRow("End of a dive", rule);
    }
    if (const std::string bouts = BoutFacts(r); !bouts.empty())
        rows += FactRow("Bouts", bouts);
    rows += FactRow("Suggested by the record",
                f.suggested.empty() ? "nothing: the parameters are the setup's" : Html(f.suggested));
    if (!f.note.empty())
        rows += FactRow("Note", Html(f.note), "warn");
    return "<table class=\"facts\">\n" + rows + "</table>\n";
}

std::string ChecksSection(const RecordingStudy& r)
{
    int count = 0;
    std::string rows;
    for (const StudyDive& d : r.dives) {
        if (d.check.empty())
            continue;
        if (++count > MostCheckRows)
            continue;
        rows += "<tr><td>" + (d.number >= 0 ? std::to_string(d.number) : std::string()) + "</td><td>" + When(d.onset) +
                "</td><td>" + FixedText(d.duration / 60, 1) + "</td><td>" + FixedText(d.maxDepth, 1) + "</td><td>" +
                Html(d.check) + "</td></tr>\n";
    }
    if (count == 0)
        return {};
    std::string text = std::string("<details") + (count <= OpenChecks ? " open" : "") + "><summary>" +
                       std::to_string(count) + (count == 1 ? " dive" : " dives") +
                       " to check</summary>\n<table class=\"checks\"><tr><th>Dive</th><th>Begins</th><th>Duration "
                       "[min]</th><th>Max. depth [m]</th><th>Why</th></tr>\n" +
                       rows + "</table>\n";
    if (count > MostCheckRows)
        text += "<p>And " + std::to_string(count - MostCheckRows) +
                " more: the Check column of dives.tsv names every one.</p>\n";
    return text + "</details>\n";
}

std::string CheckLegend()
{
    return "<p class=\"legend\">A dive to check: <b>long</b>, more than three times the median duration of the "
           "recording's dives of similar maximum depth; <b>joined</b>, it stays near the surface between its deeper "
           "parts for longer than the end of a dive needs (two dives taken for one?); <b>shallow</b>, it does not "
           "reach the threshold once the surface baseline is taken off; <b>gap</b>, the record has no value right "
           "after it. The dive's number is that of its picture and its line in the dive table.</p>\n";
}

std::string ShapeLegend(std::string (*pictureOf)(char))
{
    static const char* const shapes[][3] = {
        {"V", "V", "straight down and up again, no bottom phase"},
        {"U", "U", "down, a bottom phase, up"},
        {"Y", "Y", "a narrow, deep peak below a long, shallower part"},
        {"W", "W", "two troughs in the bottom phase"},
        {"P", "parabola", "a rounded profile, steepest at the surface"},
        {"L", "L", "a bottom phase that slopes"},
        {"X", "no category", "none of these"}};
    std::string rows;
    for (const auto& s : shapes)
        rows += "<tr><td><img src=\"" + pictureOf(s[0][0]) + "\" width=\"" + std::to_string(ShapePictureWidth) +
                "\" height=\"" + std::to_string(ShapePictureHeight) + "\" alt=\"" + s[1] + " shape\"></td><td>" +
                "<span style=\"background:" + ShapeColour(s[0][0]).name().toStdString() + "\">" + s[0] +
                "</span></td><td>" + s[1] + "</td><td>" + s[2] + "</td></tr>\n";
    return "<table class=\"shapes\"><tr><th></th><th>Letter</th><th>Shape</th><th>The dive</th></tr>\n" + rows +
           "</table>\n";
}

}  // namespace vk
