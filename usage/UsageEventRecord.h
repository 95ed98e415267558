#pragma once
#include <cstdint>
#include <memory>

// One usage event on its way from the window to the log upload. Texts are
// zero-terminated; an absent text is a null pointer. The record that the
// window fills only borrows its texts; a copy made by CopyUsageEventRecord
// owns every text it holds.
struct UsageEventRecord {
    const wchar_t* t = nullptr;    // "p" page view, "e" event
    const wchar_t* v = nullptr;    // record format version
    const wchar_t* cobj = nullptr; // manager-name JSON text (page views)
    const wchar_t* dp = nullptr;
    const wchar_t* dt = nullptr; // screen name
    const wchar_t* ec = nullptr;
    const wchar_t* ea = nullptr;
    const wchar_t* el = nullptr; // label of the operated control
    uint64_t timeMs = 0;         // log time, ms since 1970-01-01 UTC
};

// Deep copy: every present text gets a buffer of its own. Null gives null.
// The copy is released with FreeUsageEventRecord and then delete.
UsageEventRecord* CopyUsageEventRecord(const UsageEventRecord* pRecord);

// Releases the texts of a copy and clears it; the record block stays.
void FreeUsageEventRecord(UsageEventRecord* pRecord);

// Owner of a copy made by CopyUsageEventRecord.
struct UsageEventRecordDeleter {
    void operator()(UsageEventRecord* pRecord) const {
        FreeUsageEventRecord(pRecord);
        delete pRecord;
    }
};
using UsageEventRecordCopy = std::unique_ptr<UsageEventRecord, UsageEventRecordDeleter>;
