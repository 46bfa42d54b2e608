#pragma once
// The words of a PDF with their boxes in millimetres, read back with pdftotext -bbox
// (poppler-utils), for tests that check where printed texts land.

#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace qx7 {

constexpr double kMmPerPoint = 25.4 / 72.0;

struct Word
{
    int page;
    double xMin, yMin, xMax, yMax; // millimetres
    std::string text;
};

struct PdfText
{
    std::vector<std::pair<double, double>> pageSizes; // millimetres
    std::vector<Word> words;
};

inline PdfText readWithPdftotext(const std::string& pdf)
{
    PdfText result;
    const std::string command = "pdftotext -bbox '" + pdf + "' - 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    ::pclose(pipe);
    const std::regex page(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
    const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    std::istringstream lines(out);
    std::string line;
    std::smatch m;
    while (std::getline(lines, line)) {
        if (std::regex_search(line, m, page))
            result.pageSizes.emplace_back(std::stod(m[1]) * kMmPerPoint,
                                          std::stod(m[2]) * kMmPerPoint);
        else if (std::regex_search(line, m, word))
            result.words.push_back({static_cast<int>(result.pageSizes.size()),
                                    std::stod(m[1]) * kMmPerPoint, std::stod(m[2]) * kMmPerPoint,
                                    std::stod(m[3]) * kMmPerPoint, std::stod(m[4]) * kMmPerPoint,
                                    m[5]});
    }
    return result;
}

inline const Word* findWord(const PdfText& t, const std::string& text)
{
    for (const Word& w : t.words)
        if (w.text == text)
            return &w;
    return nullptr;
}

} // namespace qx7
