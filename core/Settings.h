#pragma once
// The settings kept in "qx7.ini": one member per key, named after the key, with its
// default. The data module reads them once at start; dialogs and the main window write
// back the keys they own.

#include <string>
#include <variant>
#include <vector>

namespace qx7 {

class IniFile;

struct Settings
{
    // [System]
    std::string QXLogPath; // empty until start-up fills in the default subfolder
    std::string QXLayoutPath;
    std::string QXManagerPath;
    std::string QXADIFExportPath;
    std::string QXTmpPath;
    std::string QXUserPath;
    bool UseManagerDB = true;
    std::string LastQXD = "sample.qxd";
    std::string LastPQ; // program folder + "qx7pq.dbf"
    bool ClearSearchFields = false;
    bool ConfirmF2 = true;
    int MDIDock = 0;
    bool Maximize = false;
    int SlashedZero = 216;
    int LogGridSetup = 0;
    bool MergeLabels = true;
    int BDEDBaseLevel = 4;
    std::string BDELangDriver = "DBWINUS0";
    bool QSLsDate = true;
    bool QSLrDate = true;

    // [Print]
    std::string LabelDateFormat = "yyyy-mm-dd";
    int LabelTimeFormat = 0;
    int LabelBandFormat = 0;
    std::string PseText = "PSE";
    std::string TnxText = "TNX";
    std::string ManagerText = "via: ";
    int PriRows = 6;
    int PriBoLN = 2;
    std::string QSLsFlag = "Y";
    std::string QSLrFlag = "N";
    bool FillDashes = false;

    // [Sort]
    int SortTyp = 3;
    bool CfmAgnQ = false;
    bool CfmAllQ = false;
    bool CfmNewB = false;
    bool CfmNewM = false;
    bool CfmAllExceptY = false;
    bool PriFiFo = false;
    int IndexOnQXPQ = 0;
    int PageConf = 1;
    bool AutoDeleteQXPQ = false;

    // [Convert]
    std::string AdifCommentTag = "<COMMENT>"; // key "AdifComment"
    bool ImportDupes = false;

    // [LogGridOptions]
    std::string DateDisplayFormat = "yyyymmdd";

    // Defaults that depend on where the program folder is.
    void setProgramFolderDefaults(const std::string& programFolder);
    // Reads [System], [Print] and [Sort] in table order, each with the current value as
    // default, then clamps what must be clamped.
    void readMainSections(const IniFile& ini);
    void readConvertSection(const IniFile& ini);
    void writeMainSections(IniFile& ini) const;

    // The first character of "QSLsFlag" / "QSLrFlag" (the rest is kept but unused).
    char qslSentFlag() const { return QSLsFlag.empty() ? '\0' : QSLsFlag.front(); }
    char qslRcvdFlag() const { return QSLrFlag.empty() ? '\0' : QSLrFlag.front(); }
};

// One key of [System], [Print] or [Sort] and the member that holds it.
struct SettingKey
{
    const char* section;
    const char* key;
    std::variant<std::string Settings::*, int Settings::*, bool Settings::*> member;
};
const std::vector<SettingKey>& mainSettingKeys();

// The value of a setting as written in the ini ("1"/"0" for booleans).
std::string settingText(const Settings& s, const SettingKey& key);

} // namespace qx7
