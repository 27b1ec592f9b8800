#pragma once

#include "batch/RunSupervisor.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// One drawing of a watched run as its report shows it.
struct RunReportRow
{
    std::string drawing; // full path, UTF-8
    std::string routine;
    DrawingState state = DrawingState::Waiting;
    std::string firstError;
    double seconds = 0.0;
};

// A field as RFC 4180 writes it: in double quotes, with each quote doubled, when it holds a comma, a quote, a
// CR or an LF (or starts or ends with a space, which spreadsheets would trim); otherwise as it is.
std::string csvField(std::string_view text);

// The report in UTF-8: the header "Drawing,Routine,State,First error line,Seconds", then one row per drawing,
// each line ended by CR LF; seconds with one decimal.
std::string runReportCsv(const std::vector<RunReportRow>& rows);

// The report's bytes on disk: Windows-1252 like every file Quorvel writes when each character fits it, else
// UTF-8 behind a byte order mark, so a drawing name outside the code page is kept rather than refused.
std::string runReportBytes(const std::vector<RunReportRow>& rows);

// A time of day and date, to name a run folder.
struct RunStamp
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The run folder inside `parent`: "Run 2026-12-07 21-55-03", or with " (2)", " (3)", ... when that name is
// taken, so a run never writes into an earlier run's folder.
std::string chooseRunFolder(std::string_view parent, const RunStamp& stamp,
                            const std::function<bool(const std::string& path)>& exists);

} // namespace qv
