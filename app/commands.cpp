// The command table and its dispatch; the build and play commands.
#include "app/commands.h"

#include <chrono>

#include "app/command_handlers.h"
#include "app/config.h"
#include "app/frame_state.h"
#include "app/game_launch.h"
#include "app/resource.h"
#include "app/status_text.h"
#include "app/title.h"
#include "app/wad_levels.h"
#include "model/editing.h"
#include "model/map_history.h"
#include "nodes/build.h"
#include "nodes/pvs.h"
#include "platform/shell.h"

namespace {

// The PVS pass reports after every subsector: the window is served and the
// percentage shown a few dozen times a second, not thousands of times.
bool PvsProgress(int32_t done, int32_t total) {
    using Clock = std::chrono::steady_clock;
    static Clock::time_point next;
    const Clock::time_point now = Clock::now();
    if (done == 0 || now >= next) {
        next = now + std::chrono::milliseconds(40);
        PlatformSetStatusText(0, PvsProgressText(done, total));
        PlatformPumpMessages();
    }
    return !cancelRequested;
}

void Save() { SaveCommand(); }
void SaveAs() { SaveAsCommand(); }
void Build() { BuildCommand(); }

void Play() {
    if (BuildCommand()) LaunchGame();
}

void Delete() { DeleteSelection(); }
void Flip() { FlipSelection(); }
void Grid0() { GridCommand(0); }
void Grid8() { GridCommand(8); }
void Grid16() { GridCommand(16); }
void Grid32() { GridCommand(32); }
void Grid64() { GridCommand(64); }
void BuildOptionsDialog() { PlatformRunDialog("buildoption"); }
void PlayOptionsDialog() { PlatformRunDialog("playoption"); }
void DefaultTexturesDialog() { PlatformRunDialog("deftex"); }
void DefaultSectorDialog() { PlatformRunDialog("defsec"); }
void MapSlotDialog() {
    if (PlatformRunDialog("changemap")) UpdateTitle();
}
void GameExecutableDialog() { PlatformRunDialog("locategame"); }
void Help() { PlatformShowHelp("keldra.chm"); }

}  // namespace

const Command commands[] = {
    {IDM_NEW, "new", NewCommand, nullptr},
    {IDM_OPEN, "open", OpenCommand, nullptr},
    {IDM_OPEN_WAD, "openwad", OpenWadLevelCommand, nullptr},
    {IDM_SAVE_AS, "saveas", SaveAs, nullptr},
    {IDM_SAVE, "save", Save, nullptr},
    {IDM_CLEAR, "clear", ClearCommand, nullptr},
    {IDM_EXIT, "exit", ExitCommand, nullptr},
    {IDM_EDIT_SELECTION, "edit", EditSelectionCommand, HasSelection},
    {IDM_DELETE_SELECTION, "delete", Delete, HasSelection},
    {IDM_FLIP, "flip", Flip, HasTwoSidedLinedefSelected},
    {IDM_UNDO, "undo", UndoCommand, CanUndo},
    {IDM_REDO, "redo", RedoCommand, CanRedo},
    {IDM_GRID_BUTTON, "gridmenu", GridButtonCommand, nullptr},
    {IDM_GRID_NONE, "grid0", Grid0, nullptr},
    {IDM_GRID_8, "grid8", Grid8, nullptr},
    {IDM_GRID_16, "grid16", Grid16, nullptr},
    {IDM_GRID_32, "grid32", Grid32, nullptr},
    {IDM_GRID_64, "grid64", Grid64, nullptr},
    {IDM_AXES, "axes", AxesCommand, nullptr},
    {IDM_BSP_LINES, "bsplines", BspLinesCommand, nullptr},
    {IDM_PVS_TEST, "pvstest", PvsTestCommand, nullptr},
    {IDM_BUILD, "build", Build, nullptr},
    {IDM_PLAY, "play", Play, nullptr},
    {IDM_BUILD_OPTIONS, "buildoptions", BuildOptionsDialog, nullptr},
    {IDM_PLAY_OPTIONS, "playoptions", PlayOptionsDialog, nullptr},
    {IDM_DEFAULT_TEXTURES, "deftex", DefaultTexturesDialog, nullptr},
    {IDM_DEFAULT_SECTOR, "defsec", DefaultSectorDialog, nullptr},
    {IDM_MAP_SLOT, "changemap", MapSlotDialog, nullptr},
    {IDM_GAME_EXECUTABLE, "locategame", GameExecutableDialog, nullptr},
    {IDM_HELP, "help", Help, nullptr},
};
const int kNumCommands = static_cast<int>(sizeof commands / sizeof commands[0]);

const Command* FindCommand(int32_t id) {
    for (const Command& c : commands) {
        if (c.id == id) return &c;
    }
    return nullptr;
}

const Command* FindCommandByName(const std::string& name) {
    for (const Command& c : commands) {
        if (name == c.name) return &c;
    }
    return nullptr;
}

bool CommandApplies(int32_t id) {
    const Command* c = FindCommand(id);
    return c && !frameBusy && (!c->applies || c->applies());
}

bool RunCommand(int32_t id) {
    if (!CommandApplies(id)) return false;
    FindCommand(id)->run();
    // A command is one step to undo, whatever it changed (a dialog's OK
    // need not say that it did).
    NoteMapChanged();
    CommitMapChange();
    if (id != IDM_HELP) UpdateStatusBar();
    return true;
}

bool BuildCommand() {
    if (!SaveCommand()) return false;
    BuildOptions options;
    options.computePvs = buildoption1 != 0;
    frameBusy = 1;
    cancelRequested = 0;
    pvsProgress = PvsProgress;
    const bool built = BuildMap(options);
    pvsProgress = nullptr;
    frameBusy = 0;
    if (built) builtNote = 1;
    return built;
}
