#include "convert/specs/OutputSpecFile.h"

#include "convert/normalize/FieldCodes.h"
#include "core/IniFile.h"
#include "core/Text.h"

#include <filesystem>

namespace qx7 {

std::string outputSpecFileName(int logType)
{
    switch (logType) {
    case 19:
        return "ascii1.qxeo";
    case 20:
        return "ascii2.qxeo";
    case 40:
        return "qe2qe.qxeo";
    case 46:
        return "xml.qxeo";
    case 27:
        return "cabrillo.qxeo";
    case 45:
        return "adif.qxeo";
    default:
        return {};
    }
}

bool usesOutputSpec(int logType)
{
    return logType == 19 || logType == 20 || logType == 40 || logType == 46;
}

std::vector<std::pair<std::string, bool>> defaultExportFields()
{
    std::vector<std::pair<std::string, bool>> fields;
    for (int field = 0; field < FieldMark; ++field)
        fields.emplace_back(std::string(kImportFields[static_cast<size_t>(field)].key), true);
    return fields;
}

OutputSpecOptions readOutputSpec(const std::string& path)
{
    const IniFile ini(path);
    OutputSpecOptions o;
    o.dateFormat = ini.readString("Options", "DateFormat", o.dateFormat);
    if (o.dateFormat.empty())
        o.dateFormat = "yyyymmdd";
    o.bandOrMHz = ini.readInteger("Options", "BandOrMHz", 0) == 1 ? 1 : 0;
    o.textType = ini.readInteger("Options", "TextType", 0) == 1 ? 1 : 0;
    const long long delimiter = ini.readInteger("Options", "Delimiter", 59);
    o.delimiter = delimiter >= 0 && delimiter < 256 ? static_cast<int>(delimiter) : 59;
    const long long qualifier = ini.readInteger("Options", "Qualifier", 0);
    o.qualifier = qualifier >= 0 && qualifier < 256 ? static_cast<int>(qualifier) : 0;
    o.headerRows = ini.readInteger("Options", "HeaderRows", 0) == 1 ? 1 : 0;
    for (const auto& [key, value] : ini.sectionPairs("Fields")) {
        const int number = importFieldNumber(trimmed(key));
        if (number < 0)
            continue;
        o.fields.emplace_back(std::string(kImportFields[static_cast<size_t>(number)].key),
                              trimmed(value) == "1");
    }
    if (o.fields.empty())
        o.fields = defaultExportFields();
    return o;
}

bool writeOutputSpec(const std::string& path, const OutputSpecOptions& o)
{
    IniFile ini(path);
    ini.writeString("Options", "DateFormat", o.dateFormat);
    ini.writeInteger("Options", "BandOrMHz", o.bandOrMHz);
    ini.writeInteger("Options", "TextType", o.textType);
    ini.writeInteger("Options", "Delimiter", o.delimiter);
    ini.writeInteger("Options", "Qualifier", o.qualifier);
    ini.writeInteger("Options", "HeaderRows", o.headerRows);
    ini.eraseSection("Fields");
    for (const auto& [key, on] : o.fields)
        ini.writeString("Fields", key, on ? "1" : "0");
    return ini.save();
}

void applyOutputSpec(const OutputSpecOptions& o, TQXLogSpec& output)
{
    output.DateFormat = o.dateFormat;
    output.BandMode = o.bandOrMHz;
    output.TextType = o.textType;
    output.Delimiter = static_cast<char>(o.delimiter);
    output.Qualifier = static_cast<char>(o.qualifier);
    output.HeaderRows = o.headerRows;
    output.FieldMap.clear();
    for (const auto& [key, on] : o.fields)
        if (on)
            output.FieldMap.push_back(key);
}

void prepareOutputSpec(const std::string& userFolder, TQXLogSpec& output)
{
    if (!usesOutputSpec(output.LogType))
        return;
    const std::string path =
        (std::filesystem::path(userFolder) / outputSpecFileName(output.LogType)).string();
    const OutputSpecOptions options = readOutputSpec(path);
    writeOutputSpec(path, options);
    applyOutputSpec(options, output);
}

std::vector<std::string> exportFieldKeys(const TQXLogSpec& output)
{
    std::vector<std::string> keys;
    for (const std::string& entry : output.FieldMap) {
        const std::string key = trimmed(entry.substr(0, entry.find_first_of(";=")));
        if (importFieldNumber(key) >= 0)
            keys.push_back(toUpperAscii(key));
    }
    if (output.FieldMap.empty())
        for (const auto& [key, on] : defaultExportFields())
            keys.push_back(key);
    return keys;
}

} // namespace qx7
