#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// One record of the routine database in memory. Text is UTF-8; the record number is the record's
// position in the file (1-based) and is not stored in the record itself.
class Routine
{
public:
    std::int16_t recordNumber() const;
    void setRecordNumber(std::int16_t value);

    // As read: the stored field with its padding. Callers trim it.
    const std::string& description() const;
    void setDescription(std::string value);

    // As read: the whole stored field, end marker and padding included. Handed to a write it
    // carries the end marker (see makeRoutineForAdd); empty only for a deleted record.
    const std::string& scriptText() const;
    void setScriptText(std::string value);
    // The stored field in Windows-1252 as the file holds it, decoded on first use of ScriptText: listing
    // thousands of routines needs only their descriptions and flags.
    void setStoredScriptText(std::string_view field);
    // ScriptText without its trailing spaces, without decoding the padding of a stored text.
    std::string scriptTextWithoutPadding() const;

    std::int16_t deleted() const;
    void setDeleted(std::int16_t value);

    // "Fav" or "Non" (padded as read).
    const std::string& favourite() const;
    void setFavourite(std::string value);

    std::int16_t recordWritten() const;
    void setRecordWritten(std::int16_t value);

    std::int16_t inUse() const;
    void setInUse(std::int16_t value);

    bool operator==(const Routine& other) const;

private:
    std::int16_t m_recordNumber = 0;
    std::string m_description;
    mutable std::string m_scriptText;
    mutable std::string m_storedText;      // Windows-1252, trailing spaces cut; waiting to be decoded
    mutable std::size_t m_storedWidth = 0; // the field's width, padding included
    mutable bool m_decodePending = false;
    std::int16_t m_deleted = 0;
    std::string m_favourite;
    std::int16_t m_recordWritten = 0;
    std::int16_t m_inUse = 0;
};

} // namespace qv
