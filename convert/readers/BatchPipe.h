#pragma once
// Batches handed from a producing thread to a consuming one in order, a few at most on
// their way, so that memory stays that of a few batches whatever the size of the work.
// Taken batches are given back to be filled again, keeping their capacity.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace qx7 {

template <class Batch, size_t kAhead = 2>
class BatchPipe
{
public:
    // An emptied batch to fill (Batch::clear()); null once a stop was requested.
    std::unique_ptr<Batch> takeEmpty()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_full.size() < kAhead || m_stop.load(); });
        if (m_stop.load())
            return nullptr;
        if (m_free.empty())
            return std::make_unique<Batch>();
        auto batch = std::move(m_free.back());
        m_free.pop_back();
        batch->clear();
        return batch;
    }
    void put(std::unique_ptr<Batch> batch)
    {
        {
            std::lock_guard lock(m_mutex);
            m_full.push_back(std::move(batch));
        }
        m_changed.notify_all();
    }
    // The producer has put its last batch.
    void finish()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_changed.notify_all();
    }
    // The next batch in order; null once the producer has finished and all batches
    // were taken.
    std::unique_ptr<Batch> next()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_full.empty() || m_finished; });
        if (m_full.empty())
            return nullptr;
        auto batch = std::move(m_full.front());
        m_full.pop_front();
        m_changed.notify_all();
        return batch;
    }
    void giveBack(std::unique_ptr<Batch> batch)
    {
        std::lock_guard lock(m_mutex);
        m_free.push_back(std::move(batch));
    }
    // The consumer wants no more: the producer's next takeEmpty() answers null.
    void requestStop()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
    }
    const std::atomic<bool>& stopFlag() const { return m_stop; }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::unique_ptr<Batch>> m_full;
    std::vector<std::unique_ptr<Batch>> m_free;
    bool m_finished = false;
    std::atomic<bool> m_stop{false};
};

} // namespace qx7
