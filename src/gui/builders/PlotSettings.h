#pragma once

#include "Result.h"

class QLineEdit;

namespace qv {

class clsIniControl;
class UserDialogs;

// The two plot file locations ("PC3_Loc" and "Style_Loc") as the options dialog and the setup wizard
// show and keep them.

// Shows each stored location, "<Default>" when none is set.
void LoadPlotLocations(const clsIniControl& ini, QLineEdit* txtPlotterLoc, QLineEdit* txtPlotStyleLoc);

// Writes each box whose trimmed text is neither "" nor "<Default>" (as typed); the other keys are left
// as they are. Stops at the first failed write and returns it.
Status SavePlotLocations(const clsIniControl& ini, const QLineEdit* txtPlotterLoc, const QLineEdit* txtPlotStyleLoc);

// Let the user pick a file in the folder to use; the box gets that folder, ending with its separator.
// True when a file was chosen (the caller then enables its Apply button); Cancel leaves the box as it is.
bool BrowsePc3Folder(UserDialogs& dialogs, QLineEdit* txtPlotterLoc);
bool BrowseStyleFolder(UserDialogs& dialogs, QLineEdit* txtPlotStyleLoc);

// How to find the two folders in the CAD program's own options.
void ShowPlotLocationsHelp(UserDialogs& dialogs);

} // namespace qv
