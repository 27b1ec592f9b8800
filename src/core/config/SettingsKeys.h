#pragma once

// Sections and keys of the settings file. Names are matched without regard to letter case.
namespace qv::keys {

inline constexpr const char* kRedirectFile = "QV_Locate.ini";
inline constexpr const char* kRedirectSection = "QV_Address";
inline constexpr const char* kRedirectKey = "QVAddress";

inline constexpr const char* kAcadSection = "Acad_Address";
inline constexpr const char* kAcadKey = "AcadAddress";
inline constexpr const char* kDatabaseSection = "db_Address";
inline constexpr const char* kDatabaseKey = "dbAddress";
inline constexpr const char* kBatchSection = "Batch_Address";
inline constexpr const char* kBatchKey = "BatchAddress";
// The spelling the script folder has always been written with (a new entry keeps it).
inline constexpr const char* kBatchWriteSection = "batch_Address";
inline constexpr const char* kBatchWriteKey = "batchAddress";
inline constexpr const char* kCadVerSection = "Cad_Ver";
inline constexpr const char* kCadVerKey = "CadVer";
inline constexpr const char* kStartEndSection = "Acad_StartEnd";
inline constexpr const char* kStartKey = "AcadStart";
inline constexpr const char* kWindowKey = "AcadWindow";
inline constexpr const char* kSwitchSection = "StartSwitch";
inline constexpr const char* kStartOptionKey = "StartOption";
inline constexpr const char* kSwitchKey = "Switch";
inline constexpr const char* kFieldSection = "FieldOption";
inline constexpr const char* kSortKey = "SortOnOff";
inline constexpr const char* kDelimKey = "FieldDelim";
inline constexpr const char* kFieldNumKey = "FieldNum";
inline constexpr const char* kStartupSection = "Startup_Set";
inline constexpr const char* kSetupKey = "Setup";
inline constexpr const char* kPlotWizardSection = "PlotWizard_Set";
inline constexpr const char* kPc3Key = "PC3_Loc";
inline constexpr const char* kStyleKey = "Style_Loc";
// Questions the user chose not to be asked again ("NO" there: not asked).
inline constexpr const char* kAskSection = "Ask_Set";
inline constexpr const char* kAskAssignToAllKey = "AssignToAll";

} // namespace qv::keys
