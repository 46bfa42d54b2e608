#pragma once
// The labels of the print queue in the order the queue window shows them (first in,
// first out or alphabetical), read a few at a time by their place in that order, so a
// grid over ten thousand labels reads only the rows it draws. Every read borrows the
// queue's cursor and hands it back as it found it (index and record): a fill keeps its
// own index current and the window reads between the fill's records.

#include "dbase/Table.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

class PrintQueue;

struct QueueLabelRow
{
    dbase::Bookmark mark;
    std::string call;
    std::string count; // NUMQSOS
    std::string manager;
    std::string myCall;
};

class PrintQueueView
{
public:
    explicit PrintQueueView(PrintQueue& queue) : m_queue(queue) {}

    // Takes the labels' number and places again (the deleted labels a pack has not yet
    // removed keep their place in the index but are no rows). False, and nothing
    // changes, while a label is being written or the cursor is inside a range.
    bool recount();
    int size() const { return m_size; }
    // Up to `count` labels from place `first` on, as counted by the last recount; empty
    // while the queue cannot be read (see recount).
    std::vector<QueueLabelRow> read(int first, int count);
    // The hint of one label: call, manager, own call and its QSOs' bands and modes.
    std::string hint(const dbase::Bookmark& label, int priRows, std::string_view managerText);

private:
    bool readable() const;
    std::uint32_t entryOf(int row) const;

    PrintQueue& m_queue;
    int m_size = 0;
    std::vector<std::uint32_t> m_hidden; // index places of deleted labels, ascending
};

} // namespace qx7
