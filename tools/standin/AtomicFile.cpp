#include "tools/standin/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/standin/FileDescriptor.h"

namespace standin {

void writeFileAtomically(const std::string& path, const std::string& bytes, mode_t mode) {
    std::string temporary = path + ".tmp";
    FileDescriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
    bool ok = file.valid() && ::fchmod(file.get(), mode) == 0;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        ssize_t count = ::write(file.get(), bytes.data() + done, bytes.size() - done);
        ok = count > 0;
        done += ok ? static_cast<std::size_t>(count) : 0;
    }
    ok = ok && ::fsync(file.get()) == 0;
    file.reset();
    if (!ok || ::rename(temporary.c_str(), path.c_str()) != 0) {
        std::string reason = std::strerror(errno);
        ::unlink(temporary.c_str());
        throw std::runtime_error("cannot write " + path + ": " + reason);
    }
}

} // namespace standin
