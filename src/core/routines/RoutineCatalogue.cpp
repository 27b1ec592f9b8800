#include "RoutineCatalogue.h"

#include "routines/RoutineRecord.h"
#include "text/CodePage.h"
#include "text/LineBreaks.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace qv {
namespace {

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

EditorRefusal Refuse(std::string text, EditorField focus)
{
    return EditorRefusal{UserMessage{std::move(text), "Error", MessageIcon::Exclamation, MessageButtons::Ok}, focus};
}

// Blank-field checks shared by add and update.
std::optional<EditorRefusal> ValidateFilledIn(std::string_view description, std::string_view text)
{
    if (TrimSpaces(description).empty())
        return Refuse(kMsgEnterDescription, EditorField::Description);
    if (TrimSpaces(text).empty())
        return Refuse(kMsgEnterScript, EditorField::Action);
    return std::nullopt;
}

std::optional<EditorRefusal> ValidateLength(std::string_view description)
{
    if (checkListLength(TrimSpaces(description)))
        return Refuse(DescriptionTooLongText(), EditorField::Description);
    return std::nullopt;
}

} // namespace

std::string StripEndMarker(std::string_view storedText)
{
    std::string_view text = TrimTrailingSpaces(storedText);
    for (std::size_t removed = 0; removed < record::kEndMarker.size() && !text.empty(); ++removed) {
        std::size_t size = text.size() - 1;
        while (size > 0 && IsContinuationByte(text[size]))
            --size;
        text = text.substr(0, size);
    }
    return std::string(text);
}

bool DescriptionExists(const RoutineList& catalogue, std::string_view description)
{
    for (const clsRoutine& routine : catalogue) {
        if (TrimSpaces(routine.Description()) == description)
            return true;
    }
    return false;
}

RoutineLookup GetRoutineByDescription(const RoutineList& catalogue, std::string_view description)
{
    for (const clsRoutine& routine : catalogue) {
        if (TrimSpaces(routine.Description()) == description) {
            return RoutineLookup{true, StripEndMarker(routine.ScriptText()), std::to_string(routine.RecordWritten()),
                                 std::to_string(routine.Deleted())};
        }
    }
    return RoutineLookup{};
}

RoutineIndex::RoutineIndex(const RoutineList& catalogue)
{
    std::size_t capacity = 16;
    while (capacity < catalogue.size() * 4)
        capacity *= 2;
    m_slots.resize(capacity);
    m_mask = capacity - 1;
    m_routines.reserve(catalogue.size());
    for (const clsRoutine& routine : catalogue) {
        const std::string_view key = TrimSpaces(routine.Description());
        const std::uint32_t hash = hashOf(key);
        if (slotFor(key, hash)->entry != kEmpty)
            continue; // the first routine of a description wins
        std::size_t at = hash & m_mask;
        while (m_slots[at].entry != kEmpty)
            at = (at + 1) & m_mask;
        m_slots[at] = Slot{hash, static_cast<std::uint32_t>(m_entries.size())};
        const std::uint32_t head[2] = {static_cast<std::uint32_t>(m_routines.size()),
                                       static_cast<std::uint32_t>(key.size())};
        m_entries.append(reinterpret_cast<const char*>(head), kEntryHead);
        m_entries.append(key);
        m_routines.push_back(&routine);
    }
}

std::uint32_t RoutineIndex::hashOf(std::string_view text)
{
    return static_cast<std::uint32_t>(std::hash<std::string_view>{}(text));
}

const RoutineIndex::Slot* RoutineIndex::slotFor(std::string_view description, std::uint32_t hash) const
{
    // Never full, so the walk ends at an empty slot.
    for (std::size_t at = hash & m_mask;; at = (at + 1) & m_mask) {
        const Slot& slot = m_slots[at];
        if (slot.entry == kEmpty)
            return &slot;
        if (slot.hash != hash)
            continue;
        std::uint32_t length = 0;
        std::memcpy(&length, m_entries.data() + slot.entry + 4, sizeof length);
        if (length == description.size() &&
            std::string_view(m_entries.data() + slot.entry + kEntryHead, length) == description)
            return &slot;
    }
}

const clsRoutine* RoutineIndex::find(std::string_view description) const
{
    const Slot* slot = slotFor(description, hashOf(description));
    if (slot->entry == kEmpty)
        return nullptr;
    std::uint32_t routine = 0;
    std::memcpy(&routine, m_entries.data() + slot->entry, sizeof routine);
    return m_routines[routine];
}

RoutineLookup RoutineIndex::lookup(std::string_view description) const
{
    const clsRoutine* routine = find(description);
    if (!routine)
        return RoutineLookup{};
    // The padding goes first anyway: a list of thousands of routines need not decode it.
    return RoutineLookup{true, StripEndMarker(routine->ScriptTextWithoutPadding()),
                         std::to_string(routine->RecordWritten()), std::to_string(routine->Deleted())};
}

bool checkListLength(std::string_view description)
{
    return Utf8Length(description) > kMaxDescriptionLength;
}

bool IsFavourite(const clsRoutine& routine)
{
    return TrimSpaces(routine.Favourite()) == record::kFavourite;
}

FavouriteSplit SplitFavourites(const RoutineList& catalogue)
{
    FavouriteSplit split;
    for (const clsRoutine& routine : catalogue)
        (IsFavourite(routine) ? split.favourites : split.nonFavourites).push_back(routine);
    return split;
}

const clsRoutine* FindRoutine(const RoutineList& catalogue, std::int16_t recordNumber)
{
    for (const clsRoutine& routine : catalogue) {
        if (routine.RecordNumber() == recordNumber)
            return &routine;
    }
    return nullptr;
}

