#include "clsRoutine.h"

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
    return m_scriptText;
}

void clsRoutine::SetScriptText(std::string value)
{
    m_scriptText = std::move(value);
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
