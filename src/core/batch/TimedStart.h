#pragma once

#include "Message.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Local date and time as the clock reads it.
struct LocalDateTime
{
    int year = 0;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const LocalDateTime&) const = default;
};

// A time of day, to the second. The timed start keeps no date: a start time fires whenever the
// clock next shows it.
struct TimeOfDay
{
    int hour = 0;
    int minute = 0;
    int second = 0;

    static TimeOfDay of(const LocalDateTime& moment) { return {moment.hour, moment.minute, moment.second}; }
    int secondsOfDay() const { return (hour * 60 + minute) * 60 + second; }
    bool operator==(const TimeOfDay&) const = default;
};

inline constexpr int kSecondsPerDay = 24 * 60 * 60;

// The answer typed into the start-time box as a time of day, or nothing when it is not a date/time.
// Accepted: "14:30", "14:30:15", "2:30 pm", "2 PM", optionally after a date "2025-03-01 "; a date
// alone is midnight. The date part is dropped.
std::optional<TimeOfDay> parseStartTime(std::string_view answer);

// "hh:mm:ss", the clock and the start time.
std::string clockText(const TimeOfDay& time);
// "hh:mm", the caption of the minimised timer window.
std::string minimisedCaption(const TimeOfDay& time);

// True when the clock, moving from the second last shown to `now`, has reached the start time: the
// start second lies after `lastShown` and at or before `now`, going round midnight. With a tick twice
// a second that is the second the clock shows the start time; a second skipped by a busy or
// suspended machine still counts. A start time already past when it was set fires when the clock
// next reaches it, the next day.
bool startTimeReached(const TimeOfDay& start, const TimeOfDay& lastShown, const TimeOfDay& now);

// The countdown shown while a start time is armed: "Starts in hh:mm:ss", the time left until the clock next
// shows the start time (a whole day when it shows it now: that second is already under way).
std::string countdownText(const TimeOfDay& start, const TimeOfDay& now);

// Messages of the timer window.
UserMessage invalidStartTimeMessage();
UserMessage noDrawingsInListMessage();
UserMessage confirmExitTimerMessage();

inline constexpr std::string_view kTimerCaption = "Set Timer";
inline constexpr std::string_view kStartTimePrompt = "Enter Start Time";
inline constexpr std::string_view kStartTimeTitle = "Start Time";

} // namespace qv
