// The status bar's texts.
#include "app/status_text.h"

#include <cmath>
#include <cstdio>

#include "app/frame_state.h"
#include "model/map.h"
#include "platform/shell.h"
#include "resources/game_tables.h"
#include "resources/thing_types.h"
#include "view/map_input.h"
#include "view/view_transform.h"

namespace {

// A number read from a file may lie outside a table: say so instead of
// reading past it.
const char* TableText(const char* const* table, int count, int32_t row) {
    return row >= 0 && row < count ? table[row] : "?";
}

// Toward zero, as the texts show coordinates; a value beyond int's range
// (a view scrolled very far) is held at its end instead of overflowing.
int Truncated(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483520.0f) return 2147483647;
    if (value <= -2147483648.0f) return -2147483647 - 1;
    return static_cast<int>(value);
}

std::string Format(const char* format, auto... values) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, values...);
    return buffer;
}

std::string FlagList(int32_t flags, const char* const* names, int count, const char* none) {
    if (flags == 0) return none;
    std::string text;
    for (int bit = 0; bit < count; ++bit) {
        if (flags & (1 << bit)) text += names[bit];
    }
    return text;
}

std::string SelectionText() {
    static const char* const kLinedefFlags[] = {"IM ", "BM ", "TS ", "UU ", "LU ", "SE ", "BS ", "NA ", "AA "};
    static const char* const kThingFlags[] = {"1/2 ", "3 ", "4/5 ", "deaf ", "net"};
    switch (selection.object ? selection.kind : kObjectNone) {
        case kObjectVertex: {
            const auto* v = static_cast<const Vertex*>(selection.object);
            return Format("Vertex  X %d Y%d", Truncated(v->x), Truncated(v->y));
        }
        case kObjectLinedef: {
            const auto* l = static_cast<const Linedef*>(selection.object);
            return "Linedef  Flags: " + FlagList(l->flags, kLinedefFlags, 9, "none ") +
                   Format(" Special: %s  Tag: %d", TableText(linedefSpecialNames, kNumLinedefSpecials, l->special),
                          l->tag);
        }
        case kObjectSector: {
            const auto* s = static_cast<const Sector*>(selection.object);
            return Format("Sector  Floor: %d  Ceiling: %d  Light: %d  Special: %s  Tag: %d", s->floorHeight,
                          s->ceilingHeight, s->light, TableText(sectorSpecialNames, kNumSectorSpecials, s->special),
                          s->tag);
        }
        case kObjectThing: {
            const auto* t = static_cast<const Thing*>(selection.object);
            const char* name = t->typeIndex >= 0 && t->typeIndex < kNumThingTypes ? thingTypes[t->typeIndex].name : "?";
            return Format("Thing (%s)  Angle: %d  Options: ", name, t->angle) +
                   FlagList(t->flags, kThingFlags, 5, "none");
        }
        default:
            return "無し";
    }
}

std::string ModeText() {
    switch (mapMode) {
        case MapMode::kPvsTest:
            return " PVSテストモード";
        case MapMode::kDrawSector:
            return " セクター描画モード";
        case MapMode::kInsertVertex:
            return " Vertex 挿入モード";
        default:
            return " 選択オブジェクト: " + SelectionText();
    }
}

}  // namespace

std::array<std::string, 4> StatusTexts() {
    std::array<std::string, 4> texts;
    texts[0] = ModeText();
    if (savedNote) texts[0] = " 保存しました";
    if (builtNote) texts[0] = " ビルドしました";
    savedNote = builtNote = 0;
    texts[1] = Format(" Center: X %d Y %d", Truncated(viewCentreX), Truncated(viewCentreY));
    texts[2] = Format(" Scale: %.03f", static_cast<double>(viewScale));
    texts[3] =
        Format(" Sectors: %d  Linedefs: %d  Vertices: %d  Things: %d", numsectors, numlinedefs, numvertices, numthings);
    return texts;
}

void UpdateStatusBar() {
    const auto texts = StatusTexts();
    for (int part = 0; part < 4; ++part) PlatformSetStatusText(part, texts[part]);
}

std::string PvsProgressText(int32_t done, int32_t total) {
    const int percent = total > 0 ? static_cast<int>(static_cast<int64_t>(done) * 100 / total) : 100;
    return Format(" PVS %d%%  (Esc で中止)", percent);
}
