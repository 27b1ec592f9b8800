#pragma once

#include "Message.h"
#include "Result.h"
#include "config/SettingsFile.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv {

// The rules of the options dialog: what its controls show for the stored settings, and how its values
// are checked and written back.

// One version button of the options dialog (its indexes differ from those of the first-run wizard).
struct OptionsProduct
{
    int index;
    std::string_view caption;
    std::string_view code;
    std::string_view switchLabel; // shown in lblStartupSwitch; empty: the label is left unchanged
    bool userSelectable;          // the loader still selects a button the user cannot choose
};

// All nineteen buttons in index order.
std::span<const OptionsProduct> optionsProducts();
// The button of a stored code (compared in upper case); nullptr when none has it.
const OptionsProduct* findOptionsProduct(std::string_view code);

// Values the hidden state of the dialog holds for each button index, as stored in the settings file.
std::string startOptionFor(int index); // optStartEnd: "_Open", "_Recover"
std::string windowStateFor(int index); // optWindowStyle: "Normal", "Minimized", "Maximised"
std::string startSwitchFor(int index); // optStartSwitch: "NoSwitch", "YesSwitch"

// The button index the loader chooses for a stored value (anything unexpected chooses the first).
int startEndIndex(std::string_view stored);
int windowStyleIndex(std::string_view stored);
int startSwitchIndex(std::string_view stored);

// Fixed texts of the dialog.
namespace options_text {
std::string cadLabel();      // lblCad
std::string databaseLabel(); // lblDatabase
std::string explainField();  // lblExplainField
inline constexpr std::string_view kStartupSwitchExplain =
    "Add the extra Startup Switches below. It is important to try these out before adding them to Quorvel. If "
    "Quorvel fails to start AutoCAD properly then try again without the extra startup switches. You cannot use "
    "the /b switch.";
inline constexpr std::string_view kExecutableFilter = "Exe Files (*.exe)|*.exe|All Files (*.*)|*.*";
// Where programs carry no extension (every system but Windows) the executable is picked among the files that
// may be run; kExecutablePattern stands for them in a filter.
inline constexpr std::string_view kExecutablePattern = "<executable>";
inline constexpr std::string_view kProgramFilter = "Programs|<executable>|All Files (*)|*";
inline constexpr std::string_view kDatabaseFilter =
    "Routine Database File (Batch_CAD.dat)|Batch_CAD.dat|All Database File (*.dat)|*.dat|All Files (*.*)|*.*";
} // namespace options_text

// What the file system says about the CAD executable named in the options.
enum class ExecutableCheck
{
    Runnable,
    Missing,     // no such file (or nothing named at all)
    Folder,      // a folder, not a program
    NotRunnable, // a file this user may not run as a program
};

// The warning for an executable that cannot work; the settings are written all the same (the program may be
// on a drive that is not there now). Nothing for a runnable one.
std::optional<UserMessage> executableWarning(std::string_view path, ExecutableCheck check);

// The control that gets the focus after an input mistake.
enum class OptionsField
{
    None,
    StartupSwitch,
    FieldDelimiter,
    FieldNumber,
};

struct FieldCheckFailure
{
    UserMessage message;
    OptionsField focus;
};

// `checkFieldSort`: both entries given, a delimiter of one character, and a field number the sort can use
// (a whole number from 1). Nothing when the entries pass.
std::optional<FieldCheckFailure> checkFieldSort(std::string_view delimiter, std::string_view number);

// What the dialog holds when OK or Apply is pressed (the hidden state carries the stored texts).
struct OptionsValues
{
    std::string cadExecutable;  // txtAddress(0)
    std::string databasePath;   // txtAddress(1)
    std::string scriptFolder;   // txtAddress(2)
    std::string productCode;    // m_productCode
    std::string startOption;    // m_startCommand
    std::string windowState;    // m_windowState
    std::string startSwitch;    // m_startupSwitchOption
    std::string switchText;     // txtStartupSwitch
    bool sortOn = false;        // chkSortOption
    std::string fieldDelimiter; // txtFieldDelim
    std::string fieldNumber;    // txtFieldNum
};

struct UpdateOutcome
{
    bool saved = false;
    // The check that stopped the sequence, or the write that failed.
    std::optional<UserMessage> message;
    OptionsField focus = OptionsField::None;
    // Set once the product was written: whether it belongs to the 2004-or-later group.
    std::optional<bool> release2004OrLater;
};

// `UpdateQVSettings`: writes the keys in their fixed order (the addresses, the product, the start command
// and window, the plot locations through `savePlotLocations`, the start switches, the field sort). A check
// that fails stops the sequence; keys written before it stay written. A write that fails stops it as well
// and is reported, so a failure never passes for a save.
UpdateOutcome writeOptions(const SettingsFile& ini, const OptionsValues& values,
                           const std::function<Status()>& savePlotLocations);

} // namespace qv
