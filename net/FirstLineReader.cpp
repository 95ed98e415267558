#include "net/FirstLineReader.h"

#include <algorithm>
#include <cstring>
#include <iterator>

FirstLineReader::FirstLineReader(size_t cap) : m_cap(cap) {}

bool FirstLineReader::Feed(const char* data, size_t n) {
    if (m_complete || m_overflowed)
        return false;
    const char* end = data + n;
    const char* lineFeed = n ? static_cast<const char*>(std::memchr(data, '\n', n)) : nullptr;
    const char* stop = lineFeed ? lineFeed : end;
    const size_t room = m_cap - m_taken;
    if (static_cast<size_t>(stop - data) > room) {
        m_overflowed = true;
        m_line.clear();
        m_line.shrink_to_fit();
        return false;
    }
    m_taken += static_cast<size_t>(stop - data);
    std::copy_if(data, stop, std::back_inserter(m_line), [](char c) { return c != '\r'; });
    m_complete = lineFeed != nullptr;
    return !m_complete;
}
