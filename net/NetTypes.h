#pragma once
#include <cstdint>
#include <optional>
#include <string>

class CKNHttpAdapter;

enum JobKind : int32_t {
    JOB_PACKAGE_URL = 1,
    JOB_DOWNLOAD = 2,
    JOB_SERVER_TIME = 3,
    JOB_LOG_UPLOAD = 4,
};

// Outcome of one job, built right before the completion report; pData is
// borrowed for the duration of the callback only.
struct JobResult {
    int32_t nKind;
    uint32_t dwJobId;
    uint32_t dwStatusCode;
    int32_t nResultCode;
    const void* pData;
};

// Both callbacks run on the job's worker thread; pOwner is the manager's owner.
using JobCompleteProc = void (*)(void* pOwner, const JobResult* pResult);
using JobProgressProc = void (*)(void* pOwner, uint32_t dwJobId, int32_t nDone, int32_t nTotal);

// Payload of a download job, owned by the job. A text the caller gave as null
// reaches the download as null.
struct DownloadParams {
    std::optional<std::wstring> url;
    std::optional<std::wstring> path;

    static std::optional<std::wstring> Copy(const wchar_t* text) {
        return text ? std::optional<std::wstring>(text) : std::nullopt;
    }
    const wchar_t* Url() const { return url ? url->c_str() : nullptr; }
    const wchar_t* Path() const { return path ? path->c_str() : nullptr; }
};

// The job record. From the moment its thread starts, the thread owns it, its
// payload and its worker.
struct NetJob {
    int32_t nKind;
    uint32_t dwJobId;
    CKNHttpAdapter* pAdapter;
    void* pPayload;
};
