#pragma once

#include "Message.h"
#include "config/SettingsFile.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// One reader per key of the settings file. Each reads the file afresh and applies the key's
// rule for a missing value ("Unknown" unless noted).

// Settings folder: the folder named by the redirect file in the program folder, else the program
// folder.
std::string locateSettingsFolder(const std::string& programFolder);

// Settings folder with the fallback for installs whose program folder is read-only: the redirect
// file wins; else the program folder when it is writable; else the per-user folder.
std::string resolveSettingsFolder(const std::string& programFolder, bool programFolderWritable,
                                  const std::string& userFolder);

std::string readCadExecutable(const SettingsFile& ini);
std::string readDatabasePath(const SettingsFile& ini);
// Script folder; the program folder when missing.
std::string readScriptFolder(const SettingsFile& ini, const std::string& programFolder);
// Product code; "Cad2005" for a missing or unknown code (see CadProducts).
std::string readProductCode(const SettingsFile& ini);
std::string readOpenCommand(const SettingsFile& ini);
std::string readHostWindowState(const SettingsFile& ini);
std::string readStartupSwitchOption(const SettingsFile& ini);
// Extra start switches; "" when missing.
std::string readStartupSwitchText(const SettingsFile& ini);
// The field number as typed in the settings: a whole number of at least 1, spaces around it allowed.
// Anything else ("Unknown", "", "2a", "0") selects no field.
std::optional<int> parseFieldNumber(std::string_view text);

// Sort switch ("ON"/"OFF"/"Unknown"); hands back the delimiter and field number.
std::string readFieldSortOption(const SettingsFile& ini, std::string& delimiter, std::string& fieldNumber);
// True only when "Setup" reads "YES" in any letter case.
bool readSetupDone(const SettingsFile& ini);
std::string readPlotterConfigFolder(const SettingsFile& ini);
std::string readPlotStyleFolder(const SettingsFile& ini);
// Whether to ask before every drawing gets a routine that replaces others: yes unless "AssignToAll" reads "NO".
bool readAskBeforeAssigningToAll(const SettingsFile& ini);

// The settings file is there but cannot be read (no permission, a folder of that name, a read error).
// Every reader would take it for missing and hand out defaults, so a run would go on with settings the
// user never chose: this is the message to stop with, naming the file. Nothing when it reads, or when there
// is no file (a first start).
std::optional<UserMessage> unreadableSettingsMessage(const SettingsFile& ini);

} // namespace qv
