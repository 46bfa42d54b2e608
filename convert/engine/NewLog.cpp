#include "convert/engine/NewLog.h"

#include "convert/engine/ConversionEngine.h"
#include "convert/engine/LogTypes.h"
#include "core/Settings.h"
#include "store/LogTable.h"

#include <filesystem>

namespace qx7 {

std::string createLogFromAdif(ConversionEngine& engine, const Settings& settings,
                              const std::string& adifFile, const std::string& saveAs,
                              const std::string& call, std::string* why)
{
    auto fail = [why](std::string reason) {
        if (why)
            *why = std::move(reason);
        return std::string();
    };
    TQXLogSpec input = makeLogSpec(adifFile, LogType::Adif);
    input.DateFormat = "yyyymmdd";
    TQXLogSpec output = makeLogSpec(saveAs, LogType::Qx7);
    output.CallSign = call;
    output.WriteMode = 2;

    engine.StartConversion(LogType::Qx7);
    engine.ClearImportBuffer();
    engine.setWriteMode(2);
    engine.beginInputLog();
    // A file that could not be read whole gives no log: an empty or partial log
    // reported as made would hide the QSOs that were lost.
    const bool read = engine.ReadLog(input);
    std::error_code ec;
    if (!read || engine.abortRequested()) {
        engine.ClearImportBuffer();
        return fail(engine.abortRequested()                 ? "the reading was stopped"
                    : std::filesystem::exists(adifFile, ec) ? "the file could not be read whole"
                                                            : "the file does not exist");
    }
    if (engine.bufferSize() == 0) {
        engine.ClearImportBuffer();
        return fail("the file holds no QSO that could be taken over");
    }
    if (!engine.WriteOutput(output))
        return fail(engine.writeFailure().empty() ? "the log could not be written"
                                                  : engine.writeFailure());
    const std::string name = logBaseName(saveAs);
    return (std::filesystem::path(settings.QXLogPath) / name).string();
}

} // namespace qx7
