#include "convert/engine/ConversionMacro.h"

#include "core/IniFile.h"
#include "core/Text.h"

#include <algorithm>
#include <filesystem>

namespace qx7 {

namespace fs = std::filesystem;

namespace {

void writeSpec(IniFile& ini, const std::string& section, const TQXLogSpec& s)
{
    ini.writeString(section, "FileName", s.FileName);
    ini.writeInteger(section, "LogType", s.LogType);
    ini.writeString(section, "CallSign", s.CallSign);
    ini.writeInteger(section, "BandOrMHz", s.BandMode);
    ini.writeString(section, "DateFormat", s.DateFormat);
    ini.writeString(section, "Comment", s.Comment);
    ini.writeBool(section, "Analyzed", s.Checked != 0);
    ini.writeString(section, "SpecName", s.SpecName);
    ini.writeBool(section, "SpecChecked", s.HasSpec != 0);
    ini.writeInteger(section, "TextType", s.TextType);
    ini.writeInteger(section, "Delimiter", static_cast<unsigned char>(s.Delimiter));
    ini.writeInteger(section, "Qualifier", static_cast<unsigned char>(s.Qualifier));
    ini.writeInteger(section, "HeaderRows", s.HeaderRows);
    ini.writeInteger(section, "ExportMode", s.WriteMode);
    ini.writeBool(section, "Option1", s.NotSentOnly != 0);
    ini.writeBool(section, "Option2", s.RemoveExchange != 0);
    ini.writeBool(section, "Option3", s.ReplaceReports != 0);
    ini.writeString(section, "SelDateFrom", s.DateFrom);
    ini.writeString(section, "SelDateTo", s.DateTo);
}

char charKey(const IniFile& ini, const std::string& section, const char* key)
{
    const long long code = ini.readInteger(section, key, 0);
    return code > 0 && code < 256 ? static_cast<char>(code) : '\0';
}

TQXLogSpec readOutput(const IniFile& ini)
{
    const std::string s = "ExportLog";
    TQXLogSpec o;
    o.FileName = ini.readString(s, "FileName", "");
    o.LogType = static_cast<int>(ini.readInteger(s, "LogType", 0));
    o.CallSign = ini.readString(s, "CallSign", "");
    o.BandMode = static_cast<int>(ini.readInteger(s, "BandOrMHz", 0));
    o.DateFormat = ini.readString(s, "DateFormat", "");
    o.Comment = ini.readString(s, "Comment", "");
    o.Checked = ini.readBool(s, "Analyzed", true);
    o.SpecName = ini.readString(s, "SpecName", "");
    o.HasSpec = ini.readBool(s, "SpecChecked", true);
    o.TextType = static_cast<int>(ini.readInteger(s, "TextType", 0));
    o.Delimiter = charKey(ini, s, "Delimiter");
    o.Qualifier = charKey(ini, s, "Qualifier");
    o.HeaderRows = static_cast<int>(ini.readInteger(s, "HeaderRows", 0));
    o.NotSentOnly = ini.readBool(s, "Option1", false);
    o.RemoveExchange = ini.readBool(s, "Option2", false);
    o.ReplaceReports = ini.readBool(s, "Option3", false);
    o.DateFrom = ini.readString(s, "SelDateFrom", "");
    o.DateTo = ini.readString(s, "SelDateTo", "");
    o.WriteMode = 2;
    return o;
}

} // namespace

bool writeMacro(const std::string& path, const std::vector<TQXLogSpec>& inputs,
                const TQXLogSpec& output)
{
    IniFile ini;
    ini.writeInteger("Common", "NumberLogs", static_cast<long long>(inputs.size()));
    for (size_t i = 0; i < inputs.size(); ++i)
        writeSpec(ini, std::to_string(i), inputs[i]);
    writeSpec(ini, "ExportLog", output);
    return ini.saveAs(path);
}

ConversionMacro readMacro(const std::string& path)
{
    const IniFile ini(path);
    ConversionMacro macro;
    const long long count = ini.readInteger("Common", "NumberLogs", 0);
    for (long long i = 0; i < count; ++i) {
        const std::string section = std::to_string(i);
        TQXLogSpec spec;
        spec.FileName = ini.readString(section, "FileName", "");
        spec.LogType = static_cast<int>(ini.readInteger(section, "LogType", 0));
        macro.inputs.push_back(std::move(spec));
    }
    macro.output = readOutput(ini);
    return macro;
}

std::string macroPath(const std::string& userFolder, const std::string& name)
{
    std::string file = name;
    if (!equalsIgnoreCase(fs::path(file).extension().string(), ".qxm"))
        file += ".qxm";
    return (fs::path(userFolder) / file).string();
}

std::vector<std::string> listMacros(const std::string& userFolder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(userFolder, ec))
        if (equalsIgnoreCase(entry.path().extension().string(), ".qxm"))
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end(),
              [](const auto& a, const auto& b) { return toUpperAscii(a) < toUpperAscii(b); });
    return names;
}

std::vector<std::string> missingMacroInputs(const ConversionMacro& macro)
{
    std::vector<std::string> missing;
    for (const TQXLogSpec& input : macro.inputs)
        if (std::error_code ec; !fs::exists(input.FileName, ec))
            missing.push_back(input.FileName);
    return missing;
}

RunResult performMacro(ConversionRun& run, const std::string& path,
                       const ConversionRun::Protocol& protocol, std::vector<std::string>* skipped)
{
    const ConversionMacro macro = readMacro(path);
    RunResult refused;
    refused.missingLogs = missingMacroInputs(macro);
    if (macro.inputs.empty() || refused.missingLogs.size() == macro.inputs.size()) {
        refused.refused = true;
        return refused;
    }
    run.clear();
    for (const TQXLogSpec& input : macro.inputs)
        if (!run.addLog(input.FileName, input.LogType, macro.output.LogType) && skipped)
            skipped->push_back(input.FileName);
    return run.execute(macro.output, protocol, false);
}

} // namespace qx7
