#include "convert/readers/Qx7LogReader.h"

#include "convert/engine/LogTypes.h"
#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "core/BandModeTables.h"
#include "core/Prompter.h"
#include "core/Text.h"
#include "dbase/Table.h"
#include "store/LogTable.h"

#include <filesystem>
#include <optional>

namespace qx7 {

namespace {

struct ColumnMap
{
    int field;
    std::optional<int> column;
};

std::vector<ColumnMap> columnsOf(const dbase::Table& table, bool version7)
{
    std::vector<ColumnMap> columns;
    for (int field = 0; field < FieldCount; ++field) {
        const bool onlyVersion7 = field == FieldSubMode || field == FieldManager ||
                                  field == FieldDxcc || field == FieldCrossBand;
        if (onlyVersion7 && !version7)
            continue;
        const auto column = table.findField(kImportFields[static_cast<size_t>(field)].key);
        if (column)
            columns.push_back({field, column});
    }
    return columns;
}

void readRecord(const dbase::Table& table, const std::vector<ColumnMap>& columns,
                FieldNormalizer& normalizer)
{
    for (const ColumnMap& c : columns) {
        if (c.field == FieldMark) {
            if (table.boolean(*c.column))
                normalizer.setMark("Y");
            continue;
        }
        if (c.field == FieldMode) {
            // DIGITALVOICE is longer than the field and comes back as its first characters.
            const std::string stored = toUpperAscii(trimmed(table.text(*c.column)));
            if (const int mode = storedModeIndex(stored); mode != 0) {
                normalizer.NormalizeMode(modeName(mode));
                continue;
            }
        }
        normalizer.setField(c.field, table.text(*c.column), "yyyymmdd");
    }
}

} // namespace

bool Qx7LogReader::read(TQXLogSpec& spec, ReadContext& context) const
{
    try {
        // The log may be named by its descriptor, its table or its bare name.
        const std::filesystem::path base(spec.FileName);
        const auto descriptor = std::filesystem::path(base).replace_extension(".qx7");
        spec.CallSign = std::filesystem::exists(descriptor)
                            ? readLogDescriptor(descriptor.string()).stationCall
                            : std::string();
        dbase::Table table;
        table.open(std::filesystem::path(base).replace_extension(".dbf"),
                   {dbase::OpenMode::ReadOnly, {}});
        spec.LogSize = table.recordCount();
        if (context.logSizeOnly())
            return true;
        const auto columns = columnsOf(table, spec.LogType == LogType::Qx7);
        FieldNormalizer& normalizer = context.normalizer();
        for (table.first(); !table.eof() && !context.abortRequested(); table.next()) {
            readRecord(table, columns, normalizer);
            context.QsoComplete(spec);
        }
        return true;
    } catch (const dbase::Error&) {
        context.prompter().error("Error opening " + spec.FileName);
        return false;
    }
}

} // namespace qx7
