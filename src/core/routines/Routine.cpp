#include "Routine.h"

#include "text/CodePage.h"

#include <cstring>
#include <utility>

namespace qv {

std::int16_t Routine::recordNumber() const
{
    return m_recordNumber;
}

void Routine::setRecordNumber(std::int16_t value)
{
    m_recordNumber = value;
}

const std::string& Routine::description() const
{
    return m_description;
}

void Routine::setDescription(std::string value)
{
    m_description = std::move(value);
}

const std::string& Routine::scriptText() const
{
    if (m_decodePending) {
        // The padding is spaces, which decode to themselves.
        m_scriptText = cp1252ToUtf8(m_storedText);
        m_scriptText.append(m_storedWidth - m_storedText.size(), ' ');
        m_storedText = std::string();
        m_decodePending = false;
    }
    return m_scriptText;
}

void Routine::setScriptText(std::string value)
{
    m_scriptText = std::move(value);
    m_storedText = std::string();
    m_decodePending = false;
}

void Routine::setStoredScriptText(std::string_view field)
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

std::string Routine::scriptTextWithoutPadding() const
{
    if (m_decodePending)
        return cp1252ToUtf8(m_storedText);
    const std::size_t end = m_scriptText.find_last_not_of(' ');
    return m_scriptText.substr(0, end == std::string::npos ? 0 : end + 1);
}

bool Routine::operator==(const Routine& other) const
{
    return m_recordNumber == other.m_recordNumber && m_description == other.m_description &&
           scriptText() == other.scriptText() && m_deleted == other.m_deleted && m_favourite == other.m_favourite &&
           m_recordWritten == other.m_recordWritten && m_inUse == other.m_inUse;
}

std::int16_t Routine::deleted() const
{
    return m_deleted;
}

void Routine::setDeleted(std::int16_t value)
{
    m_deleted = value;
}

const std::string& Routine::favourite() const
{
    return m_favourite;
}

void Routine::setFavourite(std::string value)
{
    m_favourite = std::move(value);
}

std::int16_t Routine::recordWritten() const
{
    return m_recordWritten;
}

void Routine::setRecordWritten(std::int16_t value)
{
    m_recordWritten = value;
}

std::int16_t Routine::inUse() const
{
    return m_inUse;
}

void Routine::setInUse(std::int16_t value)
{
    m_inUse = value;
}

} // namespace qv
