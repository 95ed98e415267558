#pragma once
#include <windows.h>

// A point in time a wait gives up at.
class Deadline {
public:
    explicit Deadline(DWORD milliseconds) : m_end(GetTickCount64() + milliseconds) {}
    bool passed() const { return GetTickCount64() >= m_end; }

private:
    ULONGLONG m_end;
};

// How often waits look again: often enough to see short-lived states, seldom
// enough to leave the processor to the program under test.
constexpr DWORD kPollMs = 10;
