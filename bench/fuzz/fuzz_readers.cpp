// libFuzzer entry point for every log reader: the first byte picks the log type, the
// rest is the file (for QX version 3 it is split into the ".SRT" and ".QSL" files), read
// through the normalizer and the checks. Nothing may crash, hang or read out of bounds.

#include "convert/engine/ConversionEngine.h"
#include "convert/engine/LogFormat.h"
#include "convert/engine/LogTypes.h"
#include "convert/specs/TQXLogSpec.h"
#include "core/Progress.h"
#include "core/Prompter.h"
#include "core/Settings.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr int kTypes[] = {1,  2,  3,  4,  7,  8,  9,  10, 11, 12, 13, 16, 25, 26, 27,
                          29, 30, 31, 32, 33, 34, 36, 37, 38, 39, 43, 45, 24, 42};

void writeBytes(const std::string& path, std::string_view bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    static const std::string folder = [] {
        const auto dir = std::filesystem::temp_directory_path() /
                         ("qx7-fuzz-readers-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    static qx7::Settings settings;
    static qx7::NullProgress progress;
    static qx7::SilentPrompter prompter;
    settings.QXLogPath = folder;
    const int type = kTypes[data[0] % std::size(kTypes)];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::string base = folder + "/log";
    std::string file = base + ".in";
    if (type == 1) {
        const size_t cut = std::min<size_t>(bytes.size(), data[1] * 13u);
        writeBytes(base + ".QSL", bytes.substr(cut));
        file = base + ".SRT";
        writeBytes(file, bytes.substr(0, cut));
    } else {
        writeBytes(file, bytes);
    }
    qx7::TQXLogSpec spec;
    spec.FileName = file;
    spec.LogType = type;
    spec.BandMode = data[1] % 3 - 1;
    spec.TextType = data[1] & 4 ? 1 : 0;
    spec.Delimiter = "; ,\t"[data[1] >> 3 & 3];
    spec.Qualifier = data[1] & 32 ? '"' : 0;
    spec.HeaderRows = data[1] >> 6 & 1;
    spec.DateFormat = "dd.mm.yyyy";
    if (type == 3 || type == 34)
        spec.FieldMap = {"CALL;6", "DATE;10", "TIME;4", "nil;1", "BAND;5", "MODE;4", "COMM;0"};
    else
        spec.FieldMap = {"CALL=CALL", "DATE=DATE", "NAME_QTH=COMM", "QSL=QSLS", "T=TIME"};
    qx7::ConversionEngine engine(settings, progress, prompter);
    engine.StartConversion(qx7::LogType::Adif);
    engine.beginInputLog();
    engine.setLogSizeOnly(true);
    engine.ReadLog(spec);
    engine.setLogSizeOnly(false);
    engine.ReadLog(spec);
    prompter.shown.clear();
    return 0;
}
