#pragma once

#include "Result.h"

class QLineEdit;

namespace qv {

class SettingsFile;
class UserDialogs;

// The two plot file locations ("PC3_Loc" and "Style_Loc") as the options dialog and the setup wizard
// show and keep them.

// Shows each stored location, "<Default>" when none is set.
void loadPlotLocations(const SettingsFile& ini, QLineEdit* plotterFolderEdit, QLineEdit* plotStyleFolderEdit);

// Writes each box whose trimmed text is neither "" nor "<Default>" (as typed); the other keys are left
// as they are. Stops at the first failed write and returns it.
Status savePlotLocations(const SettingsFile& ini, const QLineEdit* plotterFolderEdit,
                         const QLineEdit* plotStyleFolderEdit);

// Let the user pick a file in the folder to use; the box gets that folder, ending with its separator.
// True when a file was chosen (the caller then enables its Apply button); Cancel leaves the box as it is.
bool pickPlotterFolder(UserDialogs& dialogs, QLineEdit* plotterFolderEdit);
bool pickPlotStyleFolder(UserDialogs& dialogs, QLineEdit* plotStyleFolderEdit);

// How to find the two folders in the CAD program's own options.
void showPlotLocationsHelp(UserDialogs& dialogs);

} // namespace qv
