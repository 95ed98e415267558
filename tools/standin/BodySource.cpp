#include "tools/standin/BodySource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/standin/FileDescriptor.h"
#include "tools/standin/GeneratedContent.h"

namespace standin {

namespace {

class MemoryBody : public BodySource {
public:
    explicit MemoryBody(std::string bytes) : bytes_(std::move(bytes)) {}
    std::uint64_t size() const override { return bytes_.size(); }
    std::size_t read(char* out, std::size_t capacity) override {
        std::size_t count = std::min(capacity, bytes_.size() - position_);
        std::memcpy(out, bytes_.data() + position_, count);
        position_ += count;
        return count;
    }

private:
    std::string bytes_;
    std::size_t position_ = 0;
};

class GeneratedBody : public BodySource {
public:
    GeneratedBody(std::uint64_t size, std::uint64_t seed) : size_(size), seed_(seed) {}
    std::uint64_t size() const override { return size_; }
    std::size_t read(char* out, std::size_t capacity) override {
        std::size_t count =
            static_cast<std::size_t>(std::min<std::uint64_t>(capacity, size_ - position_));
        generateBytes(seed_, position_, out, count);
        position_ += count;
        return count;
    }

private:
    std::uint64_t size_;
    std::uint64_t seed_;
    std::uint64_t position_ = 0;
};

class FileBody : public BodySource {
public:
    explicit FileBody(const std::string& path)
        : path_(path), file_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        struct stat info {};
        if (!file_.valid() || ::fstat(file_.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
            throw std::runtime_error("cannot read the package file " + path);
        }
        size_ = static_cast<std::uint64_t>(info.st_size);
    }
    std::uint64_t size() const override { return size_; }
    std::size_t read(char* out, std::size_t capacity) override {
        std::size_t wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(capacity, size_ - position_));
        if (wanted == 0) {
            return 0;
        }
        ssize_t count;
        do {
            count = ::read(file_.get(), out, wanted);
        } while (count < 0 && errno == EINTR);
        if (count <= 0) {
            // The file shrank or failed under us: the announced size can no longer be kept.
            throw std::runtime_error("reading " + path_ + " failed at byte " +
                                     std::to_string(position_));
        }
        position_ += static_cast<std::uint64_t>(count);
        return static_cast<std::size_t>(count);
    }

private:
    std::string path_;
    FileDescriptor file_;
    std::uint64_t size_ = 0;
    std::uint64_t position_ = 0;
};

} // namespace

std::unique_ptr<BodySource> memoryBody(std::string bytes) {
    return std::make_unique<MemoryBody>(std::move(bytes));
}

std::unique_ptr<BodySource> generatedBody(std::uint64_t size, std::uint64_t seed) {
    return std::make_unique<GeneratedBody>(size, seed);
}

std::unique_ptr<BodySource> fileBody(const std::string& path) {
    return std::make_unique<FileBody>(path);
}

} // namespace standin
