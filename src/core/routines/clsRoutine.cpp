#include "clsRoutine.h"

#include "text/CodePage.h"

#include <cstring>
#include <utility>

namespace qv {

std::int16_t clsRoutine::RecordNumber() const
{
    return m_recordNumber;
}

void clsRoutine::SetRecordNumber(std::int16_t value)
{
    m_recordNumber = value;
}

const std::string& clsRoutine::Description() const
{
    return m_description;
}

void clsRoutine::SetDescription(std::string value)
{
    m_description = std::move(value);
}

const std::string& clsRoutine::ScriptText() const
{
    if (m_decodePending) {
        // The padding is spaces, which decode to themselves.
        m_scriptText = Cp1252ToUtf8(m_storedText);
        m_scriptText.append(m_storedWidth - m_storedText.size(), ' ');
        m_storedText = std::string();
        m_decodePending = false;
    }
    return m_scriptText;
}

void clsRoutine::SetScriptText(std::string value)
{
    m_scriptText = std::move(value);
    m_storedText = std::string();
    m_decodePending = false;
}

void clsRoutine::SetStoredScriptText(std::string_view field)
{
    m_storedWidth = field.size();
    // The padding is most of a stored text: skip it a block of spaces at a time.
    static constexpr char kSpaces[65] = "                                                                ";
    std::size_t end = field.size();
    while (end >= 64 && std::memcmp(field.data() + end - 64, kSpaces, 64) == 0)
        end -= 64;
    while (end >= 8 && std::memcmp(field.data() + end - 8, kSpaces, 8) == 0)
        end -= 8;
    while (end > 0 && field[end - 1] == ' ')
        --end;
    m_storedText.assign(field.substr(0, end));
    m_scriptText.clear();
    m_decodePending = true;
}

std::string clsRoutine::ScriptTextWithoutPadding() const
{
    if (m_decodePending)
        return Cp1252ToUtf8(m_storedText);
    const std::size_t end = m_scriptText.find_last_not_of(' ');
    return m_scriptText.substr(0, end == std::string::npos ? 0 : end + 1);
}

bool clsRoutine::operator==(const clsRoutine& other) const
{
    return m_recordNumber == other.m_recordNumber && m_description == other.m_description &&
           ScriptText() == other.ScriptText() && m_deleted == other.m_deleted && m_favourite == other.m_favourite &&
           m_recordWritten == other.m_recordWritten && m_inUse == other.m_inUse;
}

std::int16_t clsRoutine::Deleted() const
{
    return m_deleted;
}

void clsRoutine::SetDeleted(std::int16_t value)
{
    m_deleted = value;
}

const std::string& clsRoutine::Favourite() const
{
    return m_favourite;
}

void clsRoutine::SetFavourite(std::string value)
{
    m_favourite = std::move(value);
}

std::int16_t clsRoutine::RecordWritten() const
{
    return m_recordWritten;
}

void clsRoutine::SetRecordWritten(std::int16_t value)
{
    m_recordWritten = value;
}

std::int16_t clsRoutine::InUse() const
{
    return m_inUse;
}

void clsRoutine::SetInUse(std::int16_t value)
{
    m_inUse = value;
}

} // namespace qv
