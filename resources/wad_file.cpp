// Reading the WAD container.
#include "resources/wad_file.h"

#include "platform/files.h"

bool ReadWad(const std::string& path, WadFile& wad, std::string& error) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        error = path + " を読み込めません";
        return false;
    }
    return ParseWad(std::move(bytes), wad, error);
}

bool ParseWad(std::string bytes, WadFile& wad, std::string& error) {
    if (bytes.size() < 12 || (bytes.compare(0, 4, "IWAD") != 0 && bytes.compare(0, 4, "PWAD") != 0)) {
        error = "WAD ファイルではありません";
        return false;
    }
    const uint32_t count = ReadU32(bytes, 4);
    const uint32_t directory = ReadU32(bytes, 8);
    if (directory > bytes.size() || (bytes.size() - directory) / 16 < count) {
        error = "WAD のディレクトリがファイルに収まっていません";
        return false;
    }
    WadFile result;
    result.kind = bytes.substr(0, 4);
    result.lumps.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const std::size_t at = directory + 16 * static_cast<std::size_t>(i);
        WadLump lump{std::string(), ReadU32(bytes, at), ReadU32(bytes, at + 4)};
        for (std::size_t k = 0; k < 8 && bytes[at + 8 + k]; ++k) lump.name.push_back(bytes[at + 8 + k]);
        if (lump.offset > bytes.size() || bytes.size() - lump.offset < lump.size) {
            error = "WAD の lump " + lump.name + " がファイルに収まっていません";
            return false;
        }
        result.lumps.push_back(std::move(lump));
    }
    result.bytes = std::move(bytes);
    wad = std::move(result);
    return true;
}

int FindLump(const WadFile& wad, const std::string& name, int from) {
    for (int i = from < 0 ? 0 : from; i < static_cast<int>(wad.lumps.size()); ++i) {
        if (wad.lumps[i].name == name) return i;
    }
    return -1;
}

std::string LumpBytes(const WadFile& wad, int index) {
    const WadLump& l = wad.lumps[index];
    return wad.bytes.substr(l.offset, l.size);
}
