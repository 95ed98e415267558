#pragma once
#include <stdexcept>
#include <string>

// A request that cannot be served. The code goes back to the client as the
// response's "error" (for example "timeout", "no-window", "disabled").
class DriverError : public std::runtime_error {
public:
    DriverError(std::string code, const std::string& message)
        : std::runtime_error(message), m_code(std::move(code)) {}
    const std::string& code() const { return m_code; }

private:
    std::string m_code;
};
