// Interpreter of map scripts.
#include "tools/map_script.h"

#include <cmath>
#include <sstream>
#include <vector>

#include "model/editing.h"
#include "model/map.h"
#include "model/map_file.h"
#include "model/sector_drawing.h"
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

bool RunLine(const std::string& command, Line& line, std::string& problem) {
    Pixel a{}, b{};
    int32_t n = 0;
    std::string word;
    if (command == "grid") {
        if (!line.Integer(n) || !(n == 0 || n == 8 || n == 16 || n == 32 || n == 64)) return false;
        gridSize = n;
    } else if (command == "view") {
        float cx, cy, scale;
        if (!line.Number(cx) || !line.Number(cy) || !line.Number(scale) || !(scale > 0)) return false;
        viewCentreX = cx;
        viewCentreY = cy;
        viewScale = scale;
        SetViewSize(viewWidth, viewHeight);
    } else if (command == "size") {
        int32_t h = 0;
        if (!line.Integer(n) || !line.Integer(h) || n < 1 || h < 1) return false;
        SetViewSize(n, h);
    } else if (command == "move") {
        if (!line.Point(a)) return false;
        MapMouseMove(a.x, a.y, false);
    } else if (command == "click") {
        if (!line.Point(a)) return false;
        MapLeftButtonDown(a.x, a.y);
        MapLeftButtonUp();
    } else if (command == "down") {
        if (!line.Point(a)) return false;
        MapLeftButtonDown(a.x, a.y);
    } else if (command == "up") {
        MapLeftButtonUp();
    } else if (command == "drag") {
        if (!line.Point(a) || !line.Point(b)) return false;
        MapLeftButtonDown(a.x, a.y);
        MapMouseMove(b.x, b.y, true);
        MapLeftButtonUp();
    } else if (command == "rclick") {
        if (!line.Point(a)) return false;
        MapRightButtonDown(a.x, a.y);
    } else if (command == "menu") {
        if (!line.Integer(n)) return false;
        MapThingMenuChosen(n);
    } else if (command == "press" || command == "release") {
        if (!line.Word(word) || (word != "ctrl" && word != "alt")) return false;
        if (command == "press") {
            if (!line.Point(a)) return false;
            if (word == "ctrl") ControlKeyDown(a.x, a.y);
            else AltKeyDown(a.x, a.y);
        } else {
            if (word == "ctrl") ControlKeyUp();
            else AltKeyUp();
        }
    } else if (command == "key") {
        if (!line.Word(word)) return false;
        if (word == "enter") EnterKeyDown();
        else if (word == "escape") EscapeKeyDown();
        else if (word == "delete") DeleteSelection();
        else if (word == "flip") FlipSelection();
        else return false;
    } else if (command == "sector") {
        std::vector<Pixel> corners;
        while (!line.AtEnd()) {
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
    } else if (command == "insert") {
        if (!line.Point(a)) return false;
        AltKeyDown(a.x, a.y);
        MapLeftButtonDown(a.x, a.y);
        MapLeftButtonUp();
        AltKeyUp();
    } else if (command == "thing") {
        if (!line.Integer(n) || !line.Point(a)) return false;
        if (MapRightButtonDown(a.x, a.y)) MapThingMenuChosen(n);
    } else if (command == "slot") {
        if (!line.Integer(n) || n < 1 || n > 32) return false;
        mapSlot = n;
    } else if (command == "clear") {
        ClearMap();
    } else if (command == "load" || command == "save") {
        const std::string path = line.Rest();
        if (path.empty()) return false;
        if (command == "load") {
            if (!LoadMapFile(path)) problem = "cannot load " + path;
        } else {
            SetMapFileName(path);
            if (!SaveMapFile()) problem = "cannot save " + path;
        }
        return problem.empty();
    } else {
        problem = "unknown command '" + command + "'";
        return false;
    }
    return line.AtEnd();
}

}  // namespace

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
            error = "line " + std::to_string(number) + ": " + (problem.empty() ? "cannot read '" + text + "'" : problem);
            return false;
        }
    }
    return true;
}
