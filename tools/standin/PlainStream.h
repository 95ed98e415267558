#pragma once
#include "tools/standin/Stream.h"

namespace standin {

class PlainStream : public Stream {
public:
    explicit PlainStream(int socket) : socket_(socket) {}
    long read(char* out, std::size_t capacity) override;
    bool write(std::string_view bytes) override;
    void closeCleanly() override {}

private:
    int socket_;
};

} // namespace standin
