#include "Settings.h"

#include "config/CadProducts.h"
#include "config/SettingsKeys.h"
#include "io/FileIo.h"
#include "text/Paths.h"
#include "text/TextUtil.h"

namespace qv {

std::string locateSettingsFolder(const std::string& programFolder)
{
    const std::string redirect =
        readIniValue(joinPath(programFolder, keys::kRedirectFile), keys::kRedirectSection, keys::kRedirectKey);
    return redirect != kUnknown ? redirect : programFolder;
}

std::string resolveSettingsFolder(const std::string& programFolder, bool programFolderWritable,
                                  const std::string& userFolder)
{
    const std::string located = locateSettingsFolder(programFolder);
    if (located != programFolder || programFolderWritable || userFolder.empty())
        return located;
    return userFolder;
}

std::string readCadExecutable(const SettingsFile& ini)
{
    return ini.readValue(keys::kAcadSection, keys::kAcadKey);
}

std::string readDatabasePath(const SettingsFile& ini)
{
    return ini.readValue(keys::kDatabaseSection, keys::kDatabaseKey);
}

std::string readScriptFolder(const SettingsFile& ini, const std::string& programFolder)
{
    const std::string value = ini.readValue(keys::kBatchSection, keys::kBatchKey);
    return value == kUnknown ? programFolder : value;
}

std::string readProductCode(const SettingsFile& ini)
{
    return normaliseProductCode(ini.readValue(keys::kCadVerSection, keys::kCadVerKey));
}

std::string readOpenCommand(const SettingsFile& ini)
{
    return ini.readValue(keys::kStartEndSection, keys::kStartKey);
}

std::string readHostWindowState(const SettingsFile& ini)
{
    return ini.readValue(keys::kStartEndSection, keys::kWindowKey);
}

std::string readStartupSwitchOption(const SettingsFile& ini)
{
    return ini.readValue(keys::kSwitchSection, keys::kStartOptionKey);
}

std::string readStartupSwitchText(const SettingsFile& ini)
{
    const std::string value = ini.readValue(keys::kSwitchSection, keys::kSwitchKey);
    return value == kUnknown ? std::string() : value;
}

std::optional<int> parseFieldNumber(std::string_view text)
{
    text = trimSpaces(text);
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < 1)
        return std::nullopt;
    return value;
}

std::string readFieldSortOption(const SettingsFile& ini, std::string& delimiter, std::string& fieldNumber)
{
    delimiter = ini.readValue(keys::kFieldSection, keys::kDelimKey);
    fieldNumber = ini.readValue(keys::kFieldSection, keys::kFieldNumKey);
    return ini.readValue(keys::kFieldSection, keys::kSortKey);
}

bool readSetupDone(const SettingsFile& ini)
{
    return toUpperAscii(ini.readValue(keys::kStartupSection, keys::kSetupKey)) == "YES";
}

bool readAskBeforeAssigningToAll(const SettingsFile& ini)
{
    return toUpperAscii(ini.readValue(keys::kAskSection, keys::kAskAssignToAllKey)) != "NO";
}

std::string readPlotterConfigFolder(const SettingsFile& ini)
{
    return ini.readValue(keys::kPlotWizardSection, keys::kPc3Key);
}

std::string readPlotStyleFolder(const SettingsFile& ini)
{
    return ini.readValue(keys::kPlotWizardSection, keys::kStyleKey);
}

std::optional<UserMessage> unreadableSettingsMessage(const SettingsFile& ini)
{
    const std::string path = ini.filePath();
    const auto read = readFileBytes(path);
    if (read || read.error().number == ErrFileNotFound)
        return std::nullopt;
    return UserMessage{formatErrorMessage(read.error(), "GetIniString") + "\r\n\r\nThe settings file " + path +
                           " cannot be read, and Quorvel does not go on with default settings in its place. Give "
                           "it back its read permission, or move it away to start with a new one.",
                       "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok};
}

} // namespace qv
