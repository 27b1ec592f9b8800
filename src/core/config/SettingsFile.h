#pragma once

#include "Result.h"

#include <string>

namespace qv {

// Access to the settings file "Quorvel.ini" in the settings folder. The four properties keep their
// values between calls, so a caller sets only those that change. Reads never cache: every call
// reads the file again.
class SettingsFile
{
public:
    explicit SettingsFile(std::string settingsFolder = {});

    static const std::string& fileName();
    std::string filePath() const;
    const std::string& folder() const { return m_settingsFolder; }
    void setFolder(std::string folder) { m_settingsFolder = std::move(folder); }

    const std::string& section() const { return m_section; }
    void setSection(std::string section) { m_section = std::move(section); }
    const std::string& key() const { return m_key; }
    void setKey(std::string key) { m_key = std::move(key); }
    const std::string& value() const { return m_value; }
    void setValue(std::string value) { m_value = std::move(value); }

    // Value of key in section; "Unknown" when the file, section or key is missing.
    std::string readCurrent() const;
    // Writes value under section/key, creating file, section or key as needed.
    Status writeCurrent() const;

    // The same operations with explicit names, leaving the properties as they are.
    std::string readValue(const std::string& section, const std::string& key) const;
    Status writeValue(const std::string& section, const std::string& key, const std::string& value) const;

private:
    std::string m_settingsFolder;
    std::string m_section;
    std::string m_key;
    std::string m_value;
};

// The marker of a value that is not set; a stored "Unknown" reads the same as a missing key.
inline constexpr const char* kUnknown = "Unknown";

// Reads one value of any settings-format file (UTF-8 names in, UTF-8 value out), default "Unknown".
std::string readIniValue(const std::string& path, const std::string& section, const std::string& key);
// Writes one value into any settings-format file, atomically.
Status writeIniValue(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value);

} // namespace qv
