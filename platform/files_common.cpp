// Whole-file reads and safe replacing writes, built on the per-system OpenFile.
#include <cstdio>
#include <random>

#include "platform/files.h"

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::FILE* f = OpenFile(path, "rb");
    if (!f) return false;
    bytes.clear();
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

namespace {

// A new file beside path under a name no user file has, and that name.
std::FILE* CreateTemporaryBeside(const std::string& path, bool text, std::string& temporary) {
    static std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.keldra-tmp", static_cast<unsigned>(random()));
        temporary = path + suffix;
        if (std::FILE* f = CreateNewFile(temporary, text)) return f;
        if (!FileExists(temporary)) return nullptr;  // the folder refuses new files
    }
    return nullptr;
}

}  // namespace

bool WriteWholeFile(const std::string& path, const std::string& bytes, bool text) {
    std::string temporary;
    std::FILE* f = CreateTemporaryBeside(path, text, temporary);
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (ok) ok = ReplaceFileWith(temporary, path);
    if (!ok) RemoveFile(temporary);
    return ok;
}
