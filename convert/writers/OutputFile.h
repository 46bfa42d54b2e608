#pragma once
// An output file written beside its target under a temporary name and renamed over it
// only when complete, so that a failed or aborted run never leaves half a file.

#include <cstdio>
#include <string>
#include <string_view>

namespace qx7 {

class OutputFile
{
public:
    OutputFile() = default;
    ~OutputFile(); // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool open(const std::string& target);
    void write(std::string_view text);
    bool good() const { return m_file != nullptr && m_ok; }
    // Flushes, syncs and renames over the target; false (target untouched) on failure.
    bool commit();

private:
    std::string m_target;
    std::string m_temp;
    std::FILE* m_file = nullptr;
    bool m_ok = false;
};

} // namespace qx7
