#pragma once
// Reading a generated log through the engine, and the generators that build logs from
// their layouts: text lines column by column, binary records field by field.

#include "ConvertFixture.h"

#include "convert/engine/LogTypes.h"
#include "convert/normalize/FieldCodes.h"
#include "convert/writers/ExportField.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace qx7::test {

// One text line built by placing texts at columns counted from 1.
class ColumnLine
{
public:
    ColumnLine& at(size_t column, std::string_view text)
    {
        const size_t start = column - 1;
        if (m_text.size() < start + text.size())
            m_text.resize(start + text.size(), ' ');
        m_text.replace(start, text.size(), text);
        return *this;
    }
    std::string str() const { return m_text; }

private:
    std::string m_text;
};

// One binary record of fixed size built field by field, little-endian.
class RecordBytes
{
public:
    explicit RecordBytes(size_t size) : m_bytes(size, '\0') {}
    RecordBytes& u8(size_t offset, unsigned value)
    {
        m_bytes.at(offset) = static_cast<char>(value & 0xFF);
        return *this;
    }
    RecordBytes& u16(size_t offset, unsigned value)
    {
        return u8(offset, value).u8(offset + 1, value >> 8);
    }
    RecordBytes& u32(size_t offset, uint32_t value)
    {
        return u16(offset, value & 0xFFFF).u16(offset + 2, value >> 16);
    }
    // A length byte and the characters.
    RecordBytes& pascal(size_t offset, std::string_view text)
    {
        u8(offset, static_cast<unsigned>(text.size()));
        return raw(offset + 1, text);
    }
    RecordBytes& raw(size_t offset, std::string_view text)
    {
        for (size_t i = 0; i < text.size(); ++i)
            m_bytes.at(offset + i) = text[i];
        return *this;
    }
    const std::string& str() const { return m_bytes; }

private:
    std::string m_bytes;
};

// The fields of a stored QSO, trimmed, dates as "yyyymmdd".
using Qso = std::map<std::string, std::string>;

class ReaderFixture : public ConvertFixture
{
protected:
    struct Result
    {
        bool ok = false;
        TQXLogSpec spec;
        std::vector<Qso> qsos; // in date and time order
    };

    // Adds the log as the wizard does (analysis for its size), then reads it into an
    // ADIF-ordered buffer. `prepare` may set a specification before both.
    Result read(int type, const std::string& path,
                const std::function<void(TQXLogSpec&)>& prepare = {})
    {
        Result result;
        result.spec = makeLogSpec(path, type);
        if (prepare)
            prepare(result.spec);
        engine->StartConversion(LogType::Adif);
        engine->setLogSizeOnly(true);
        const bool sized = engine->ReadLog(result.spec);
        engine->setLogSizeOnly(false);
        const long long size = result.spec.LogSize;
        engine->StartConversion(LogType::Adif);
        engine->ClearImportBuffer();
        engine->beginInputLog();
        result.ok = engine->ReadLog(result.spec) && sized;
        EXPECT_EQ(result.spec.LogSize, size) << "size differs between analysis and reading";
        for (std::string_view text : engine->bufferRecords()) {
            const RecordView r(text, engine->layout());
            Qso qso;
            for (const auto& field : kImportFields) {
                const std::string value = GetExportField(r, field.key, true, "yyyymmdd");
                if (!value.empty() &&
                    !(value == "N" &&
                      (field.key == "QSLS" || field.key == "QSLR" || field.key == "MARK")))
                    qso[std::string(field.key)] = value;
            }
            result.qsos.push_back(std::move(qso));
        }
        return result;
    }

    // The problem rows of the error log (after its four head lines).
    std::vector<std::string> errorRows() const
    {
        const auto& lines = engine->errorLog().lines();
        return lines.size() > 4 ? std::vector<std::string>(lines.begin() + 4, lines.end())
                                : std::vector<std::string>();
    }
};

// Shows a QSO as one line so that a failing comparison names every field.
inline std::string show(const Qso& qso)
{
    std::string text;
    for (const auto& [key, value] : qso)
        text += key + "=" + value + " ";
    return text;
}

inline void expectQsos(const std::vector<Qso>& actual, const std::vector<Qso>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(show(actual[i]), show(expected[i])) << "QSO " << i;
}

} // namespace qx7::test
