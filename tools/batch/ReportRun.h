#pragma once

// The study report: the pictures of its recordings drawn by several
// processes of this program at once (each recording's pictures are files of
// their own), the page and the pictures of the whole study by the caller.

#include <string>

namespace vk {

// The report in `report` of the study tables in `study`, its recordings'
// pictures drawn by up to `jobs` processes; 0 when written.
int WriteReport(const std::string& study, const std::string& report, int jobs);

// One process's share: the pictures of recordings share, share + shares, ...
// of the study; 0 when drawn.
int DrawReportShare(const std::string& study, const std::string& report, int share, int shares);

// "--report-share": the option naming a share, as "K/N".
inline constexpr const char* ReportShareOption = "--report-share";

}  // namespace vk
