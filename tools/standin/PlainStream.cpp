#include "tools/standin/PlainStream.h"

#include <cerrno>
#include <sys/socket.h>

namespace standin {

long PlainStream::read(char* out, std::size_t capacity) {
    ssize_t count;
    do {
        count = ::recv(socket_, out, capacity, 0);
    } while (count < 0 && errno == EINTR);
    return count < 0 ? -1 : static_cast<long>(count);
}

bool PlainStream::write(std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t count = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

} // namespace standin