std::optional<ShownRoutine> ShowRoutine(const RoutineList& catalogue, std::int16_t recordNumber)
{
    const clsRoutine* routine = FindRoutine(catalogue, recordNumber);
    if (!routine)
        return std::nullopt;
    return ShownRoutine{std::string(TrimSpaces(routine->Description())), StripEndMarker(routine->ScriptText()),
                        !IsFavourite(*routine)};
}

std::string RoutineListCaption(std::size_t count)
{
    return std::to_string(count) + " Script Routines";
}

clsRoutine MakeRoutineForAdd(std::string_view description, std::string_view text, bool nonFavourite)
{
    clsRoutine routine;
    routine.SetScriptText(std::string(text) + std::string(record::kEndMarker));
    // Stored as it was checked: the 75-character check and every look-up use the trimmed text, so leading
    // spaces must not push it past the 150-byte field, nor leave a blank (deleted-looking) record.
    routine.SetDescription(std::string(TrimSpaces(description)));
    routine.SetInUse(1);
    routine.SetFavourite(std::string(nonFavourite ? record::kNonFavourite : record::kFavourite));
    routine.SetRecordWritten(1);
    routine.SetDeleted(0);
    return routine;
}

clsRoutine MakeRoutineForUpdate(std::string_view description, std::string_view text, bool nonFavourite)
{
    return MakeRoutineForAdd(description, text, nonFavourite);
}

clsRoutine MakeDeletedRoutine(bool nonFavourite)
{
    clsRoutine routine;
    routine.SetInUse(0);
    routine.SetDeleted(1);
    routine.SetFavourite(std::string(nonFavourite ? record::kNonFavourite : record::kFavourite));
    routine.SetRecordWritten(1);
    return routine;
}

std::string DescriptionTooLongText()
{
    return "Your Description is to long. You can't have " + std::string(kCrLf) +
           "more than 75 characters in the Description";
}

std::optional<EditorRefusal> ValidateStorable(std::string_view description, std::string_view text)
{
    // A drawing list file cannot hold such a description, so a list using the routine could not be saved.
    if (std::any_of(description.begin(), description.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        return Refuse("The Description cannot hold a tab, a line break or another control character.",
                      EditorField::Description);
    if (auto encoded = Utf8ToCp1252(description); !encoded) {
        return Refuse("The Description cannot be saved." + std::string(kCrLf) + encoded.error().description,
                      EditorField::Description);
    }
    if (auto encoded = Utf8ToCp1252(text); !encoded) {
        return Refuse("Your Script cannot be saved." + std::string(kCrLf) + encoded.error().description,
                      EditorField::Action);
    }
    const std::size_t length = Utf8Length(text);
    if (length > record::kMaxCommandTextLength) {
        return Refuse("Your Script is too long. A routine can hold at most " +
                          std::to_string(record::kMaxCommandTextLength) + " characters" + std::string(kCrLf) +
                          "(each line break counts as two); this one has " + std::to_string(length) + ".",
                      EditorField::Action);
    }
    return std::nullopt;
}

std::optional<EditorRefusal> ValidateAdd(const RoutineList& catalogue, std::string_view description,
                                         std::string_view text)
{
    if (auto refusal = ValidateFilledIn(description, text))
        return refusal;
    if (auto refusal = ValidateLength(description))
        return refusal;
    if (DescriptionExists(catalogue, TrimSpaces(description)))
        return Refuse(kMsgDuplicateDescription, EditorField::Description);
    return ValidateStorable(description, text);
}

std::optional<EditorRefusal> ValidateUpdate(const RoutineList& catalogue, std::string_view description,
                                            std::string_view text, std::int16_t recordNumber)
{
    if (auto refusal = ValidateLength(description))
        return refusal;
    if (auto refusal = ValidateFilledIn(description, text))
        return refusal;
    // Two routines of one name would make the script writer silently use the first. A record that
    // already carries the name keeps it (older files may hold duplicates).
    const std::string_view name = TrimSpaces(description);
    const clsRoutine* current = FindRoutine(catalogue, recordNumber);
    if (!current || TrimSpaces(current->Description()) != name) {
        for (const clsRoutine& routine : catalogue) {
            if (routine.RecordNumber() != recordNumber && TrimSpaces(routine.Description()) == name)
                return Refuse(kMsgDuplicateDescription, EditorField::Description);
        }
    }
    return ValidateStorable(description, text);
}

SaveDecision DecideSaveRoutine(const RoutineList& catalogue, std::string_view typedName)
{
    SaveDecision decision;
    decision.name = std::string(TrimSpaces(typedName));
    for (const clsRoutine& routine : catalogue) {
        if (TrimSpaces(routine.Description()) == decision.name && !decision.name.empty()) {
            const std::string crLf(kCrLf);
            decision.choice = SaveChoice::AskReplace;
            decision.recordNumber = routine.RecordNumber();
            decision.question = UserMessage{decision.name + crLf + crLf + "This Routine Already Exists\t" + crLf +
                                                crLf + "Do you want to replace the Existing Routine?" + crLf + crLf,
                                            "Save Routine As:", MessageIcon::None, MessageButtons::YesNo};
            return decision;
        }
    }
    if (!decision.name.empty()) {
        decision.choice = SaveChoice::Add;
        return decision;
    }
    decision.refusal =
        EditorRefusal{UserMessage{kMsgEnterRoutineName, "Routine Name", MessageIcon::Exclamation, MessageButtons::Ok},
                      EditorField::RoutineName};
    return decision;
}

} // namespace qv
