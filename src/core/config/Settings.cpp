#include "Settings.h"

#include "config/CadProducts.h"
#include "config/SettingsKeys.h"
#include "text/Paths.h"
#include "text/TextUtil.h"

namespace qv {

std::string GetQVLocation(const std::string& programFolder)
{
    const std::string redirect =
        ReadIniFile(JoinPath(programFolder, keys::kRedirectFile), keys::kRedirectSection, keys::kRedirectKey);
    return redirect != kUnknown ? redirect : programFolder;
}

std::string ResolveSettingsFolder(const std::string& programFolder, bool programFolderWritable,
                                  const std::string& userFolder)
{
    const std::string located = GetQVLocation(programFolder);
    if (located != programFolder || programFolderWritable || userFolder.empty())
        return located;
    return userFolder;
}

std::string GetAcadAddress(const clsIniControl& ini)
{
    return ini.ReadValue(keys::kAcadSection, keys::kAcadKey);
}

std::string GetDataBaseAddress(const clsIniControl& ini)
{
    return ini.ReadValue(keys::kDatabaseSection, keys::kDatabaseKey);
}

std::string GetBatchAddress(const clsIniControl& ini, const std::string& programFolder)
{
    const std::string value = ini.ReadValue(keys::kBatchSection, keys::kBatchKey);
    return value == kUnknown ? programFolder : value;
}

std::string GetAcadVer(const clsIniControl& ini)
{
    return NormaliseProductCode(ini.ReadValue(keys::kCadVerSection, keys::kCadVerKey));
}

std::string GetStartOption(const clsIniControl& ini)
{
    return ini.ReadValue(keys::kStartEndSection, keys::kStartKey);
}

std::string GetWindowState(const clsIniControl& ini)
{
    return ini.ReadValue(keys::kStartEndSection, keys::kWindowKey);
}

std::string GetStartupSwitchOption(const clsIniControl& ini)
{
    return ini.ReadValue(keys::kSwitchSection, keys::kStartOptionKey);
}

std::string GetStartupSwitch_Text(const clsIniControl& ini)
{
    const std::string value = ini.ReadValue(keys::kSwitchSection, keys::kSwitchKey);
    return value == kUnknown ? std::string() : value;
}

std::string GetFieldDelimOption(const clsIniControl& ini, std::string& delimiter, std::string& fieldNumber)
{
    delimiter = ini.ReadValue(keys::kFieldSection, keys::kDelimKey);
    fieldNumber = ini.ReadValue(keys::kFieldSection, keys::kFieldNumKey);
    return ini.ReadValue(keys::kFieldSection, keys::kSortKey);
}

bool IsStartupSet(const clsIniControl& ini)
{
    return ToUpperAscii(ini.ReadValue(keys::kStartupSection, keys::kSetupKey)) == "YES";
}

std::string GetPc3Location(const clsIniControl& ini)
{
    return ini.ReadValue(keys::kPlotWizardSection, keys::kPc3Key);
}

std::string GetStyleLocation(const clsIniControl& ini)
{
    return ini.ReadValue(keys::kPlotWizardSection, keys::kStyleKey);
}

} // namespace qv
