#include "RunReport.h"

#include "text/CodePage.h"
#include "text/LineBreaks.h"
#include "text/Paths.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace qv {

std::string csvField(std::string_view text)
{
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote)
        return std::string(text);
    std::string field;
    field.reserve(text.size() + 2);
    field += '"';
    for (const char c : text) {
        if (c == '"')
            field += '"';
        field += c;
    }
    field += '"';
    return field;
}

std::string runReportCsv(const std::vector<RunReportRow>& rows)
{
    std::string out = "Drawing,Routine,State,First error line,Seconds";
    out += kCrLf;
    for (const RunReportRow& row : rows) {
        // to_chars, not printf: the program's locale could make the decimal point a comma.
        char seconds[32];
        const double value = std::isfinite(row.seconds) ? row.seconds : 0.0;
        const auto written = std::to_chars(seconds, seconds + sizeof seconds, value, std::chars_format::fixed, 1);
        out += csvField(row.drawing);
        out += ',';
        out += csvField(row.routine);
        out += ',';
        out += csvField(drawingStateName(row.state));
        out += ',';
        out += csvField(row.firstError);
        out += ',';
        out.append(seconds, written.ptr);
        out += kCrLf;
    }
    return out;
}

std::string runReportBytes(const std::vector<RunReportRow>& rows)
{
    std::string text = runReportCsv(rows);
    if (auto encoded = utf8ToCp1252(text))
        return std::move(encoded.value());
    return "\xEF\xBB\xBF" + text;
}

std::string chooseRunFolder(std::string_view parent, const RunStamp& stamp,
                            const std::function<bool(const std::string& path)>& exists)
{
    char name[64];
    std::snprintf(name, sizeof name, "Run %04d-%02d-%02d %02d-%02d-%02d", stamp.year, stamp.month, stamp.day,
                  stamp.hour, stamp.minute, stamp.second);
    std::string path = joinPath(stripTrailingSeparator(parent), name);
    for (int n = 2; exists && exists(path); ++n)
        path = joinPath(stripTrailingSeparator(parent), std::string(name) + " (" + std::to_string(n) + ")");
    return path;
}

} // namespace qv
