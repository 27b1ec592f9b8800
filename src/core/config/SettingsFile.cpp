#include "SettingsFile.h"

#include "config/IniFile.h"
#include "io/FileIo.h"
#include "text/CodePage.h"
#include "text/Paths.h"

namespace qv {

SettingsFile::SettingsFile(std::string settingsFolder) : m_settingsFolder(std::move(settingsFolder)) {}

const std::string& SettingsFile::fileName()
{
    static const std::string name = "Quorvel.ini";
    return name;
}

std::string SettingsFile::filePath() const
{
    return joinPath(m_settingsFolder, fileName());
}

std::string SettingsFile::readCurrent() const
{
    return readValue(m_section, m_key);
}

Status SettingsFile::writeCurrent() const
{
    return writeValue(m_section, m_key, m_value);
}

std::string SettingsFile::readValue(const std::string& section, const std::string& key) const
{
    return readIniValue(filePath(), section, key);
}

Status SettingsFile::writeValue(const std::string& section, const std::string& key, const std::string& value) const
{
    return writeIniValue(filePath(), section, key, value);
}

std::string readIniValue(const std::string& path, const std::string& section, const std::string& key)
{
    const auto sectionBytes = utf8ToCp1252(section);
    const auto keyBytes = utf8ToCp1252(key);
    if (!sectionBytes || !keyBytes)
        return kUnknown;
    // A file that cannot be read is treated as missing, as the platform reader does.
    const auto file = readFileBytes(path);
    const std::string bytes = file ? file.value() : std::string();
    return cp1252ToUtf8(ini::readValue(bytes, sectionBytes.value(), keyBytes.value(), kUnknown));
}

Status writeIniValue(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value)
{
    const auto sectionBytes = utf8ToCp1252(section);
    if (!sectionBytes)
        return Error{sectionBytes.error().number, sectionBytes.error().description + " (" + path + ")"};
    const auto keyBytes = utf8ToCp1252(key);
    if (!keyBytes)
        return Error{keyBytes.error().number, keyBytes.error().description + " (" + path + ")"};
    const auto valueBytes = utf8ToCp1252(value);
    if (!valueBytes)
        return Error{valueBytes.error().number, valueBytes.error().description + " (" + path + ")"};

    std::string current;
    if (auto file = readFileBytes(path)) {
        current = std::move(file).value();
    } else if (file.error().number != ErrFileNotFound) {
        return file.error();
    }
    auto updated = ini::writeValue(current, sectionBytes.value(), keyBytes.value(), valueBytes.value());
    if (!updated)
        return Error{updated.error().number, updated.error().description + " (" + path + ")"};
    return writeFileAtomically(path, updated.value());
}

} // namespace qv
