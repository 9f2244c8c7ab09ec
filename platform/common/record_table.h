#pragma once

#ifdef _WIN32
#error "the backends stand in for Windows: there the system provides these calls"
#endif

#include <memory>
#include <vector>

// The records of one kind that the shared layer hands out handles to, owned here.
// A handle is looked up before it is used: one the layer never made, or one
// already removed, is not found, and so the call touches nothing.
template <typename Record>
class RecordTable {
public:
    // Takes the record; its address is the handle.
    Record* add(std::unique_ptr<Record> record) {
        records_.push_back(std::move(record));
        return records_.back().get();
    }

    // Frees the record; nothing for a handle not in the table.
    void remove(const Record* handle) {
        std::erase_if(records_, [handle](const std::unique_ptr<Record>& record) {
            return record.get() == handle;
        });
    }

    // The record itself, nullptr for a handle not in the table (NULL included).
    Record* find(const Record* handle) const {
        return findIf([handle](const Record& record) { return &record == handle; });
    }

    // The first record, in the order added, that `match` takes; nullptr for none.
    template <typename Match>
    Record* findIf(Match match) const {
        for (const std::unique_ptr<Record>& record : records_) {
            if (match(*record)) return record.get();
        }
        return nullptr;
    }

private:
    std::vector<std::unique_ptr<Record>> records_;
};
