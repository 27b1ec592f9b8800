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

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

EditorRefusal refuse(std::string text, EditorField focus)
{
    return EditorRefusal{UserMessage{std::move(text), "Error", MessageIcon::Exclamation, MessageButtons::Ok}, focus};
}

// Blank-field checks shared by add and update.
std::optional<EditorRefusal> validateFilledIn(std::string_view description, std::string_view text)
{
    if (trimSpaces(description).empty())
        return refuse(kMsgEnterDescription, EditorField::Description);
    if (trimSpaces(text).empty())
        return refuse(kMsgEnterScript, EditorField::Action);
    return std::nullopt;
}

std::optional<EditorRefusal> validateLength(std::string_view description)
{
    if (checkListLength(trimSpaces(description)))
        return refuse(descriptionTooLongText(), EditorField::Description);
    return std::nullopt;
}

} // namespace

std::string stripEndMarker(std::string_view storedText)
{
    std::string_view text = trimTrailingSpaces(storedText);
    for (std::size_t removed = 0; removed < record::kEndMarker.size() && !text.empty(); ++removed) {
        std::size_t size = text.size() - 1;
        while (size > 0 && isContinuationByte(text[size]))
            --size;
        text = text.substr(0, size);
    }
    return std::string(text);
}

bool descriptionExists(const RoutineList& catalogue, std::string_view description)
{
    for (const Routine& routine : catalogue) {
        if (trimSpaces(routine.description()) == description)
            return true;
    }
    return false;
}

RoutineLookup findByDescription(const RoutineList& catalogue, std::string_view description)
{
    for (const Routine& routine : catalogue) {
        if (trimSpaces(routine.description()) == description) {
            return RoutineLookup{true, stripEndMarker(routine.scriptText()), std::to_string(routine.recordWritten()),
                                 std::to_string(routine.deleted())};
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
    for (const Routine& routine : catalogue) {
        const std::string_view key = trimSpaces(routine.description());
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

const Routine* RoutineIndex::find(std::string_view description) const
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
    const Routine* routine = find(description);
    if (!routine)
        return RoutineLookup{};
    // The padding goes first anyway: a list of thousands of routines need not decode it.
    return RoutineLookup{true, stripEndMarker(routine->scriptTextWithoutPadding()),
                         std::to_string(routine->recordWritten()), std::to_string(routine->deleted())};
}

bool checkListLength(std::string_view description)
{
    return utf8Length(description) > kMaxDescriptionLength;
}

bool isFavourite(const Routine& routine)
{
    return trimSpaces(routine.favourite()) == record::kFavourite;
}

FavouriteSplit splitFavourites(const RoutineList& catalogue)
{
    FavouriteSplit split;
    for (const Routine& routine : catalogue)
        (isFavourite(routine) ? split.favourites : split.nonFavourites).push_back(routine);
    return split;
}

const Routine* findRoutine(const RoutineList& catalogue, std::int16_t recordNumber)
{
    for (const Routine& routine : catalogue) {
        if (routine.recordNumber() == recordNumber)
            return &routine;
    }
    return nullptr;
}

std::optional<ShownRoutine> routineToShow(const RoutineList& catalogue, std::int16_t recordNumber)
{
    const Routine* routine = findRoutine(catalogue, recordNumber);
    if (!routine)
        return std::nullopt;
    return ShownRoutine{std::string(trimSpaces(routine->description())), stripEndMarker(routine->scriptText()),
                        !isFavourite(*routine)};
}

std::string routineListCaption(std::size_t count)
{
    return std::to_string(count) + " Script Routines";
}

Routine makeRoutineForAdd(std::string_view description, std::string_view text, bool nonFavourite)
{
    Routine routine;
    routine.setScriptText(std::string(text) + std::string(record::kEndMarker));
    // Stored as it was checked: the 75-character check and every look-up use the trimmed text, so leading
    // spaces must not push it past the 150-byte field, nor leave a blank (deleted-looking) record.
    routine.setDescription(std::string(trimSpaces(description)));
    routine.setInUse(1);
    routine.setFavourite(std::string(nonFavourite ? record::kNonFavourite : record::kFavourite));
    routine.setRecordWritten(1);
    routine.setDeleted(0);
    return routine;
}

Routine makeRoutineForUpdate(std::string_view description, std::string_view text, bool nonFavourite)
{
    return makeRoutineForAdd(description, text, nonFavourite);
}

Routine makeDeletedRoutine(bool nonFavourite)
{
    Routine routine;
    routine.setInUse(0);
    routine.setDeleted(1);
    routine.setFavourite(std::string(nonFavourite ? record::kNonFavourite : record::kFavourite));
    routine.setRecordWritten(1);
    return routine;
}

std::string descriptionTooLongText()
{
    return "Your Description is to long. You can't have " + std::string(kCrLf) +
           "more than 75 characters in the Description";
}

std::optional<EditorRefusal> validateStorable(std::string_view description, std::string_view text)
{
    // A drawing list file cannot hold such a description, so a list using the routine could not be saved.
    if (std::any_of(description.begin(), description.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        return refuse("The Description cannot hold a tab, a line break or another control character.",
                      EditorField::Description);
    if (auto encoded = utf8ToCp1252(description); !encoded) {
        return refuse("The Description cannot be saved." + std::string(kCrLf) + encoded.error().description,
                      EditorField::Description);
    }
    if (auto encoded = utf8ToCp1252(text); !encoded) {
        return refuse("Your Script cannot be saved." + std::string(kCrLf) + encoded.error().description,
                      EditorField::Action);
    }
    const std::size_t length = utf8Length(text);
    if (length > record::kMaxCommandTextLength) {
        return refuse("Your Script is too long. A routine can hold at most " +
                          std::to_string(record::kMaxCommandTextLength) + " characters" + std::string(kCrLf) +
                          "(each line break counts as two); this one has " + std::to_string(length) + ".",
                      EditorField::Action);
    }
    return std::nullopt;
}

std::optional<EditorRefusal> validateAdd(const RoutineList& catalogue, std::string_view description,
                                         std::string_view text)
{
    if (auto refusal = validateFilledIn(description, text))
        return refusal;
    if (auto refusal = validateLength(description))
        return refusal;
    if (descriptionExists(catalogue, trimSpaces(description)))
        return refuse(kMsgDuplicateDescription, EditorField::Description);
    return validateStorable(description, text);
}

std::optional<EditorRefusal> validateUpdate(const RoutineList& catalogue, std::string_view description,
                                            std::string_view text, std::int16_t recordNumber)
{
    if (auto refusal = validateLength(description))
        return refusal;
    if (auto refusal = validateFilledIn(description, text))
        return refusal;
    // Two routines of one name would make the script writer silently use the first. A record that
    // already carries the name keeps it (older files may hold duplicates).
    const std::string_view name = trimSpaces(description);
    const Routine* current = findRoutine(catalogue, recordNumber);
    if (!current || trimSpaces(current->description()) != name) {
        for (const Routine& routine : catalogue) {
            if (routine.recordNumber() != recordNumber && trimSpaces(routine.description()) == name)
                return refuse(kMsgDuplicateDescription, EditorField::Description);
        }
    }
    return validateStorable(description, text);
}

SaveDecision decideSaveRoutine(const RoutineList& catalogue, std::string_view typedName)
{
    SaveDecision decision;
    decision.name = std::string(trimSpaces(typedName));
    for (const Routine& routine : catalogue) {
        if (trimSpaces(routine.description()) == decision.name && !decision.name.empty()) {
            const std::string crLf(kCrLf);
            decision.choice = SaveChoice::AskReplace;
            decision.recordNumber = routine.recordNumber();
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
