#include "usage/UsageEventRecord.h"

#include "platform/WideText.h"

#include <memory>

namespace {

void ReleaseText(const wchar_t*& text) {
    delete[] text;
    text = nullptr;
}

} // namespace

UsageEventRecord* CopyUsageEventRecord(const UsageEventRecord* pRecord) {
    if (!pRecord)
        return nullptr;
    auto copy = std::make_unique<UsageEventRecord>();
    copy->t = platform::DuplicateWideText(pRecord->t);
    copy->v = platform::DuplicateWideText(pRecord->v);
    copy->cobj = platform::DuplicateWideText(pRecord->cobj);
    copy->dp = platform::DuplicateWideText(pRecord->dp);
    copy->dt = platform::DuplicateWideText(pRecord->dt);
    copy->ec = platform::DuplicateWideText(pRecord->ec);
    copy->ea = platform::DuplicateWideText(pRecord->ea);
    copy->el = platform::DuplicateWideText(pRecord->el);
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
