#pragma once

#include "config/clsIniControl.h"

#include <string>

namespace qv {

// One reader per key of the settings file. Each reads the file afresh and applies the key's
// rule for a missing value ("Unknown" unless noted).

// Settings folder: the folder named by the redirect file in the program folder, else the program
// folder.
std::string GetQVLocation(const std::string& programFolder);

// Settings folder with the fallback for installs whose program folder is read-only: the redirect
// file wins; else the program folder when it is writable; else the per-user folder.
std::string ResolveSettingsFolder(const std::string& programFolder, bool programFolderWritable,
                                  const std::string& userFolder);

std::string GetAcadAddress(const clsIniControl& ini);
std::string GetDataBaseAddress(const clsIniControl& ini);
// Script folder; the program folder when missing.
std::string GetBatchAddress(const clsIniControl& ini, const std::string& programFolder);
// Product code; "Cad2005" for a missing or unknown code (see CadProducts).
std::string GetAcadVer(const clsIniControl& ini);
std::string GetStartOption(const clsIniControl& ini);
std::string GetWindowState(const clsIniControl& ini);
std::string GetStartupSwitchOption(const clsIniControl& ini);
// Extra start switches; "" when missing.
std::string GetStartupSwitch_Text(const clsIniControl& ini);
// Sort switch ("ON"/"OFF"/"Unknown"); hands back the delimiter and field number.
std::string GetFieldDelimOption(const clsIniControl& ini, std::string& delimiter, std::string& fieldNumber);
// True only when "Setup" reads "YES" in any letter case.
bool IsStartupSet(const clsIniControl& ini);
std::string GetPc3Location(const clsIniControl& ini);
std::string GetStyleLocation(const clsIniControl& ini);

} // namespace qv
