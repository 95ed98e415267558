#pragma once
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>

namespace platform {

// Reads a real from text the way `std::istringstream(text) >> value` does in
// the classic locale, without a stream: in a static link, the first stream
// object brings the whole C++ locale (every facet for char and wchar_t,
// about a megabyte). The JSON reader of the Windows build reads its reals
// through this class instead (see JsoncppWithoutStreams.h).
//
// As the stream: leading white space is skipped (only white space fails and
// leaves the value alone); then the longest prefix of
// the form [+-] digits [. digits] [(e|E) [+-] digits] is taken (an exponent
// only after a digit) and must convert as a whole; an overflow fails, an
// underflow does not. Unlike the stream, it relies on the C locale staying
// "C", which this program never changes.
class NumberStream {
public:
    explicit NumberStream(std::string text) : m_text(std::move(text)) {}

    NumberStream& operator>>(double& value) {
        size_t start = 0;
        while (start < m_text.size() && IsSpace(m_text[start]))
            ++start;
        if (start == m_text.size()) { // nothing to read: the value is left alone
            m_failed = true;
            return *this;
        }
        const std::string number = m_text.substr(start, NumberLength(start));
        char* end = nullptr;
        const double read = std::strtod(number.c_str(), &end);
        m_failed = number.empty() || end != number.c_str() + number.size() || std::isinf(read);
        value = m_failed ? FailedValue(read) : read;
        return *this;
    }

    bool operator!() const { return m_failed; }
    explicit operator bool() const { return !m_failed; }

private:
    static bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    bool IsSign(size_t at) const {
        return at < m_text.size() && (m_text[at] == '+' || m_text[at] == '-');
    }

    // How many characters from start the stream would gather for a real.
    size_t NumberLength(size_t start) const {
        size_t at = start;
        if (IsSign(at))
            ++at;
        bool digits = false;
        bool point = false;
        bool exponent = false;
        while (at < m_text.size()) {
            const char c = m_text[at];
            if (IsDigit(c)) {
                digits = true;
            } else if (c == '.' && !point && !exponent) {
                point = true;
            } else if ((c == 'e' || c == 'E') && digits && !exponent) {
                exponent = true;
                if (IsSign(at + 1))
                    ++at;
            } else {
                break;
            }
            ++at;
        }
        return at - start;
    }

    // What the stream leaves in the value when it fails: the largest finite
    // value for an overflow, else zero.
    static double FailedValue(double read) {
        if (!std::isinf(read))
            return 0.0;
        return read > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
    }

    std::string m_text;
    bool m_failed = false;
};

} // namespace platform
