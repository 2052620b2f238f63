// Interpreter of map scripts.
#include "tools/map_script.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "app/commands.h"
#include "app/frame_keys.h"
#include "model/editing.h"
#include "model/map.h"
#include "model/map_file.h"
#include "model/sector_drawing.h"
#include "platform/headless.h"
#include "view/map_input.h"
#include "view/view_transform.h"

namespace {

struct Pixel {
    int32_t x, y;
};

bool ToPixel(float x, float y, Pixel& pixel) {
    float px, py;
    MapToView(x, y, px, py);
    if (!std::isfinite(px) || !std::isfinite(py) || std::fabs(px) > 1e9f || std::fabs(py) > 1e9f) return false;
    pixel = {static_cast<int32_t>(std::lround(px)), static_cast<int32_t>(std::lround(py))};
    return true;
}

class Line {
public:
    explicit Line(const std::string& text) : in_(text) {}
    bool Word(std::string& word) { return static_cast<bool>(in_ >> word); }
    bool Number(float& value) {
        std::string word;
        if (!(in_ >> word)) return false;
        char* end = nullptr;
        value = std::strtof(word.c_str(), &end);
        return end != word.c_str() && *end == '\0' && std::isfinite(value);
    }
    bool Integer(int32_t& value) {
        float f;
        if (!Number(f) || f != std::floor(f) || std::fabs(f) > 2e9f) return false;
        value = static_cast<int32_t>(f);
        return true;
    }
    bool Point(Pixel& pixel) {
        float x, y;
        return Number(x) && Number(y) && ToPixel(x, y, pixel);
    }
    bool AtEnd() {
        in_ >> std::ws;
        return in_.peek() == std::char_traits<char>::eof();
    }
    std::string Rest() {
        std::string rest;
        std::getline(in_ >> std::ws, rest);
        return rest;
    }

private:
    std::istringstream in_;
};

// One command of the script language: its name, its arguments as the usage
// shows them, what it does, and its handler. A handler reads its arguments
// from the line; false means they could not be read (problem may say why).
struct ScriptCommand {
    const char* name;
    const char* arguments;
    const char* description;
    bool (*run)(Line& line, std::string& problem);
};

bool RunGrid(Line& line, std::string&) {
    int32_t n = 0;
    if (!line.Integer(n) || !(n == 0 || n == 8 || n == 16 || n == 32 || n == 64)) return false;
    gridSize = n;
    return true;
}

bool RunView(Line& line, std::string&) {
    float cx, cy, scale;
    if (!line.Number(cx) || !line.Number(cy) || !line.Number(scale) || !(scale > 0)) return false;
    viewCentreX = cx;
    viewCentreY = cy;
    viewScale = scale;
    SetViewSize(viewWidth, viewHeight);
    return true;
}

bool RunSize(Line& line, std::string&) {
    int32_t w = 0, h = 0;
    if (!line.Integer(w) || !line.Integer(h) || w < 1 || h < 1) return false;
    SetViewSize(w, h);
    return true;
}

bool RunMove(Line& line, std::string&) {
    Pixel a{};
    if (!line.Point(a)) return false;
    MapMouseMove(a.x, a.y, false);
    return true;
}

bool RunClick(Line& line, std::string&) {
    Pixel a{};
    if (!line.Point(a)) return false;
    MapLeftButtonDown(a.x, a.y);
    MapLeftButtonUp();
    return true;
}

bool RunDown(Line& line, std::string&) {
    Pixel a{};
    if (!line.Point(a)) return false;
    MapLeftButtonDown(a.x, a.y);
    return true;
}

bool RunUp(Line&, std::string&) {
    MapLeftButtonUp();
    return true;
}

bool RunDrag(Line& line, std::string&) {
    Pixel a{}, b{};
    if (!line.Point(a) || !line.Point(b)) return false;
    MapLeftButtonDown(a.x, a.y);
    MapMouseMove(b.x, b.y, true);
    MapLeftButtonUp();
    return true;
}

bool RunRightClick(Line& line, std::string&) {
    Pixel a{};
    if (!line.Point(a)) return false;
    MapRightButtonDown(a.x, a.y);
    return true;
}

bool RunMenu(Line& line, std::string&) {
    int32_t row = 0;
    if (!line.Integer(row)) return false;
    MapThingMenuChosen(row);
    return true;
}

bool ReadModeKey(Line& line, bool& control) {
    std::string word;
    if (!line.Word(word) || (word != "ctrl" && word != "alt")) return false;
    control = word == "ctrl";
    return true;
}

bool RunPress(Line& line, std::string&) {
    bool control = false;
    Pixel a{};
    if (!ReadModeKey(line, control) || !line.Point(a)) return false;
    if (control)
        ControlKeyDown(a.x, a.y);
    else
        AltKeyDown(a.x, a.y);
    return true;
}

bool RunRelease(Line& line, std::string&) {
    bool control = false;
    if (!ReadModeKey(line, control)) return false;
    if (control)
        ControlKeyUp();
    else
        AltKeyUp();
    return true;
}

bool RunKey(Line& line, std::string&) {
    std::string word;
    if (!line.Word(word)) return false;
    // Through the frame's keys, as the editor takes them: Delete and F run
    // their commands, Enter the Edit command when it applies.
    static const struct {
        const char* word;
        FrameKey key;
    } kKeys[] = {{"enter", FrameKey::kEnter},
                 {"escape", FrameKey::kEscape},
                 {"delete", FrameKey::kDelete},
                 {"flip", FrameKey::kF}};
    for (const auto& k : kKeys) {
        if (word == k.word) {
            FrameKeyDown(k.key, false, false, 0, 0);
            return true;
        }
    }
    return false;
}

bool RunSector(Line& line, std::string& problem) {
    std::vector<Pixel> corners;
    while (!line.AtEnd()) {
        Pixel a{};
        if (!line.Point(a)) return false;
        corners.push_back(a);
    }
    if (corners.size() < 3) {
        problem = "a sector needs at least three corners";
        return false;
    }
    ControlKeyDown(corners[0].x, corners[0].y);
    for (const Pixel& c : corners) {
        MapMouseMove(c.x, c.y, false);
        MapLeftButtonDown(c.x, c.y);
    }
    EnterKeyDown();
    ControlKeyUp();
    return true;
}

bool RunInsert(Line& line, std::string&) {
    Pixel a{};
    if (!line.Point(a)) return false;
    AltKeyDown(a.x, a.y);
    MapLeftButtonDown(a.x, a.y);
    MapLeftButtonUp();
    AltKeyUp();
    return true;
}

bool RunThing(Line& line, std::string&) {
    int32_t row = 0;
    Pixel a{};
    if (!line.Integer(row) || !line.Point(a)) return false;
    if (MapRightButtonDown(a.x, a.y)) MapThingMenuChosen(row);
    return true;
}

bool RunSlot(Line& line, std::string&) {
    int32_t n = 0;
    if (!line.Integer(n) || n < 1 || n > 32) return false;
    mapSlot = n;
    return true;
}

bool RunClear(Line&, std::string&) {
    ClearMap();
    return true;
}

bool RunLoad(Line& line, std::string& problem) {
    const std::string path = line.Rest();
    if (path.empty()) return false;
    if (!LoadMapFile(path)) problem = "cannot load " + path;
    return problem.empty();
}

bool RunSave(Line& line, std::string& problem) {
    const std::string path = line.Rest();
    if (path.empty()) return false;
    SetMapFileName(path);
    if (!SaveMapFile()) problem = "cannot save " + path;
    return problem.empty();
}

bool RunCommandLine(Line& line, std::string& problem) {
    std::string name;
    if (!line.Word(name)) return false;
    const Command* command = FindCommandByName(name);
    if (!command) {
        problem = "unknown frame command '" + name + "'";
        return false;
    }
    RunCommand(command->id);
    return true;
}

bool RunAnswer(Line& line, std::string&) {
    static const struct {
        const char* word;
        Answer answer;
    } kAnswers[] = {{"yes", Answer::kYes}, {"no", Answer::kNo}, {"cancel", Answer::kCancel}};
    std::string word;
    if (!line.Word(word)) return false;
    for (const auto& a : kAnswers) {
        if (word != a.word) continue;
        QueueAnswer(a.answer);
        return true;
    }
    return false;
}

bool RunChoose(Line& line, std::string&) {
    const std::string path = line.Rest();
    if (path.empty()) return false;
    QueueChosenPath(path == "cancel" ? std::string() : path);
    return true;
}

const ScriptCommand kCommands[] = {
    {"grid", "N", "grid of N map units (0, 8, 16, 32, 64)", RunGrid},
    {"view", "CX CY SCALE", "view centre and pixels per map unit", RunView},
    {"size", "W H", "view size in pixels (8192 by 8192 at first)", RunSize},
    {"move", "X Y", "mouse move without a button", RunMove},
    {"click", "X Y", "left click", RunClick},
    {"down", "X Y", "left button down", RunDown},
    {"up", "", "left button up", RunUp},
    {"drag", "X1 Y1 X2 Y2", "left button down at 1, moved to 2, released", RunDrag},
    {"rclick", "X Y", "right click; menu ROW then places a thing there", RunRightClick},
    {"menu", "ROW", "chooses ROW of the thing type menu", RunMenu},
    {"press", "ctrl|alt X Y", "key down with the mouse at X Y", RunPress},
    {"release", "ctrl|alt", "key up", RunRelease},
    {"key", "enter|escape|delete|flip", "a key of the frame window", RunKey},
    {"sector", "X1 Y1 X2 Y2 ...", "holds Ctrl, clicks every corner, Enter, releases", RunSector},
    {"insert", "X Y", "holds Alt and clicks the linedef at X Y", RunInsert},
    {"thing", "ROW X Y", "right click at X Y and choose ROW of the thing table", RunThing},
    {"slot", "N", "map slot 1 to 32", RunSlot},
    {"clear", "", "the clear map command", RunClear},
    {"load", "PATH", "loads a map file", RunLoad},
    {"save", "PATH", "saves the map under PATH", RunSave},
    {"command", "NAME", "runs a command of the frame (new, open, save, saveas, build, play...)", RunCommandLine},
    {"answer", "yes|no|cancel", "the answer to the next question the editor asks", RunAnswer},
    {"choose", "PATH|cancel", "what the next file dialog returns", RunChoose},
};

bool RunLine(const std::string& name, Line& line, std::string& problem) {
    for (const ScriptCommand& command : kCommands) {
        if (name != command.name) continue;
        // Load, save and choose take the rest of the line as their path.
        return command.run(line, problem) && line.AtEnd();
    }
    problem = "unknown command '" + name + "'";
    return false;
}

}  // namespace

std::string MapScriptUsage() {
    std::string usage;
    for (const ScriptCommand& command : kCommands) {
        std::string head = std::string(command.name) + (*command.arguments ? " " : "") + command.arguments;
        head.resize(std::max<std::size_t>(head.size() + 2, 32), ' ');
        usage += "  " + head + command.description + "\n";
    }
    return usage;
}

void ResetScriptView() {
    viewCentreX = 0;
    viewCentreY = 0;
    viewScale = 1;
    SetViewSize(8192, 8192);
}

bool RunMapScript(const std::string& script, std::string& error) {
    if (viewWidth <= 0 || viewHeight <= 0) ResetScriptView();
    std::istringstream lines(script);
    std::string text;
    for (int number = 1; std::getline(lines, text); ++number) {
        const std::size_t comment = text.find('#');
        if (comment != std::string::npos) text.erase(comment);
        Line line(text);
        std::string command;
        if (!line.Word(command)) continue;
        std::string problem;
        if (!RunLine(command, line, problem)) {
            error =
                "line " + std::to_string(number) + ": " + (problem.empty() ? "cannot read '" + text + "'" : problem);
            return false;
        }
    }
    return true;
}
