#include "clsIniControl.h"

#include "config/IniFile.h"
#include "io/FileIo.h"
#include "text/CodePage.h"
#include "text/Paths.h"

namespace qv {

clsIniControl::clsIniControl(std::string settingsFolder) : m_settingsFolder(std::move(settingsFolder)) {}

const std::string& clsIniControl::IniFileName()
{
    static const std::string name = "Quorvel.ini";
    return name;
}

std::string clsIniControl::IniPath() const
{
    return JoinPath(m_settingsFolder, IniFileName());
}

std::string clsIniControl::GetIniString() const
{
    return ReadValue(m_section, m_key);
}

Status clsIniControl::LetIniString() const
{
    return WriteValue(m_section, m_key, m_value);
}

std::string clsIniControl::ReadValue(const std::string& section, const std::string& key) const
{
    return ReadIniFile(IniPath(), section, key);
}

Status clsIniControl::WriteValue(const std::string& section, const std::string& key, const std::string& value) const
{
    return WriteIniFile(IniPath(), section, key, value);
}

std::string ReadIniFile(const std::string& path, const std::string& section, const std::string& key)
{
    const auto sectionBytes = Utf8ToCp1252(section);
    const auto keyBytes = Utf8ToCp1252(key);
    if (!sectionBytes || !keyBytes)
        return kUnknown;
    // A file that cannot be read is treated as missing, as the platform reader does.
    const auto file = ReadFileBytes(path);
    const std::string bytes = file ? file.value() : std::string();
    return Cp1252ToUtf8(ini::Read(bytes, sectionBytes.value(), keyBytes.value(), kUnknown));
}

Status WriteIniFile(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value)
{
    const auto sectionBytes = Utf8ToCp1252(section);
    if (!sectionBytes)
        return Error{sectionBytes.error().number, sectionBytes.error().description + " (" + path + ")"};
    const auto keyBytes = Utf8ToCp1252(key);
    if (!keyBytes)
        return Error{keyBytes.error().number, keyBytes.error().description + " (" + path + ")"};
    const auto valueBytes = Utf8ToCp1252(value);
    if (!valueBytes)
        return Error{valueBytes.error().number, valueBytes.error().description + " (" + path + ")"};

    std::string current;
    if (auto file = ReadFileBytes(path)) {
        current = std::move(file).value();
    } else if (file.error().number != ErrFileNotFound) {
        return file.error();
    }
    auto updated = ini::Write(current, sectionBytes.value(), keyBytes.value(), valueBytes.value());
    if (!updated)
        return Error{updated.error().number, updated.error().description + " (" + path + ")"};
    return WriteFileAtomically(path, updated.value());
}

} // namespace qv
