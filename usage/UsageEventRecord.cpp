#include "usage/UsageEventRecord.h"

#include <cwchar>
#include <memory>

namespace {

const wchar_t* DuplicateText(const wchar_t* text) {
    if (!text)
        return nullptr;
    const size_t length = std::wcslen(text);
    auto copy = std::make_unique<wchar_t[]>(length + 1);
    std::wmemcpy(copy.get(), text, length + 1);
    return copy.release();
}

void ReleaseText(const wchar_t*& text) {
    delete[] text;
    text = nullptr;
}

} // namespace

UsageEventRecord* CopyUsageEventRecord(const UsageEventRecord* pRecord) {
    if (!pRecord)
        return nullptr;
    auto copy = std::make_unique<UsageEventRecord>();
    copy->t = DuplicateText(pRecord->t);
    copy->v = DuplicateText(pRecord->v);
    copy->cobj = DuplicateText(pRecord->cobj);
    copy->dp = DuplicateText(pRecord->dp);
    copy->dt = DuplicateText(pRecord->dt);
    copy->ec = DuplicateText(pRecord->ec);
    copy->ea = DuplicateText(pRecord->ea);
    copy->el = DuplicateText(pRecord->el);
    copy->timeMs = pRecord->timeMs;
    return copy.release();
}

void FreeUsageEventRecord(UsageEventRecord* pRecord) {
    if (!pRecord)
        return;
    ReleaseText(pRecord->t);
    ReleaseText(pRecord->v);
    ReleaseText(pRecord->cobj);
    ReleaseText(pRecord->dp);
    ReleaseText(pRecord->dt);
    ReleaseText(pRecord->ec);
    ReleaseText(pRecord->ea);
    ReleaseText(pRecord->el);
    pRecord->timeMs = 0;
}
