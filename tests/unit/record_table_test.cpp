#include <gtest/gtest.h>

#include "platform/common/record_table.h"

namespace {

struct Record {
    int value;
};

TEST(RecordTable, FindsOnlyTheRecordsItHolds) {
    RecordTable<Record> table;
    Record* first = table.add(std::make_unique<Record>(Record{1}));
    Record* second = table.add(std::make_unique<Record>(Record{2}));
    EXPECT_EQ(table.find(first), first);
    EXPECT_EQ(table.find(second), second);
    Record foreign{1};
    EXPECT_EQ(table.find(&foreign), nullptr);
    EXPECT_EQ(table.find(nullptr), nullptr);
}

TEST(RecordTable, ARemovedRecordIsNoLongerFound) {
    RecordTable<Record> table;
    Record* first = table.add(std::make_unique<Record>(Record{1}));
    Record* second = table.add(std::make_unique<Record>(Record{2}));
    table.remove(first);
    EXPECT_EQ(table.find(first), nullptr);
    EXPECT_EQ(table.find(second), second);
    Record foreign{2};
    table.remove(&foreign);  // not ours: nothing happens
    EXPECT_EQ(table.find(second), second);
}

TEST(RecordTable, FindIfTakesTheFirstMatchInTheOrderAdded) {
    RecordTable<Record> table;
    table.add(std::make_unique<Record>(Record{1}));
    Record* two = table.add(std::make_unique<Record>(Record{2}));
    table.add(std::make_unique<Record>(Record{2}));
    EXPECT_EQ(table.findIf([](const Record& r) { return r.value == 2; }), two);
    EXPECT_EQ(table.findIf([](const Record& r) { return r.value == 3; }), nullptr);
}

}  // namespace
