// libFuzzer entry point for the ADIF reader: any bytes as an ADIF file, read through
// the normalizer and the per-QSO checks into the buffer, then every accepted record
// written back as an ADIF line. Nothing may crash, hang or read out of bounds.

#include "convert/engine/ConversionEngine.h"
#include "convert/engine/LogTypes.h"
#include "convert/readers/AdifReader.h"
#include "convert/readers/LineLoader.h"
#include "convert/writers/AdifWriter.h"
#include "core/Progress.h"
#include "core/Prompter.h"
#include "core/Settings.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static qx7::Settings settings;
    static qx7::NullProgress progress;
    static qx7::SilentPrompter prompter;
    // The first byte picks the comment tag and the layout, so both paths get fuzzed.
    static const char* const tags[] = {"<COMMENT>", "<NAME>", "<SAT_MODE>", "<QSL_VIA>", "<C"};
    const std::uint8_t choice = size > 0 ? data[0] : 0;
    settings.AdifCommentTag = tags[choice % 5];
    settings.ImportDupes = (choice & 8) != 0;
    qx7::ConversionEngine engine(settings, progress, prompter);
    engine.StartConversion((choice & 16) ? qx7::LogType::Qx7 : qx7::LogType::Adif);
    engine.setWriteMode(choice % 3);

    qx7::LogLines lines;
    lines.text = qx7::decodeLogText(std::string(reinterpret_cast<const char*>(data), size));
    qx7::splitLines(lines.text, lines.lines);
    qx7::TQXLogSpec spec;
    spec.LogType = qx7::LogType::Adif;
    spec.LogSize = qx7::countLogLines(spec.LogType, lines.lines, nullptr);
    spec.RemoveExchange = (choice & 32) != 0;
    spec.ReplaceReports = (choice & 64) != 0;
    engine.beginInputLog();
    engine.beginInputLog();
    qx7::AdifReader::readLines(lines.lines, spec, engine);
    std::string out;
    for (std::string_view record : engine.bufferRecords())
        qx7::appendAdifRecord(out, qx7::RecordView(record, engine.layout()));
    return 0;
}
