#include "TimedStart.h"

#include "text/TextUtil.h"

#include <cctype>
#include <cstdio>
#include <iterator>

namespace qv {
namespace {

// A run of 1 to `maxDigits` digits at `pos`; moves `pos` past it.
std::optional<int> digits(std::string_view text, std::size_t& pos, std::size_t maxDigits)
{
    const std::size_t start = pos;
    int value = 0;
    while (pos < text.size() && pos - start < maxDigits && std::isdigit(static_cast<unsigned char>(text[pos]))) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos == start)
        return std::nullopt;
    return value;
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// "YYYY-MM-DD" at the start of the text; moves `pos` past it when it is a real date.
bool skipIsoDate(std::string_view text, std::size_t& pos)
{
    std::size_t p = pos;
    const auto year = digits(text, p, 4);
    if (!year || p - pos != 4 || p >= text.size() || text[p] != '-')
        return false;
    ++p;
    const auto month = digits(text, p, 2);
    if (!month || p >= text.size() || text[p] != '-')
        return false;
    ++p;
    const auto day = digits(text, p, 2);
    if (!day || *month < 1 || *month > 12 || *day < 1)
        return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int days = kDays[*month - 1] + (*month == 2 && isLeapYear(*year) ? 1 : 0);
    if (*day > days)
        return false;
    pos = p;
    return true;
}

void skipSpaces(std::string_view text, std::size_t& pos)
{
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
}

std::string twoDigits(int value)
{
    char buffer[4];
    std::snprintf(buffer, sizeof buffer, "%02d", value % 100);
    return buffer;
}

} // namespace

std::optional<TimeOfDay> parseStartTime(std::string_view answer)
{
    const std::string_view text = trimSpaces(answer);
    if (text.empty())
        return std::nullopt;
    std::size_t pos = 0;
    const bool hasDate = skipIsoDate(text, pos);
    skipSpaces(text, pos);
    if (hasDate && pos == text.size())
        return TimeOfDay{};
    if (hasDate && pos == 10)
        return std::nullopt; // the date runs straight into something else

    TimeOfDay time;
    const auto hour = digits(text, pos, 2);
    if (!hour)
        return std::nullopt;
    time.hour = *hour;
    bool hasMinutes = false;
    if (pos < text.size() && text[pos] == ':') {
        ++pos;
        const std::size_t start = pos;
        const auto minute = digits(text, pos, 2);
        if (!minute || pos - start != 2)
            return std::nullopt;
        time.minute = *minute;
        hasMinutes = true;
        if (pos < text.size() && text[pos] == ':') {
            ++pos;
            const std::size_t secondStart = pos;
            const auto second = digits(text, pos, 2);
            if (!second || pos - secondStart != 2)
                return std::nullopt;
            time.second = *second;
        }
    }
    skipSpaces(text, pos);
    const std::string suffix = toUpperAscii(text.substr(pos));
    if (suffix == "AM" || suffix == "PM") {
        if (time.hour < 1 || time.hour > 12)
            return std::nullopt;
        time.hour = time.hour % 12 + (suffix == "PM" ? 12 : 0);
    } else if (!suffix.empty() || !hasMinutes) {
        // A bare number is not a time.
        return std::nullopt;
    }
    if (time.hour > 23 || time.minute > 59 || time.second > 59)
        return std::nullopt;
    return time;
}

std::string clockText(const TimeOfDay& time)
{
    return twoDigits(time.hour) + ":" + twoDigits(time.minute) + ":" + twoDigits(time.second);
}

std::string minimisedCaption(const TimeOfDay& time)
{
    return twoDigits(time.hour) + ":" + twoDigits(time.minute);
}

bool startTimeReached(const TimeOfDay& start, const TimeOfDay& lastShown, const TimeOfDay& now)
{
    const int span = (now.secondsOfDay() - lastShown.secondsOfDay() + kSecondsPerDay) % kSecondsPerDay;
    const int toStart = (start.secondsOfDay() - lastShown.secondsOfDay() + kSecondsPerDay) % kSecondsPerDay;
    return toStart > 0 && toStart <= span;
}

std::string countdownText(const TimeOfDay& start, const TimeOfDay& now)
{
    int left = (start.secondsOfDay() - now.secondsOfDay() + kSecondsPerDay) % kSecondsPerDay;
    if (left == 0)
        left = kSecondsPerDay;
    // 24:00:00 is the one value past a clock's range: the full day until the same second comes round.
    return "Starts in " + clockText({left / 3600, left / 60 % 60, left % 60});
}

UserMessage invalidStartTimeMessage()
{
    return UserMessage{"The time you entered was not valid.", "Quorvel", MessageIcon::None, MessageButtons::Ok};
}

UserMessage noDrawingsInListMessage()
{
    return UserMessage{"There are no drawings in the list", "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok};
}

UserMessage confirmExitTimerMessage()
{
    static constexpr std::string_view kLines[] = {
        "WARNING",
        "",
        "You are about to exit the timer function. By doing so any settings ",
        "you have made in the timer dialog will be lost. Therefore the",
        "timer will be switched off.",
        "If you wish you can minimize the timer.",
        "",
        "Press OK to continue exiting.",
    };
    std::string text;
    for (std::size_t i = 0; i < std::size(kLines); ++i) {
        if (i > 0)
            text += '\n';
        text += kLines[i];
    }
    return UserMessage{std::move(text), "Confirm Exiting Timer", MessageIcon::None, MessageButtons::OkCancel};
}

} // namespace qv
