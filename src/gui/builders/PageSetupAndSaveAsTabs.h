#pragma once

namespace qv {

class RoutineEditor;

// Puts the "Plot - Page Setup", "Save As Drawing/DXF" and "Import Page Setup" builders into the editor:
// each prepares itself the first time its tab is shown in an opening of the editor, hands its text to
// the editor's save dialog, and leaves the editor as "<< Back to Main" does.
void addPageSetupAndSaveAsTabs(RoutineEditor& editor);

} // namespace qv
