#include "core/Settings.h"

#include "core/IniFile.h"

#include <algorithm>

namespace qx7 {

namespace {

constexpr size_t kMaxFlagLength = 255;
// The print queue has 18 QSO slots and 9 footer fields per label; more cannot be stored.
constexpr int kMaxQsoLines = 18;
constexpr int kMaxFooterLines = 9;

} // namespace

const std::vector<SettingKey>& mainSettingKeys()
{
    using S = Settings;
    static const std::vector<SettingKey> keys = {
        {"System", "QXLogPath", &S::QXLogPath},
        {"System", "QXLayoutPath", &S::QXLayoutPath},
        {"System", "QXManagerPath", &S::QXManagerPath},
        {"System", "QXADIFExportPath", &S::QXADIFExportPath},
        {"System", "QXTmpPath", &S::QXTmpPath},
        {"System", "QXUserPath", &S::QXUserPath},
        {"System", "UseManagerDB", &S::UseManagerDB},
        {"System", "LastQXD", &S::LastQXD},
        {"System", "LastPQ", &S::LastPQ},
        {"System", "ClearSearchFields", &S::ClearSearchFields},
        {"System", "ConfirmF2", &S::ConfirmF2},
        {"System", "MDIDock", &S::MDIDock},
        {"System", "Maximize", &S::Maximize},
        {"System", "SlashedZero", &S::SlashedZero},
        {"System", "LogGridSetup", &S::LogGridSetup},
        {"System", "MergeLabels", &S::MergeLabels},
        {"System", "BDEDBaseLevel", &S::BDEDBaseLevel},
        {"System", "BDELangDriver", &S::BDELangDriver},
        {"System", "QSLsDate", &S::QSLsDate},
        {"System", "QSLrDate", &S::QSLrDate},
        {"Print", "LabelDateFormat", &S::LabelDateFormat},
        {"Print", "LabelTimeFormat", &S::LabelTimeFormat},
        {"Print", "LabelBandFormat", &S::LabelBandFormat},
        {"Print", "PseText", &S::PseText},
        {"Print", "TnxText", &S::TnxText},
        {"Print", "ManagerText", &S::ManagerText},
        {"Print", "PriRows", &S::PriRows},
        {"Print", "PriBoLN", &S::PriBoLN},
        {"Print", "QSLsFlag", &S::QSLsFlag},
        {"Print", "QSLrFlag", &S::QSLrFlag},
        {"Print", "FillDashes", &S::FillDashes},
        {"Sort", "SortTyp", &S::SortTyp},
        {"Sort", "CfmAgnQ", &S::CfmAgnQ},
        {"Sort", "CfmAllQ", &S::CfmAllQ},
        {"Sort", "CfmNewB", &S::CfmNewB},
        {"Sort", "CfmNewM", &S::CfmNewM},
        {"Sort", "CfmAllExceptY", &S::CfmAllExceptY},
        {"Sort", "PriFiFo", &S::PriFiFo},
        {"Sort", "IndexOnQXPQ", &S::IndexOnQXPQ},
        {"Sort", "PageConf", &S::PageConf},
        {"Sort", "AutoDeleteQXPQ", &S::AutoDeleteQXPQ},
    };
    return keys;
}

std::string settingText(const Settings& s, const SettingKey& key)
{
    return std::visit(
        [&](auto member) -> std::string {
            const auto& v = s.*member;
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::string>)
                return v;
            else if constexpr (std::is_same_v<T, bool>)
                return v ? "1" : "0";
            else
                return std::to_string(v);
        },
        key.member);
}

void Settings::setProgramFolderDefaults(const std::string& programFolder)
{
    LastPQ = programFolder + "qx7pq.dbf";
}

void Settings::readMainSections(const IniFile& ini)
{
    for (const auto& k : mainSettingKeys()) {
        std::visit(
            [&](auto member) {
                auto& v = this->*member;
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::string>)
                    v = ini.readString(k.section, k.key, v);
                else if constexpr (std::is_same_v<T, bool>)
                    v = ini.readBool(k.section, k.key, v);
                else
                    v = static_cast<int>(ini.readInteger(k.section, k.key, v));
            },
            k.member);
    }
    if (BDEDBaseLevel < 4 || BDEDBaseLevel > 7)
        BDEDBaseLevel = 4;
    PriRows = std::clamp(PriRows, 1, kMaxQsoLines);
    PriBoLN = std::clamp(PriBoLN, 0, kMaxFooterLines);
    if (QSLsFlag.size() > kMaxFlagLength)
        QSLsFlag.resize(kMaxFlagLength);
    if (QSLrFlag.size() > kMaxFlagLength)
        QSLrFlag.resize(kMaxFlagLength);
}

void Settings::readConvertSection(const IniFile& ini)
{
    AdifCommentTag = ini.readString("Convert", "AdifComment", AdifCommentTag);
    ImportDupes = ini.readBool("Convert", "ImportDupes", ImportDupes);
    DateDisplayFormat = ini.readString("LogGridOptions", "DateDisplayFormat", DateDisplayFormat);
}

void Settings::writeMainSections(IniFile& ini) const
{
    for (const auto& k : mainSettingKeys())
        ini.writeString(k.section, k.key, settingText(*this, k));
}

} // namespace qx7
