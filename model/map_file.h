// The native map file (.kdm): the record lists as little-endian records,
// references replaced by record numbers.
#pragma once

#include <string>

// Writes the current map to the map file path. A failed write warns, leaves
// the old file as it was and keeps the map marked modified. True on success.
bool SaveMapFile();

// Replaces the current map by the file at path and makes path the map file
// path. The whole file is checked first: a file that cannot be opened or is
// not a sound map is refused with a warning, and the current map, its paths
// and its state stay as they were. True when the file was loaded.
bool LoadMapFile(const std::string& path);

// LoadMapFile of bytes read from path.
bool LoadMapBytes(const std::string& bytes, const std::string& path);

// Replaces the records and the map slot by those of bytes that
// EncodeMapFile wrote; paths, save count and modified flag stay, and no
// event is raised. False (and nothing changed) for bytes it cannot decode.
bool RestoreMapBytes(const std::string& bytes);

// The bytes SaveMapFile writes for the current map.
std::string EncodeMapFile();

// Sizes of the records in the file.
constexpr int kVertexRecordSize = 20;
constexpr int kSectorRecordSize = 40;
constexpr int kLinedefRecordSize = 96;
constexpr int kThingRecordSize = 28;
