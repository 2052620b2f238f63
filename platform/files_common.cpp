// Whole-file reads and safe replacing writes, built on the per-system OpenFile.
#include "platform/files.h"

#include <cstdio>

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

bool WriteWholeFile(const std::string& path, const std::string& bytes, bool text) {
    const std::string temporary = path + ".tmp";
    std::FILE* f = OpenFile(temporary, text ? "w" : "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (ok) ok = ReplaceFileWith(temporary, path);
    if (!ok) RemoveFile(temporary);
    return ok;
}
