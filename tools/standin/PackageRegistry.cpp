#include "tools/standin/PackageRegistry.h"

#include <stdexcept>
#include <vector>

#include "tools/standin/Sha256.h"

namespace standin {

namespace {

void checkName(const std::string& name) {
    bool ok = !name.empty() && name.size() <= 255 && name != "." && name != "..";
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        ok = ok && u > 0x20 && u != 0x7F && c != '/' && c != '\\' && c != '?' && c != '%' &&
             c != '#';
    }
    if (!ok) {
        throw std::invalid_argument("\"" + name +
                                    "\" is not a package name (1 to 255 printable characters, "
                                    "none of / \\ ? % # or blanks)");
    }
}

std::string hashAll(BodySource& source) {
    Sha256 digest;
    std::vector<char> buffer(1 << 20);
    while (std::size_t count = source.read(buffer.data(), buffer.size())) {
        digest.update(buffer.data(), count);
    }
    return digest.hexDigest();
}

} // namespace

Package describeFilePackage(const std::string& name, const std::string& path) {
    checkName(name);
    Package package;
    package.name = name;
    package.path = path;
    std::unique_ptr<BodySource> body = fileBody(path);
    package.size = body->size();
    package.sha256 = hashAll(*body);
    return package;
}

Package describeGeneratedPackage(const std::string& name, std::uint64_t size, std::uint64_t seed) {
    checkName(name);
    Package package;
    package.name = name;
    package.size = size;
    package.seed = seed;
    package.sha256 = hashAll(*generatedBody(size, seed));
    return package;
}

std::unique_ptr<BodySource> openPackage(const Package& package) {
    if (package.path) {
        return fileBody(*package.path);
    }
    return generatedBody(package.size, package.seed);
}

void PackageRegistry::addStartup(Package package) {
    std::lock_guard<std::mutex> lock(mutex_);
    current_[package.name] = package;
    startup_[package.name] = std::move(package);
}

void PackageRegistry::add(Package package) {
    std::lock_guard<std::mutex> lock(mutex_);
    current_[package.name] = std::move(package);
}

std::optional<Package> PackageRegistry::find(const std::string& name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = current_.find(name);
    if (it == current_.end()) {
        return std::nullopt;
    }
    return it->second;
}

void PackageRegistry::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    current_ = startup_;
}

} // namespace standin
