// Shared fixtures of the tests.
#include "tests/test_support.h"

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

#include "app/config.h"
#include "app/frame_state.h"
#include "app/map_events_app.h"
#include "base/report.h"
#include "model/editing.h"
#include "model/geometry.h"
#include "model/map.h"
#include "model/map_history.h"
#include "model/sector_drawing.h"
#include "nodes/pvs.h"
#include "nodes/sector_lookup.h"
#include "platform/headless.h"
#include "tools/map_script.h"
#include "view/map_input.h"
#include "view/view_navigation.h"

void ResetMapState() {
    InstallEditorMapEvents();
    ClearMap();
    mapFilePath = "untitled.kdm";
    pwadPath = "untitled.wad";
    mapSlot = 1;
    mapModified = 0;
    SetName(defaultUpper, "GRAY1");
    SetName(defaultMiddle, "GRAY1");
    SetName(defaultLower, "GRAY1");
    defaultSector = Sector{0, 128, {}, {}, 160, 0, 0, nullptr};
    SetName(defaultSector.floorFlat, "FLOOR1_1");
    SetName(defaultSector.ceilingFlat, "FLAT18");
    SetConfigDefaults(configRows, kNumConfigRows);
    SetDebugLogEnabled(false);
    gridSize = 0;
    mapMode = MapMode::kSelect;
    numDrawPoints = 0;
    dragging = 0;
    useReferenceLookups = false;
    pvsProgress = nullptr;
    savedNote = builtNote = frameBusy = cancelRequested = 0;
    showAxes = showBspLines = 0;
    pvsChosenSubsector = -1;
    ResetHeadlessShell();
    pvsThreads = 0;
    ResetMapHistory();
    ResetScriptView();
}

void RunScript(const std::string& script) {
    std::string error;
    if (!RunMapScript(script, error)) ADD_FAILURE() << error;
}

void EditorTest::SetUp() {
    ResetMapState();
    StartCapturingMessages();
    previousDirectory = std::filesystem::current_path();
    std::random_device random;
    scratch = std::filesystem::temp_directory_path() / ("keldra-test-" + std::to_string(random()));
    std::filesystem::create_directories(scratch);
    std::filesystem::current_path(scratch);
}

void EditorTest::TearDown() {
    std::filesystem::current_path(previousDirectory);
    std::error_code ignored;
    std::filesystem::permissions(scratch, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(scratch, ignored);
    StopCapturingMessages();
    ResetMapState();
}

Linedef* LinedefNumber(int number) {
    Linedef* l = linedefs;
    while (l && number-- > 0) l = l->next;
    return l;
}

Sector* SectorRightOf(const Linedef* l) {
    float dx = l->endVertex->x - l->startVertex->x;
    float dy = l->endVertex->y - l->startVertex->y;
    NormalizeVector(dx, dy);
    const DrawPoint p = {(l->startVertex->x + l->endVertex->x) / 2 + dy, (l->startVertex->y + l->endVertex->y) / 2 - dx,
                         kDrawFree, nullptr};
    return FindSectorAt(p);
}

std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

FileSizeLimit::FileSizeLimit(std::size_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of ending the process
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    previous = limit.rlim_cur;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = previous;
    setrlimit(RLIMIT_FSIZE, &limit);
}

std::vector<std::string> FilesHere() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string WadBytes(const char* kind, const std::vector<TestLump>& lumps) {
    std::string body, directory;
    for (const TestLump& l : lumps) {
        AppendU32(directory, 12 + static_cast<uint32_t>(body.size()));
        AppendU32(directory, static_cast<uint32_t>(l.data.size()));
        directory += l.name + std::string(8 - l.name.size(), '\0');
        body += l.data;
    }
    std::string out = kind;
    AppendU32(out, static_cast<uint32_t>(lumps.size()));
    AppendU32(out, 12 + static_cast<uint32_t>(body.size()));
    return out + body + directory;
}

void AppendU16(std::string& s, int v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void AppendU32(std::string& s, uint32_t v) {
    AppendU16(s, static_cast<int>(v & 0xFFFF));
    AppendU16(s, static_cast<int>(v >> 16));
}

std::string Name8(const char* name) { return std::string(name) + std::string(8 - std::strlen(name), '\0'); }

std::string PictureLump(int width, int height, const std::vector<std::vector<Post>>& columns) {
    std::string header, data;
    AppendU16(header, width);
    AppendU16(header, height);
    AppendU16(header, 0);
    AppendU16(header, 0);
    const std::size_t start = 8 + 4 * columns.size();
    for (const auto& posts : columns) {
        AppendU32(header, static_cast<uint32_t>(start + data.size()));
        for (const Post& p : posts) {
            data.push_back(static_cast<char>(p.first));
            data.push_back(static_cast<char>(p.second.size()));
            data.push_back(0);
            data.append(p.second.begin(), p.second.end());
            data.push_back(0);
        }
        data.push_back(static_cast<char>(255));
    }
    return header + data;
}

std::string ArtIwad(const std::vector<std::string>& textures, const std::vector<std::string>& flats) {
    std::string pnames;
    AppendU32(pnames, 1);
    pnames += Name8("PATCH");
    std::string texture1;
    AppendU32(texture1, static_cast<uint32_t>(textures.size()));
    const std::size_t recordSize = 22 + 10;
    for (std::size_t i = 0; i < textures.size(); ++i) {
        AppendU32(texture1, static_cast<uint32_t>(4 + 4 * textures.size() + recordSize * i));
    }
    for (const std::string& name : textures) {
        texture1 += Name8(name.c_str());
        AppendU32(texture1, 0);
        AppendU16(texture1, 2);  // width
        AppendU16(texture1, 2);  // height
        AppendU32(texture1, 0);
        AppendU16(texture1, 1);  // one patch, at 0, 0
        for (int v : {0, 0, 0, 1, 0}) AppendU16(texture1, v);
    }
    std::vector<TestLump> lumps = {{"PLAYPAL", std::string(768, '\0')},
                                   {"PNAMES", pnames},
                                   {"PATCH", PictureLump(2, 2, {{{0, {1, 2}}}, {{0, {3, 4}}}})},
                                   {"TEXTURE1", texture1},
                                   {"F_START", ""}};
    for (const std::string& name : flats) lumps.push_back({name, std::string(4096, static_cast<char>(name.size()))});
    lumps.push_back({"F_END", ""});
    return WadBytes("IWAD", lumps);
}
