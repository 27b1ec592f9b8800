#include "batch/TimedStart.h"

#include <gtest/gtest.h>
#include <tuple>

namespace qv {
namespace {

TEST(TimedStart, ParsesWhatTheStartTimeBoxAccepts)
{
    // typed, time
    const std::pair<const char*, TimeOfDay> cases[] = {
        {"14:30", TimeOfDay{14, 30, 0}},    {"  14:30:15 ", TimeOfDay{14, 30, 15}},
        {"0:00:00", TimeOfDay{0, 0, 0}},    {"23:59:59", TimeOfDay{23, 59, 59}},
        {"2:30 pm", TimeOfDay{14, 30, 0}},  {"12:05 AM", TimeOfDay{0, 5, 0}},
        {"12 PM", TimeOfDay{12, 0, 0}},     {"2025-03-01 06:15", TimeOfDay{6, 15, 0}},
        {"2024-02-29", TimeOfDay{0, 0, 0}}, // a date alone is midnight
    };
    for (const auto& [typed, time] : cases)
        EXPECT_EQ(parseStartTime(typed), time) << '"' << typed << '"';
    for (const char* refused : {"abc", "", "14", "24:00", "14:60", "14:30:60", "14:3", "13:00 PM", "14:30 tomorrow",
                                "2025-02-29 10:00", "2025-03-0110:00", "-1:00"})
        EXPECT_EQ(parseStartTime(refused), std::nullopt) << '"' << refused << '"';
}

TEST(TimedStart, FiresWhenTheClockReachesTheStartSecond)
{
    const TimeOfDay start{14, 30, 0};
    // lastShown, now, fires
    const std::tuple<TimeOfDay, TimeOfDay, bool> cases[] = {
        {{14, 29, 58}, {14, 29, 59}, false}, {{14, 29, 59}, {14, 30, 0}, true},
        {{14, 30, 0}, {14, 30, 1}, false}, // already shown: fires again only tomorrow
        {{14, 29, 57}, {14, 30, 2}, true}, // a busy machine skipped the start second
        {{14, 30, 0}, {14, 30, 0}, false},   {{23, 59, 59}, {0, 0, 0}, false},
    };
    for (const auto& [lastShown, now, fires] : cases)
        EXPECT_EQ(startTimeReached(start, lastShown, now), fires) << clockText(lastShown) << " -> " << clockText(now);

    // Midnight: a start at 00:00:00 fires as the day turns, and a skip across midnight still counts.
    EXPECT_TRUE(startTimeReached({0, 0, 0}, {23, 59, 59}, {0, 0, 0}));
    EXPECT_TRUE(startTimeReached({0, 0, 1}, {23, 59, 58}, {0, 0, 2}));
    EXPECT_FALSE(startTimeReached({23, 0, 0}, {23, 59, 59}, {0, 0, 0}));
}

TEST(TimedStart, CountdownIsTheTimeUntilTheClockNextShowsTheStart)
{
    // start, now, shown
    const std::tuple<TimeOfDay, TimeOfDay, std::string> cases[] = {
        {{14, 30, 0}, {14, 29, 59}, "Starts in 00:00:01"},
        {{14, 30, 0}, {12, 0, 30}, "Starts in 02:29:30"},
        {{14, 30, 0}, {14, 30, 1}, "Starts in 23:59:59"}, // past today: tomorrow
        {{0, 0, 0}, {23, 59, 59}, "Starts in 00:00:01"},
        {{14, 30, 0}, {14, 30, 0}, "Starts in 24:00:00"}, // the second under way has gone by for the timer
    };
    for (const auto& [start, now, shown] : cases)
        EXPECT_EQ(countdownText(start, now), shown) << clockText(now);
}

TEST(TimedStart, TextsAndMessages)
{
    EXPECT_EQ(clockText({7, 5, 9}), "07:05:09");
    EXPECT_EQ(clockText({23, 59, 0}), "23:59:00");
    EXPECT_EQ(minimisedCaption({7, 5, 9}), "07:05");
    EXPECT_EQ(invalidStartTimeMessage(),
              (UserMessage{"The time you entered was not valid.", "Quorvel", MessageIcon::None, MessageButtons::Ok}));
    EXPECT_EQ(noDrawingsInListMessage(), (UserMessage{"There are no drawings in the list", "Quorvel Error",
                                                      MessageIcon::Critical, MessageButtons::Ok}));
    EXPECT_EQ(confirmExitTimerMessage(),
              (UserMessage{"WARNING\n\nYou are about to exit the timer function. By doing so any settings \n"
                           "you have made in the timer dialog will be lost. Therefore the\n"
                           "timer will be switched off.\nIf you wish you can minimize the timer.\n\n"
                           "Press OK to continue exiting.",
                           "Confirm Exiting Timer", MessageIcon::None, MessageButtons::OkCancel}));
}

} // namespace
} // namespace qv
