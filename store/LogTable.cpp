#include "store/LogTable.h"

#include "core/Text.h"
#include "store/LogSchema.h"
#include "store/TableHelpers.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace qx7 {

namespace fs = std::filesystem;

namespace {

// KEY1 is not required: an empty footer line is a line the operator wants on the label.
constexpr int kDescriptorTextWidth = 254;

std::string threeDigits(size_t n)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "%03zu", n);
    return buf;
}

} // namespace

const char* logIndexName(int indexNumber)
{
    return indexNumber >= 0 && indexNumber <= 2 ? kLogIndexNames[indexNumber] : kLogIndexNames[0];
}

std::string logBaseName(std::string_view name)
{
    const size_t slash = name.find_last_of("/\\");
    std::string_view file = slash == std::string_view::npos ? name : name.substr(slash + 1);
    file = file.substr(0, file.find('.'));
    std::string lower(file);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return lower;
}

LogPaths logPaths(const std::string& logFolder, std::string_view name)
{
    const std::string base = (fs::path(logFolder) / logBaseName(name)).string();
    return {base + ".dbf", base + ".mdx", base + ".qx7"};
}

std::vector<dbase::FieldDef> logTableFields()
{
    std::vector<dbase::FieldDef> fields;
    for (const auto& f : kLogFields)
        fields.push_back({std::string(f.name), f.type, f.width, 0, f.required});
    return fields;
}

std::vector<dbase::IndexDef> logTableIndexes()
{
    return {{"CALL", "CALL"}, {"DATETIME", "DATE+TIME"}};
}

dbase::IndexDef qmgrIndex()
{
    return {"QMGR", "QMGR"};
}

bool CreateLogTable(const std::string& logFolder, std::string_view name, int level)
{
    const LogPaths p = logPaths(logFolder, name);
    try {
        dbase::CreateOptions options;
        options.level = tableLevel(level);
        options.indexes = logTableIndexes();
        options.overwrite = true;
        std::error_code ec;
        fs::remove(p.index, ec); // a stale index of an older log must not survive
        dbase::Table::create(p.table, logTableFields(), options);
        return true;
    } catch (const dbase::Error&) {
        return false;
    }
}

bool CreateLogDescriptor(const std::string& tablePath, int level)
{
    try {
        dbase::CreateOptions options;
        options.level = tableLevel(level);
        options.overwrite = true;
        dbase::Table::create(
            fs::path(tablePath).replace_extension(".qx7"),
            {{"KEY0", 'C', 3, 0, true}, {"KEY1", 'C', kDescriptorTextWidth, 0, false}}, options);
        return true;
    } catch (const dbase::Error&) {
        return false;
    }
}

LogDescriptor readLogDescriptor(const std::string& descriptorPath)
{
    dbase::Table t;
    t.open(descriptorPath, {dbase::OpenMode::ReadOnly, {}});
    LogDescriptor d;
    bool first = true;
    for (t.first(); !t.eof(); t.next()) {
        if (first)
            d.stationCall = trimRight(t.text("KEY1"));
        else
            d.footerLines.push_back(t.text("KEY1"));
        first = false;
    }
    return d;
}

void writeLogDescriptor(const std::string& descriptorPath, const LogDescriptor& descriptor)
{
    int level = 4;
    {
        // Refuses a descriptor some other open holds, as rewriting it in place did.
        dbase::Table current;
        current.open(descriptorPath, {dbase::OpenMode::Exclusive, {}});
        level = current.level() == 7 ? 7 : 4;
    }
    // Written whole beside the old one and renamed over it: a crash in between leaves
    // the old call and footer lines, never a descriptor emptied half way.
    const fs::path temp = fs::path(descriptorPath).concat(".new");
    dbase::CreateOptions options;
    options.level = tableLevel(level);
    options.overwrite = true;
    dbase::Table::create(
        temp, {{"KEY0", 'C', 3, 0, true}, {"KEY1", 'C', kDescriptorTextWidth, 0, false}}, options);
    try {
        dbase::Table t;
        t.open(temp, {dbase::OpenMode::Exclusive, {}});
        auto add = [&](size_t key, const std::string& text) {
            t.append();
            t.setText("KEY0", threeDigits(key));
            t.setText("KEY1", text);
            t.post();
        };
        add(0, descriptor.stationCall);
        for (size_t i = 0; i < descriptor.footerLines.size(); ++i)
            add(i + 1, descriptor.footerLines[i]);
        t.close();
        std::error_code ec;
        fs::rename(temp, descriptorPath, ec);
        if (ec)
            throw dbase::Error(dbase::Error::Kind::Io, fs::path(descriptorPath).stem().string(),
                               "write", ec.message());
    } catch (...) {
        std::error_code ec;
        fs::remove(temp, ec);
        throw;
    }
}

void openLog(dbase::Table& table, const std::string& tablePath, int indexNumber,
             dbase::OpenMode mode)
{
    dbase::OpenOptions options;
    options.mode = mode;
    options.indexes = logTableIndexes();
    table.open(tablePath, options);
    const char* tag = logIndexName(indexNumber);
    if (indexNumber == 2) {
        const auto tags = table.indexes();
        const bool hasQmgr = std::any_of(
            tags.begin(), tags.end(), [](const dbase::IndexInfo& i) { return i.name == "QMGR"; });
        if (!hasQmgr && !table.isReadOnly())
            table.addIndex(qmgrIndex());
    }
    table.setIndex(tag);
}

void ensureQmgrIndex(dbase::Table& table)
{
    for (const auto& i : table.indexes())
        if (i.name == "QMGR")
            return;
    table.addIndex(qmgrIndex());
}

std::vector<std::string> listLogs(const std::string& logFolder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(logFolder, ec))
        if (e.path().extension() == ".qx7")
            names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace qx7
