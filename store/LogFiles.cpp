#include "store/LogFiles.h"

#include "dbase/Table.h"
#include "store/LogTable.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace qx7 {

namespace {

int daysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

unsigned le16(const std::array<unsigned char, 32>& b, size_t at)
{
    return b[at] | (unsigned{b[at + 1]} << 8);
}

// The table's header facts for the row: count, date, or why they are missing.
void readTableHeader(const fs::path& table, LogFileRow& row)
{
    std::error_code ec;
    if (!fs::exists(table, ec)) {
        row.lastChanged = kTableMissing;
        return;
    }
    if (dbase::Table::isWrittenElsewhere(table)) {
        // The count is still shown: a user deciding which log to open wants it, and the
        // header is readable while another program writes the records.
        row.inUse = true;
        row.lastChanged = kLogInUse;
    }
    std::ifstream in(table, std::ios::binary);
    if (!in) {
        row.inUse = true;
        row.lastChanged = kLogInUse;
        return;
    }
    std::array<unsigned char, 32> b{};
    in.read(reinterpret_cast<char*>(b.data()), static_cast<std::streamsize>(b.size()));
    if (in.gcount() < static_cast<std::streamsize>(b.size())) {
        row.qsos = "?";
        if (!row.inUse)
            row.lastChanged = kTableDamaged;
        return;
    }
    const std::uint32_t count = b[4] | (std::uint32_t{b[5]} << 8) | (std::uint32_t{b[6]} << 16) |
                                (std::uint32_t{b[7]} << 24);
    const unsigned headerLength = le16(b, 8);
    const unsigned recordLength = le16(b, 10);
    const auto size = fs::file_size(table, ec);
    row.count = count;
    row.qsos = std::to_string(count);
    if (row.inUse)
        return;
    // A header that promises more records than the file holds was cut short (a disk
    // full, a copy broken off): opening it would fail, so the list says so at once.
    if (ec || headerLength < 33 || recordLength == 0 ||
        size < headerLength + std::uintmax_t{count} * recordLength) {
        row.lastChanged = kTableDamaged;
        return;
    }
    row.lastChanged = dbaseHeaderDate(b[1], b[2], b[3]);
}

} // namespace

int dbaseHeaderYear(int yearByte)
{
    if (yearByte <= 50)
        return 2000 + yearByte;
    if (yearByte <= 150)
        return 1900 + yearByte;
    return yearByte;
}

std::string dbaseHeaderDate(int yearByte, int month, int day)
{
    const int year = dbaseHeaderYear(yearByte);
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return {};
    char text[40];
    std::snprintf(text, sizeof text, "%04d.%02d.%02d", year, month, day);
    return text;
}

LogFileRow readLogFileRow(const std::string& descriptorFile)
{
    const fs::path descriptor(descriptorFile);
    LogFileRow row;
    const std::string file = descriptor.filename().string();
    row.name = file.substr(0, file.find('.'));
    try {
        row.call = readLogDescriptor(descriptorFile).stationCall;
    } catch (const dbase::Error&) {
        row.call = kDamagedDescriptor;
    }
    readTableHeader(descriptor.parent_path() / (row.name + ".dbf"), row);
    return row;
}

std::vector<LogFileRow> readLogFolder(const std::string& logFolder)
{
    std::vector<LogFileRow> rows;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(logFolder, ec))
        if (e.path().extension() == ".qx7" && e.is_regular_file(ec))
            rows.push_back(readLogFileRow(e.path().string()));
    return rows;
}

bool deleteLogFiles(const std::string& logFolder, const std::string& name, std::string* why)
{
    // The name as the list shows it: a file "DL1ABC.qx7" is not "dl1abc.qx7".
    const fs::path base = fs::path(logFolder) / name;
    const LogPaths p{base.string() + ".dbf", base.string() + ".mdx", base.string() + ".qx7"};
    try {
        dbase::Table::remove(p.table); // refuses a table that is open anywhere
    } catch (const dbase::Error& e) {
        if (e.kind() != dbase::Error::Kind::NotFound) {
            if (why)
                *why = e.kind() == dbase::Error::Kind::InUse ? kLogInUse : e.cause();
            return false;
        }
    }
    std::error_code ec;
    fs::remove(p.index, ec);
    fs::remove(p.descriptor, ec);
    if (ec) {
        if (why)
            *why = ec.message();
        return false;
    }
    return true;
}

} // namespace qx7
