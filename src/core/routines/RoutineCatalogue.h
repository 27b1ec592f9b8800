#pragma once

#include "Message.h"
#include "routines/Routine.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The catalogue: every live routine as readAll last read them, in file order. These functions
// work on it without touching the file.
using RoutineList = std::vector<Routine>;

// Stored command text without its padding and end marker: trailing spaces removed, then exactly five
// characters.
std::string stripEndMarker(std::string_view storedText);

// True when a routine's trimmed description equals the (already trimmed) description exactly;
// letter case counts.
bool descriptionExists(const RoutineList& catalogue, std::string_view description);

// What the script writer and the combine window need of a routine.
struct RoutineLookup
{
    bool found = false;
    std::string text;          // command text without end marker; empty when not found
    std::string recordWritten; // recordWritten as decimal text; empty when not found
    std::string deleted;       // Deleted as decimal text; empty when not found
};

// The first routine whose trimmed description equals the argument (compared as given).
RoutineLookup findByDescription(const RoutineList& catalogue, std::string_view description);

// The catalogue by trimmed description, built once per operation so that a list of many drawings costs
// one look-up per row rather than a scan of the whole catalogue. The first routine of a description wins,
// as with findByDescription. The catalogue must outlive the index.
class RoutineIndex
{
public:
    explicit RoutineIndex(const RoutineList& catalogue);
    bool contains(std::string_view description) const { return find(description) != nullptr; }
    const Routine* find(std::string_view description) const;
    RoutineLookup lookup(std::string_view description) const;

    // contains() for descriptions 0 .. count-1, given by description(i), each answered by answer(i, found).
    // The look-ups of a long list overlap their memory waits: each row's slot and key are fetched a few rows
    // ahead, since a large catalogue does not stay in the processor's caches.
    template <typename Description, typename Answer>
    void containsEach(std::size_t count, Description description, Answer answer) const;

private:
    // An open-addressing table kept small and together, so that a look-up in a large catalogue touches a
    // slot and one entry rather than scattered nodes and routine objects: a list of many drawings looks up
    // every row. A quarter of the slots at most are used, so few look-ups walk past their first slot.
    struct Slot
    {
        std::uint32_t hash = 0;
        std::uint32_t entry = kEmpty; // offset of the entry in m_entries
    };
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    // Each entry: the routine's index into m_routines and the key's length (four bytes each), then the key.
    static constexpr std::size_t kEntryHead = 8;

    const Slot* slotFor(std::string_view description, std::uint32_t hash) const;
    static std::uint32_t hashOf(std::string_view text);

    std::vector<Slot> m_slots;
    std::string m_entries; // one entry per distinct trimmed description, one after the other
    std::vector<const Routine*> m_routines;
    std::size_t m_mask = 0;
};

template <typename Description, typename Answer>
void RoutineIndex::containsEach(std::size_t count, Description description, Answer answer) const
{
    constexpr std::size_t kSlotAhead = 16; // the slot is fetched this many rows ahead
    constexpr std::size_t kKeyAhead = 8;   // and its key this many
    std::uint32_t hashes[kSlotAhead];
    const auto fetchSlot = [&](std::size_t i) {
        const std::uint32_t hash = hashOf(description(i));
        hashes[i % kSlotAhead] = hash;
        __builtin_prefetch(&m_slots[hash & m_mask]);
    };
    const auto fetchKey = [&](std::size_t i) {
        const Slot& slot = m_slots[hashes[i % kSlotAhead] & m_mask];
        if (slot.entry != kEmpty)
            __builtin_prefetch(m_entries.data() + slot.entry);
    };
    for (std::size_t i = 0; i < count && i < kSlotAhead; ++i)
        fetchSlot(i);
    for (std::size_t i = 0; i < count && i < kKeyAhead; ++i)
        fetchKey(i);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t hash = hashes[i % kSlotAhead];
        answer(i, slotFor(description(i), hash)->entry != kEmpty);
        if (i + kSlotAhead < count)
            fetchSlot(i + kSlotAhead);
        if (i + kKeyAhead < count)
            fetchKey(i + kKeyAhead);
    }
}

// True when the (trimmed) description is longer than 75 characters.
bool checkListLength(std::string_view description);
inline constexpr std::size_t kMaxDescriptionLength = 75;

// Trimmed Favourite is exactly "Fav".
bool isFavourite(const Routine& routine);

// Favourites and every other routine, each in file order.
struct FavouriteSplit
{
    RoutineList favourites;
    RoutineList nonFavourites;
};
FavouriteSplit splitFavourites(const RoutineList& catalogue);

// The routine with that record number, or nullptr.
const Routine* findRoutine(const RoutineList& catalogue, std::int16_t recordNumber);

// What the editor shows for a picked routine.
struct ShownRoutine
{
    std::string description; // trimmed
    std::string text;        // without end marker
    bool nonFavourite = false;
};
std::optional<ShownRoutine> routineToShow(const RoutineList& catalogue, std::int16_t recordNumber);

// Caption of the editor's list frame: "<count> Script Routines".
std::string routineListCaption(std::size_t count);

// Records the editor stores, with the description trimmed of spaces. Update writes the same record as
// Add, at the chosen record number.
Routine makeRoutineForAdd(std::string_view description, std::string_view text, bool nonFavourite);
Routine makeRoutineForUpdate(std::string_view description, std::string_view text, bool nonFavourite);
// A deleted record: blank description and text, Deleted 1, InUse 0.
Routine makeDeletedRoutine(bool nonFavourite);

// Editor input checks. A refusal carries the message to show and the box that gets the focus (with
// its text selected); nothing is stored after a refusal.
enum class EditorField
{
    Description,
    Action,
    RoutineName
};

struct EditorRefusal
{
    UserMessage message;
    EditorField focus = EditorField::Description;
};

inline constexpr const char* kMsgEnterDescription = "Please Enter A Description";
inline constexpr const char* kMsgEnterScript = "Please Enter Your Script";
inline constexpr const char* kMsgDuplicateDescription = "You Can't Have Duplicate Descriptions in the DataBase";
inline constexpr const char* kMsgEnterRoutineName = "Enter a routine name";
std::string descriptionTooLongText();

// Add: blank description, blank script, length, duplicate, then what the file cannot hold.
std::optional<EditorRefusal> validateAdd(const RoutineList& catalogue, std::string_view description,
                                         std::string_view text);

// Update of record recordNumber: length, blank description, blank script, a description that another
// routine already has (unless the record already carries it), then what the file cannot hold.
std::optional<EditorRefusal> validateUpdate(const RoutineList& catalogue, std::string_view description,
                                            std::string_view text, std::int16_t recordNumber);

// What the routine file cannot hold: a command text over 4995 characters, or a character of the
// description or text outside Windows-1252; and a description with a control character, which a
// drawing list file cannot hold.
std::optional<EditorRefusal> validateStorable(std::string_view description, std::string_view text);

// "Save Routine" in the save dialog.
enum class SaveChoice
{
    AskReplace, // ask `question`; on Yes update `recordNumber` with `name`
    Add,        // add a routine named `name`
    Refused,    // show `refusal`
};

struct SaveDecision
{
    SaveChoice choice = SaveChoice::Refused;
    std::string name; // the typed name, trimmed
    std::int16_t recordNumber = 0;
    UserMessage question;
    std::optional<EditorRefusal> refusal;
};

SaveDecision decideSaveRoutine(const RoutineList& catalogue, std::string_view typedName);

} // namespace qv
