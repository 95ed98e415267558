#pragma once
#include <winsock2.h>

namespace platform {

// Balances one successful WSAStartup.
class WinsockSession {
public:
    explicit WinsockSession(WORD version) : m_started(::WSAStartup(version, &m_data) == 0) {}
    ~WinsockSession() {
        if (m_started)
            ::WSACleanup();
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;

    bool Started() const { return m_started; }

private:
    WSADATA m_data = {};
    bool m_started;
};

} // namespace platform
