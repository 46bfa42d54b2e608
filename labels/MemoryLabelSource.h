#pragma once
// Labels held in memory, for tests, benchmarks and printing a few labels that are not
// in the queue.

#include "labels/LabelSource.h"

#include <vector>

namespace qx7 {

class MemoryLabelSource : public LabelSource
{
public:
    MemoryLabelSource() = default;
    explicit MemoryLabelSource(std::vector<LabelRecord> records) : m_records(std::move(records)) {}

    int count() override { return static_cast<int>(m_records.size()); }
    LabelRecord record(int index) override { return m_records.at(static_cast<size_t>(index)); }
    bool markPrinted(int index) override;
    int deletePrinted() override;

    std::vector<LabelRecord>& records() { return m_records; }
    int markCalls() const { return m_markCalls; }

private:
    std::vector<LabelRecord> m_records;
    int m_markCalls = 0;
};

} // namespace qx7
