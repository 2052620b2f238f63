// Reading and writing the WAD container.
#include "resources/wad_file.h"

#include "base/names.h"
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
    if (bytes.size() < kWadHeaderSize || (bytes.compare(0, 4, "IWAD") != 0 && bytes.compare(0, 4, "PWAD") != 0)) {
        error = "WAD ファイルではありません";
        return false;
    }
    const uint32_t count = ReadU32(bytes, 4);
    const uint32_t directory = ReadU32(bytes, 8);
    if (directory > bytes.size() || (bytes.size() - directory) / kWadDirectoryEntrySize < count) {
        error = "WAD のディレクトリがファイルに収まっていません";
        return false;
    }
    WadFile result;
    result.kind = bytes.substr(0, 4);
    result.directory = directory;
    result.lumps.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const std::size_t at = directory + kWadDirectoryEntrySize * static_cast<std::size_t>(i);
        WadLump lump{NameText(bytes.data() + at + 8), ReadU32(bytes, at), ReadU32(bytes, at + 4)};
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

void AppendLump(WadWriter& wad, const std::string& name, const std::string& data) {
    wad.lumps.push_back(
        {name.substr(0, 8), static_cast<uint32_t>(wad.bytes.size()), static_cast<uint32_t>(data.size())});
    wad.bytes += data;
}

std::string FinishWad(WadWriter& wad, const std::string& kind) {
    std::string file = std::move(wad.bytes);
    const auto directoryOffset = static_cast<uint32_t>(file.size());
    for (const WadLump& lump : wad.lumps) {
        PutU32(file, lump.offset);
        PutU32(file, lump.size);
        char name[8];
        SetName(name, lump.name.c_str());
        file.append(name, 8);
    }
    std::string header = kind;
    PutU32(header, static_cast<uint32_t>(wad.lumps.size()));
    PutU32(header, directoryOffset);
    file.replace(0, kWadHeaderSize, header);
    wad = WadWriter();
    return file;
}
