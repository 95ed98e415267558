#include "tests/e2e/ScreenPixels.h"

#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace e2e {

namespace {

// The command's standard output and its exit status.
std::string Output(const std::string& command, int* status) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::string out;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        out.append(buffer.data(), n);
    *status = ::pclose(pipe.release());
    return out;
}

std::string Crop(const testsupport::Rect& rect) {
    return std::to_string(rect.width()) + "x" + std::to_string(rect.height()) + "+" +
           std::to_string(rect.left) + "+" + std::to_string(rect.top);
}

} // namespace

std::string Describe(const Rgb& colour) {
    return "(" + std::to_string(colour.r) + "," + std::to_string(colour.g) + "," +
           std::to_string(colour.b) + ")";
}

// `txt:` writes one line per pixel, "x,y: (...)  #RRGGBB  srgb(...)".
std::vector<Rgb> ReadScreenRow(const std::string& display, int x, int y, int width) {
    const testsupport::Rect row{x, y, x + width, y + 1};
    int status = 0;
    const std::string text = Output("import -display '" + display + "' -window root -crop " +
                                        Crop(row) + " +repage -depth 8 txt:- 2>&1",
                                    &status);
    if (status != 0)
        throw std::runtime_error("import failed: " + text);
    std::vector<Rgb> pixels;
    size_t line = text.find('\n'); // the first line is a header
    while (line != std::string::npos && line + 1 < text.size()) {
        const size_t hash = text.find('#', line + 1);
        const size_t next = text.find('\n', line + 1);
        if (hash == std::string::npos || (next != std::string::npos && hash > next) ||
            hash + 7 > text.size())
            throw std::runtime_error("unexpected import output: " + text.substr(line, 80));
        const unsigned long value = std::stoul(text.substr(hash + 1, 6), nullptr, 16);
        pixels.push_back({static_cast<int>(value >> 16 & 0xFF), static_cast<int>(value >> 8 & 0xFF),
                          static_cast<int>(value & 0xFF)});
        line = next;
    }
    if (static_cast<int>(pixels.size()) != width)
        throw std::runtime_error("import gave " + std::to_string(pixels.size()) + " pixels for " +
                                 std::to_string(width));
    return pixels;
}

void SaveScreen(const std::string& display, const testsupport::Rect& rect,
                const std::string& pngPath) {
    int status = 0;
    const std::string out = Output("import -display '" + display + "' -window root -crop " +
                                       Crop(rect) + " +repage 'png:" + pngPath + "' 2>&1",
                                   &status);
    if (status != 0)
        throw std::runtime_error("import failed: " + out);
}

long DifferingPixels(const std::string& pngPath, const std::string& referencePath,
                     const testsupport::Rect& region) {
    int status = 0;
    // Exit status 1 only says that the pictures differ; the count follows.
    const std::string out = Output("compare -metric AE '" + pngPath + "' '" + referencePath + "[" +
                                       Crop(region) + "]' null: 2>&1",
                                   &status);
    try {
        return std::stol(out);
    } catch (const std::exception&) {
        throw std::runtime_error("compare failed: " + out);
    }
}

} // namespace e2e
