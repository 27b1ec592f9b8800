#pragma once

#include "Message.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

inline constexpr int kPurgeItemCount = 18;
inline constexpr int kMaxPurgePasses = 10;
inline constexpr std::string_view kPurgeSelectAllCaption = "Select All";
inline constexpr std::string_view kPurgeClearAllCaption = "Clear All";

// One kind of named object the purge can remove; the index in purgeItems() is the chkPurge index.
struct PurgeItem
{
    std::string_view caption;
    std::string_view option; // the purge command's keyword for this kind
    bool asksNames;          // false when the host asks for no names and no confirmation
};

const std::array<PurgeItem, kPurgeItemCount>& purgeItems();

// What the Purge tab offers for a product: items 0 to offeredCount - 1, the frame caption, and
// whether a routine can be made at all.
struct PurgeSetup
{
    int offeredCount = 0;
    std::string_view frameCaption;
    bool usable = false;

    bool isOffered(int index) const { return index >= 0 && index < offeredCount; }
};

// Codes are compared exactly as the settings store them. A code in another letter case ("cad2010",
// only possible by editing the settings file) is an unknown product and gets the common items 0-7.
PurgeSetup purgeSetupFor(std::string_view productCode);

// The tab's choices as read from its controls.
struct PurgeChoices
{
    std::array<bool, kPurgeItemCount> ticked{};
    std::string passesText = "3"; // cmbNoPasses
    bool allFlag = false;         // lblpurgeall is "Yes"
};

// Choices of a freshly set-up tab: offered items ticked, all flag set, 3 passes; cmdPurgeAll then
// reads kPurgeClearAllCaption.
PurgeChoices defaultPurgeChoices(const PurgeSetup& setup);

// The user ticked or unticked an item: the all flag no longer holds.
void setPurgeItem(PurgeChoices& choices, int index, bool ticked);

// cmdPurgeAll pressed while showing `caption`: "Select All" ticks the offered items, anything else
// unticks all 18. Returns the button's new caption.
std::string_view togglePurgeAll(PurgeChoices& choices, const PurgeSetup& setup, std::string_view caption);

enum class PurgeField
{
    None,
    Passes
};

// The routine text, or the message to show instead (and the control to focus); nothing is handed
// to the save dialog when a message is set.
struct PurgeRoutineResult
{
    std::string text;
    std::optional<UserMessage> message;
    PurgeField focus = PurgeField::None;

    bool ok() const { return !message.has_value(); }
};

// Only offered items produce purges, whatever `choices` holds for the others. The number of passes
// must be a whole number from 1 to kMaxPurgePasses.
PurgeRoutineResult buildPurgeRoutine(const PurgeChoices& choices, std::string_view productCode);

} // namespace qv
