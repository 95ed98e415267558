#include "tools/harness/PaddedSetup.h"

#include <fstream>

namespace fs = std::filesystem;

namespace testsupport {

void MakePaddedSetup(const std::string& setupExe, std::uint64_t size, const std::string& certsDir,
                     std::optional<Signer> signer, const fs::path& package) {
    const fs::path unsigned_ = package.parent_path() / ("unsigned-" + package.filename().string());
    fs::copy_file(setupExe, unsigned_, fs::copy_options::overwrite_existing);
    {
        // Bytes that do not compress, as a real package's would not.
        std::ofstream out(unsigned_, std::ios::binary | std::ios::app);
        std::string block(1 << 20, '\0');
        for (std::uint64_t at = fs::file_size(unsigned_); at < size; at += block.size()) {
            for (size_t i = 0; i < block.size(); i += 8)
                block[i] = static_cast<char>((at + i) * 2654435761u >> 24);
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
    }
    if (signer)
        SignProgram(certsDir, *signer, unsigned_.string(), package.string());
    else
        fs::rename(unsigned_, package);
    fs::remove(unsigned_);
}

} // namespace testsupport
