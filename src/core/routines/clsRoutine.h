#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// One record of the routine database in memory. Text is UTF-8; the record number is the record's
// position in the file (1-based) and is not stored in the record itself.
class clsRoutine
{
public:
    std::int16_t RecordNumber() const;
    void SetRecordNumber(std::int16_t value);

    // As read: the stored field with its padding. Callers trim it.
    const std::string& Description() const;
    void SetDescription(std::string value);

    // As read: the whole stored field, end marker and padding included. Handed to a write it
    // carries the end marker (see MakeRoutineForAdd); empty only for a deleted record.
    const std::string& ScriptText() const;
    void SetScriptText(std::string value);
    // The stored field in Windows-1252 as the file holds it, decoded on first use of ScriptText: listing
    // thousands of routines needs only their descriptions and flags.
    void SetStoredScriptText(std::string_view field);
    // ScriptText without its trailing spaces, without decoding the padding of a stored text.
    std::string ScriptTextWithoutPadding() const;

    std::int16_t Deleted() const;
    void SetDeleted(std::int16_t value);

    // "Fav" or "Non" (padded as read).
    const std::string& Favourite() const;
    void SetFavourite(std::string value);

    std::int16_t RecordWritten() const;
    void SetRecordWritten(std::int16_t value);

    std::int16_t InUse() const;
    void SetInUse(std::int16_t value);

    bool operator==(const clsRoutine& other) const;

private:
    std::int16_t m_recordNumber = 0;
    std::string m_description;
    mutable std::string m_scriptText;
    mutable std::string m_storedText;     // Windows-1252, trailing spaces cut; waiting to be decoded
    mutable std::size_t m_storedWidth = 0; // the field's width, padding included
    mutable bool m_decodePending = false;
    std::int16_t m_deleted = 0;
    std::string m_favourite;
    std::int16_t m_recordWritten = 0;
    std::int16_t m_inUse = 0;
};

} // namespace qv
