#include "convert/writers/AppletWriter.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/specs/OutputSpecFile.h"
#include "convert/writers/ExportField.h"
#include "convert/writers/OutputFile.h"
#include "core/Text.h"

#include <array>
#include <filesystem>
#include <memory>

namespace qx7 {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFileChars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

std::string appletLine(const RecordView& r, const std::vector<std::string>& keys,
                       const TQXLogSpec& output, std::string_view dateFormat)
{
    std::string line;
    for (const std::string& key : keys) {
        // Band and mode keep their padding so that the columns line up.
        const bool padded = key == "BAND" || key == "MODE";
        if (output.Qualifier != 0)
            line += output.Qualifier;
        line += GetExportField(r, key, !padded, dateFormat);
        if (output.Qualifier != 0)
            line += output.Qualifier;
        line += ' ';
    }
    return trimRight(line);
}

} // namespace

std::string appletFolder(const std::string& folder, const std::string& ownCall)
{
    std::string name = trimmed(ownCall);
    for (char& c : name)
        if (c == '/' || c == '\\')
            c = '_';
    return (fs::path(folder) / name).string();
}

bool WriteApplet(TQXLogSpec& output, WriteContext& context)
{
    std::error_code ec;
    const std::string folder = appletFolder(output.FileName, output.CallSign);
    if (trimmed(output.CallSign).empty() || (fs::create_directories(folder, ec), ec))
        return false;
    // The contents are collected first: all 36 files are replaced together or not at all.
    std::array<std::string, kFileChars.size()> contents;
    const std::vector<std::string> keys = exportFieldKeys(output);
    const std::string dateFormat = output.DateFormat.empty() ? "yyyymmdd" : output.DateFormat;
    const std::vector<std::string_view> records = context.bufferRecords();
    for (size_t i = 0; i < records.size(); ++i) {
        const RecordView r(records[i], context.layout());
        const size_t file =
            r.call().empty() ? std::string_view::npos : kFileChars.find(r.call()[0]);
        if (file == std::string_view::npos)
            continue; // no file takes a call that begins with another character
        contents[file] += appletLine(r, keys, output, dateFormat) + "\r\n";
        context.WriteProgress(output, i);
    }
    std::vector<std::unique_ptr<OutputFile>> files;
    for (size_t k = 0; k < kFileChars.size(); ++k) {
        auto file = std::make_unique<OutputFile>();
        const std::string name = std::string(1, kFileChars[k]) + ".TXT";
        if (!file->open((fs::path(folder) / name).string()))
            return false;
        file->write(contents[k]);
        if (!file->good())
            return false;
        files.push_back(std::move(file));
    }
    bool ok = true;
    for (auto& file : files)
        ok = file->commit() && ok;
    return ok;
}

} // namespace qx7
