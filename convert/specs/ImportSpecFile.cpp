#include "convert/specs/ImportSpecFile.h"

#include "convert/normalize/FieldCodes.h"
#include "core/IniFile.h"
#include "core/Text.h"

#include <algorithm>
#include <filesystem>

namespace qx7 {

namespace fs = std::filesystem;

namespace {

std::string_view extensionOf(SpecKind kind)
{
    return kind == SpecKind::Dbase ? ".qxid" : ".qxia";
}

// The field key as stored, or `none` when the text names no field.
std::string knownKey(std::string_view text, std::string_view none)
{
    const int number = importFieldNumber(trimmed(text));
    return number < 0 ? std::string(none)
                      : std::string(kImportFields[static_cast<size_t>(number)].key);
}

void readTextFields(const IniFile& file, TQXLogSpec& spec)
{
    for (int column = 1;; ++column) {
        const std::string key = "Field" + std::to_string(column);
        if (!file.valueExists("Fields", key))
            break;
        const std::string value = file.readString("Fields", key, "");
        const size_t semicolon = value.find(';');
        const std::string field = knownKey(value.substr(0, semicolon), "nil");
        int width = 0;
        if (semicolon != std::string::npos)
            width = std::max(0, std::atoi(value.c_str() + semicolon + 1));
        spec.FieldMap.push_back(field + ";" + std::to_string(width));
    }
}

void readDbaseFields(const IniFile& file, TQXLogSpec& spec)
{
    for (const auto& [name, value] : file.sectionPairs("Fields"))
        spec.FieldMap.push_back(name + "=" + knownKey(value, ""));
}

char charOption(const IniFile& file, std::string_view key, int def)
{
    const long long code = file.readInteger("Options", key, def);
    return code > 0 && code < 256 ? static_cast<char>(code) : '\0';
}

} // namespace

std::string importSpecPath(const std::string& userFolder, const std::string& name, SpecKind kind)
{
    return (fs::path(userFolder) / (name + std::string(extensionOf(kind)))).string();
}

std::vector<std::string> listImportSpecs(const std::string& userFolder, SpecKind kind)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(userFolder, ec)) {
        const std::string ext = entry.path().extension().string();
        if (equalsIgnoreCase(ext, extensionOf(kind)))
            names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end(),
              [](const auto& a, const auto& b) { return toUpperAscii(a) < toUpperAscii(b); });
    return names;
}

void readImportSpec(const IniFile& file, SpecKind kind, TQXLogSpec& spec)
{
    spec.DateFormat = file.readString("Options", "DateFormat", spec.DateFormat);
    spec.BandMode = static_cast<int>(file.readInteger("Options", "BandOrMHz", spec.BandMode));
    if (spec.BandMode < -1 || spec.BandMode > 1)
        spec.BandMode = -1;
    spec.FieldMap.clear();
    if (kind == SpecKind::Dbase) {
        readDbaseFields(file, spec);
        return;
    }
    spec.TextType = file.readInteger("Options", "TextType", 0) == 1 ? 1 : 0;
    spec.Delimiter = charOption(file, "Delimiter", 59);
    spec.Qualifier = charOption(file, "Qualifier", 0);
    spec.HeaderRows = file.readInteger("Options", "HeaderRows", 0) == 1 ? 1 : 0;
    readTextFields(file, spec);
}

bool writeImportSpec(const std::string& path, SpecKind kind, const TQXLogSpec& spec)
{
    IniFile file(path);
    file.writeString("Options", "DateFormat", spec.DateFormat);
    file.writeInteger("Options", "BandOrMHz", spec.BandMode);
    if (kind == SpecKind::Text) {
        file.writeInteger("Options", "TextType", spec.TextType == 1 ? 1 : 0);
        file.writeInteger("Options", "Delimiter", static_cast<unsigned char>(spec.Delimiter));
        file.writeInteger("Options", "Qualifier", static_cast<unsigned char>(spec.Qualifier));
        file.writeInteger("Options", "HeaderRows", spec.HeaderRows == 1 ? 1 : 0);
    }
    file.eraseSection("Fields");
    int column = 0;
    for (const std::string& line : spec.FieldMap) {
        if (kind == SpecKind::Text) {
            file.writeString("Fields", "Field" + std::to_string(++column), line);
            continue;
        }
        const size_t eq = line.find('=');
        file.writeString("Fields", line.substr(0, eq),
                         eq == std::string::npos ? "" : line.substr(eq + 1));
    }
    return file.save();
}

bool LoadImportSpec(TQXLogSpec& spec, const std::string& userFolder)
{
    const std::string_view preset = builtInDbaseSpecName(spec.LogType);
    if (preset.empty())
        return false;
    spec.SpecName = preset;
    const std::string path = importSpecPath(userFolder, spec.SpecName, SpecKind::Dbase);
    if (!fs::exists(path))
        return false;
    const IniFile file(path);
    readImportSpec(file, SpecKind::Dbase, spec);
    spec.HasSpec = 1;
    return true;
}

void SaveImportPath(IniFile& ini, int logType, const std::string& folder,
                    const std::string& specName)
{
    ini.writeString("ImportPath", std::to_string(logType), folder);
    SaveImportSpec(ini, logType, specName);
}

void SaveImportSpec(IniFile& ini, int logType, const std::string& specName)
{
    if (!specName.empty())
        ini.writeString("ImportSpec", std::to_string(logType), specName);
}

ImportMemory LoadImportPath(const IniFile& ini, int logType, const std::string& logFolder,
                            const std::string& tmpFolder)
{
    if (logType == LogType::Qx7)
        return {logFolder, {}};
    const std::string key = std::to_string(logType);
    std::string defaultFolder = tmpFolder;
    if (defaultFolder.empty() || defaultFolder.back() != '/')
        defaultFolder += '/';
    return {ini.readString("ImportPath", key, defaultFolder),
            ini.readString("ImportSpec", key, "")};
}

} // namespace qx7
