#pragma once
#include <cstddef>
#include <string>

// Collects the first line of a service answer from its body, fed chunk by
// chunk as it is read: bytes up to the first line feed, carriage returns
// dropped wherever they occur. A body without a line feed is all line.
class FirstLineReader {
public:
    // Bytes taken before the line feed, carriage returns included, beyond
    // which the answer is given up: a line that never ends must not fill
    // memory.
    static constexpr size_t kDefaultCap = 1024 * 1024;

    explicit FirstLineReader(size_t cap = kDefaultCap);

    // Takes the next chunk. False once the line is complete or over the cap:
    // the caller stops reading then, and later chunks are ignored.
    bool Feed(const char* data, size_t n);

    // The line went past the cap; such an answer does not parse, and the
    // bytes taken so far are dropped.
    bool Overflowed() const { return m_overflowed; }

    const std::string& Line() const { return m_line; }

private:
    const size_t m_cap;
    size_t m_taken = 0;
    bool m_complete = false;
    bool m_overflowed = false;
    std::string m_line;
};
