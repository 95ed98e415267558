#pragma once

namespace standin {

// Owns a file descriptor and closes it once.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    ~FileDescriptor();

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void reset();

private:
    int fd_ = -1;
};

} // namespace standin
