#pragma once
// A QX home of its own for every conversion test: log, tmp and user folders under a
// fresh temporary folder, settings pointing at them, and an engine that never asks.

#include "convert/engine/ConversionEngine.h"
#include "core/Progress.h"
#include "core/Prompter.h"
#include "core/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace qx7::test {

namespace fs = std::filesystem;

// Stops the run once it has been asked `stopAfter` times.
class StoppingProgress : public Progress
{
public:
    int stopAfter = -1;
    int steps = 0;
    bool step(long long) override { return stopAfter < 0 || ++steps < stopAfter; }
};

class ConvertFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        home = fs::temp_directory_path() /
               (std::string("qx7-convert-") + info->test_suite_name() + "-" + info->name());
        fs::remove_all(home);
        for (const char* sub : {"logs", "tmp", "user", "in"})
            fs::create_directories(home / sub);
        settings.QXLogPath = (home / "logs").string();
        settings.QXTmpPath = (home / "tmp").string();
        settings.QXUserPath = (home / "user").string();
        engine = std::make_unique<ConversionEngine>(settings, progress, prompter);
    }
    void TearDown() override { fs::remove_all(home); }

    std::string writeFile(const std::string& name, const std::string& bytes)
    {
        const fs::path path = home / "in" / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    static std::string readFile(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // The lines of a text file without their CR LF.
    static std::vector<std::string> readLines(const fs::path& path)
    {
        std::vector<std::string> lines;
        std::istringstream in(readFile(path));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    // The value of a lower-case tag in one of our ADIF lines, read by its length.
    static std::optional<std::string> adifValue(const std::string& line, const std::string& tag)
    {
        const size_t pos = line.find("<" + tag + ":");
        if (pos == std::string::npos)
            return std::nullopt;
        const size_t close = line.find('>', pos);
        const size_t length = std::stoul(line.substr(pos + tag.size() + 2));
        return line.substr(close + 1, length);
    }

    fs::path home;
    Settings settings;
    StoppingProgress progress;
    SilentPrompter prompter;
    std::unique_ptr<ConversionEngine> engine;
};

} // namespace qx7::test
