// Shared fixtures: a fresh map state, captured messages and a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/capture.h"

// Every test starts with an empty map in its default state, messages
// captured, and the working directory set to a new empty folder.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The messages shown since the last call.
    std::vector<std::string> Messages() { return TakeCapturedMessages(); }

    std::filesystem::path scratch;

private:
    std::filesystem::path previousDirectory;
};

// Resets the map, the editing modes and the view to what the editor starts
// with; the view is the one map scripts start with (1 pixel per map unit).
void ResetMapState();

// Runs a map script (tools/map_script.h); a line it cannot run fails the test.
void RunScript(const std::string& script);

struct Linedef;
struct Sector;
// The linedef at a list position, or null.
Linedef* LinedefNumber(int number);
// The sector just right of the linedef's middle: what the game sees on that side.
Sector* SectorRightOf(const Linedef* linedef);

std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

// While it lives, no file can grow beyond the given size: writes fail as on
// a full disk, whoever runs the tests (root included).
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::size_t bytes);
    ~FileSizeLimit();

private:
    unsigned long long previous;
};

// The names of the files in the working directory, sorted.
std::vector<std::string> FilesHere();

// Tiny WAD files written by the tests: lumps in directory order.
struct TestLump {
    std::string name, data;
};
std::string WadBytes(const char* kind, const std::vector<TestLump>& lumps);
void AppendU16(std::string& s, int v);
void AppendU32(std::string& s, uint32_t v);
// An 8-byte name field.
std::string Name8(const char* name);
// A picture lump: per column, its posts (top row and pixels).
using Post = std::pair<int, std::vector<uint8_t>>;
std::string PictureLump(int width, int height, const std::vector<std::vector<Post>>& columns);
// A small IWAD the catalogue loads: one 2 by 2 patch, a texture of that
// size per name given (in that order), and a flat per flat name.
std::string ArtIwad(const std::vector<std::string>& textures, const std::vector<std::string>& flats);
