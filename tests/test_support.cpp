// Shared fixtures of the tests.
#include "tests/test_support.h"

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
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
