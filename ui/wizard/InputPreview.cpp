#include "ui/wizard/InputPreview.h"

#include "convert/engine/ConversionEngine.h"
#include "convert/normalize/FieldCodes.h"
#include "core/Progress.h"
#include "core/Prompter.h"
#include "core/Text.h"

namespace qx7 {

namespace {

std::vector<std::string> columns(const std::string& line)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t bar = line.find('|'); bar != std::string::npos; bar = line.find('|', start)) {
        parts.push_back(line.substr(start, bar - start));
        start = bar + 1;
    }
    parts.push_back(line.substr(start));
    return parts;
}

// An engine that notes each QSO as the checks see it and stops after enough of them.
class PreviewEngine : public ConversionEngine
{
public:
    PreviewEngine(const Settings& settings, Progress& progress, Prompter& prompter, size_t count)
        : ConversionEngine(settings, progress, prompter), m_count(count)
    {}

    void QsoComplete(TQXLogSpec& spec) override
    {
        if (rows.size() >= m_count)
            return;
        const RecordView r = normalizer().record().view();
        PreviewRow row{std::string(r.call()),
                       std::string(r.date()),
                       std::string(r.time()),
                       std::string(bandTextOfCode(r.band())),
                       std::string(modeTextOfCode(r.mode())),
                       {}};
        const long long before = errorCount();
        ConversionEngine::QsoComplete(spec);
        if (errorCount() > before && !errorLog().lines().empty()) {
            // The error row carries the raw band and mode when they were not understood.
            const auto parts = columns(errorLog().lines().back());
            if (parts.size() >= 7) {
                row.band = trimmed(parts[4]);
                row.mode = trimmed(parts[5]);
                row.problem = trimmed(parts[6]);
            }
        }
        rows.push_back(std::move(row));
        if (rows.size() >= m_count)
            requestAbort();
    }

    std::vector<PreviewRow> rows;

private:
    size_t m_count;
};

} // namespace

std::vector<PreviewRow> previewLog(const Settings& settings, TQXLogSpec spec, int outputType,
                                   size_t count)
{
    NullProgress quiet;
    SilentPrompter prompter;
    PreviewEngine engine(settings, quiet, prompter, count);
    engine.StartConversion(outputType, true);
    engine.ReadLog(spec);
    return std::move(engine.rows);
}

} // namespace qx7
