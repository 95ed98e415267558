#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace standin {

// The body of an answer, read front to back in pieces so that large packages
// are streamed rather than held.
class BodySource {
public:
    virtual ~BodySource() = default;
    virtual std::uint64_t size() const = 0;
    // Copies up to `capacity` of the next bytes; 0 at the end. Throws when the
    // bytes cannot be read.
    virtual std::size_t read(char* out, std::size_t capacity) = 0;
};

std::unique_ptr<BodySource> memoryBody(std::string bytes);
std::unique_ptr<BodySource> generatedBody(std::uint64_t size, std::uint64_t seed);
// Throws when the file cannot be opened.
std::unique_ptr<BodySource> fileBody(const std::string& path);

} // namespace standin
