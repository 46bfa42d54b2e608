#include "convert/writers/OutputFile.h"

#include "dbase/TempFiles.h"

#include <cstdio>
#include <unistd.h>

namespace qx7 {

OutputFile::~OutputFile()
{
    if (m_file) {
        std::fclose(m_file);
        std::remove(m_temp.c_str());
    }
}

bool OutputFile::open(const std::string& target)
{
    m_target = target;
    m_temp = dbase::tempPathFor(target).string();
    dbase::removeStaleTempFiles(std::filesystem::path(m_temp).parent_path());
    m_file = std::fopen(m_temp.c_str(), "wb");
    m_ok = m_file != nullptr;
    if (m_file)
        std::setvbuf(m_file, nullptr, _IOFBF, 1 << 20);
    return m_ok;
}

void OutputFile::write(std::string_view text)
{
    if (m_file && m_ok && std::fwrite(text.data(), 1, text.size(), m_file) != text.size())
        m_ok = false;
}

bool OutputFile::commit()
{
    if (!m_file)
        return false;
    bool ok = m_ok && std::fflush(m_file) == 0 && ::fsync(fileno(m_file)) == 0;
    ok = std::fclose(m_file) == 0 && ok;
    m_file = nullptr;
    if (ok && std::rename(m_temp.c_str(), m_target.c_str()) == 0)
        return true;
    std::remove(m_temp.c_str());
    return false;
}

} // namespace qx7
