#include "bench/BareDownload_win.h"

#include "bench/ReadTimes.h"
#include "bench/RunClock_win.h"
#include "platform/InternetHandle_win.h"

#include <condition_variable>
#include <mutex>
#include <thread>

using platform::UniqueFileHandle;
using platform::UniqueInternetHandle;

namespace {

const DWORD kChunkBytes = 4096;

// Reads the whole body into the file; false on a failed read or write.
bool CopyBody(HINTERNET hUrl, HANDLE hFile, ReadTimes& times) {
    char buffer[kChunkBytes];
    INTERNET_BUFFERSW record = {};
    record.dwStructSize = sizeof(record);
    record.lpvBuffer = buffer;
    for (;;) {
        record.dwBufferLength = kChunkBytes;
        const BOOL read = ::InternetReadFileExW(hUrl, &record, 0, 0);
        times.Mark();
        if (!read)
            return false;
        if (record.dwBufferLength == 0)
            return true;
        DWORD written = 0;
        if (!::WriteFile(hFile, buffer, record.dwBufferLength, &written, nullptr) ||
            written != record.dwBufferLength)
            return false;
    }
}

std::string Fetch(const std::wstring& url, const std::wstring& path, ReadTimes& times) {
    UniqueInternetHandle session(::InternetOpenW(
        L"kestrix-download-bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session)
        return "InternetOpenW failed";
    UniqueInternetHandle request(
        ::InternetOpenUrlW(session.Get(), url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0));
    if (!request)
        return "InternetOpenUrlW failed with error " + std::to_string(::GetLastError());
    DWORD status = 0;
    DWORD length = sizeof(status);
    if (!::HttpQueryInfoW(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                          &length, nullptr) ||
        status != 200)
        return "HTTP status " + std::to_string(status);
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return "cannot create the file";
    if (!CopyBody(request.Get(), file.Get(), times))
        return "read or write failed with error " + std::to_string(::GetLastError());
    return {};
}

} // namespace

DownloadOutcome RunBareDownload(const std::wstring& url, const std::wstring& path,
                                const WhileWaiting& waiting) {
    const RunClock clock;
    ReadTimes times;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    DownloadOutcome outcome;
    std::thread worker([&] {
        std::string failure = Fetch(url, path, times);
        std::lock_guard<std::mutex> guard(mutex);
        outcome.failure = std::move(failure);
        done = true;
        finished.notify_all();
    });
    {
        std::unique_lock<std::mutex> lock(mutex);
        while (!finished.wait_for(lock, waiting.period, [&] { return done; })) {
            lock.unlock();
            waiting.action();
            lock.lock();
        }
    }
    outcome.seconds = clock.WallSeconds();
    outcome.cpuSeconds = clock.CpuSeconds();
    worker.join();
    outcome.firstReadSeconds = times.FirstSince(clock.Start());
    outcome.lastReadSeconds = times.LastSince(clock.Start());
    outcome.completed = outcome.failure.empty();
    return outcome;
}
