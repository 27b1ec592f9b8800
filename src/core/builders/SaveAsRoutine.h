#pragma once

#include "Message.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Routines that write each drawing again: as a drawing of a chosen release ("_saveas") or as a DXF
// file ("_dxfout"), beside the drawing or, through AutoLISP, into another folder.

inline constexpr std::string_view kDefaultFolder = "<Default>";
inline constexpr std::string_view kDefaultDxfAccuracy = "6";
inline constexpr std::string_view kFullDxfAccuracy = "16";
inline constexpr int kMaxDxfAccuracy = 16;

enum class SaveAsType
{
    Drawing = 0, // OptSaveAsType index 0
    Dxf = 1,     // OptSaveAsType index 1
};

// What the Save As tab shows for a product and a type: the releases offered and the controls' state.
struct SaveAsReleases
{
    std::string_view frameCaption;            // fraSaveAs
    std::vector<std::string_view> items;      // cboSaveType, in order
    std::string_view shown;                   // the text shown first (not always one of the items)
    bool usable = true;                       // false: no routine can be made (release 13)
    bool folderEnabled = true;                // txtSaveAs_Folder, cmbSaveAsBrowse and their label
    bool lispNoteShown = false;               // LblLispExplain16
    bool dxfControlsShown = false;            // accuracy, format and preview controls
    bool previewShown = false;                // chkSaveAsPreview
    std::optional<std::string_view> accuracy; // the accuracy to show; nothing keeps the one shown
};

SaveAsReleases fillDrawingReleases(std::string_view productCode);
SaveAsReleases fillDxfReleases(std::string_view productCode);

// The file-format answer for a list entry ("2018" ... "2000", "_r14", "_r13", "_r12" for a drawing;
// "_R14" ... for DXF); nothing for a text that names no release.
std::optional<std::string> drawingFormatAnswer(std::string_view entry);
std::optional<std::string> dxfVersionAnswer(std::string_view entry);

// Whether the entry names the product's own release (the drawing is then saved without a replace question).
bool isOwnRelease(std::string_view entry, std::string_view productCode);

// The target folder in AutoLISP string form: trimmed, ending with one separator, every backslash a
// forward slash; nothing when no folder is given ("<Default>" or blank).
std::optional<std::string> lispFolder(std::string_view folderText);

// The tab's choices as read from its controls.
struct SaveAsChoices
{
    std::string release;                                     // the text cboSaveType shows
    std::string folder = std::string(kDefaultFolder);        // txtSaveAs_Folder
    bool binary = false;                                     // OptSaveAsFormat index 1
    std::string accuracy = std::string(kDefaultDxfAccuracy); // cboDxfAccuracy
    bool preview = false;                                    // chkSaveAsPreview
};

enum class SaveAsField
{
    None,
    Release,  // cboSaveType
    Folder,   // txtSaveAs_Folder
    Accuracy, // cboDxfAccuracy
};

// The routine text and a message to show before the save dialog; or a refusal (message and the control
// to focus) and no text.
struct SaveAsRoutineResult
{
    std::string text;
    std::optional<UserMessage> notice; // shown, then the routine is saved all the same
    std::optional<UserMessage> refusal;
    SaveAsField focus = SaveAsField::None;

    bool ok() const { return !refusal.has_value(); }
};

SaveAsRoutineResult buildSaveAsRoutine(const SaveAsChoices& choices, std::string_view productCode);
SaveAsRoutineResult buildDxfRoutine(const SaveAsChoices& choices, std::string_view productCode);

} // namespace qv
