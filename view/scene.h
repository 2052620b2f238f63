// What one frame of the map view draws, decided without a window: batches of
// lines, points, icon quads and polygons with their colours, in drawing order.
#pragma once

#include <cstdint>
#include <vector>

struct SceneColour {
    uint8_t r, g, b;
    friend bool operator==(const SceneColour&, const SceneColour&) = default;
};

constexpr SceneColour kGridColour = {112, 112, 112};
constexpr SceneColour kAxesColour = {0, 0, 0};
constexpr SceneColour kInvisibleLineColour = {160, 160, 160};
constexpr SceneColour kNormalColour = {255, 255, 255};      // linedefs, vertices and things
constexpr SceneColour kHighlightColour = {255, 0, 0};       // selected, hovered, or of the selected sector
constexpr SceneColour kDrawingColour = {255, 255, 0};       // the polygon being drawn and its first point
constexpr SceneColour kPvsChosenColour = {255, 0, 0};       // the PVS test's subsector
constexpr SceneColour kPvsVisibleColour = {255, 128, 128};  // subsectors it sees
constexpr SceneColour kPvsOtherColour = {128, 128, 128};

// The passes, in the order a frame draws them; each draws over the earlier.
enum class ScenePass : int32_t {
    kPvsOverlay,
    kGrid,
    kAxes,
    kInvisibleLines,
    kLinedefs,  // with the selected linedef's tick
    kVertices,
    kFirstDrawPoint,
    kThings,
    kDrawing,  // the polygon being drawn, up to the rubber-band point
};

enum class PrimitiveKind : int32_t {
    kTriangles,  // filled, three points each (subsector polygons as fans)
    kLines,      // two points each
    kLineStrip,  // one open strip
    kPoints,     // 5 pixels square
    kIconQuads,  // four points each, with atlas coordinates in iconTexCoords
};

constexpr float kPointSize = 5.0f;     // pixels
constexpr float kTickLength = 8.0f;    // pixels, the selected linedef's tick
constexpr float kSpotHalfSize = 8.0f;  // map units, the X of a thing without icon
constexpr int kAtlasSize = 88;         // pixels, 8 by 8 cells of 11
constexpr int kAtlasCells = 8;

// Consecutive primitives of one pass, kind and colour: one draw call.
struct SceneBatch {
    ScenePass pass;
    PrimitiveKind kind;
    SceneColour colour;
    uint32_t first;  // first point in points (iconPoints for icon quads)
    uint32_t count;  // points
};

struct Scene {
    std::vector<float> points;         // x, y in map units
    std::vector<float> iconPoints;     // x, y of the icon quads' corners
    std::vector<float> iconTexCoords;  // s, t of each corner in iconPoints
    std::vector<SceneBatch> batches;   // in drawing order
};

// Fills scene with the current frame from the map, the selection and hover,
// the mode and drawing buffer, the view and its options, the last build's
// tables and the PVS matrix. The buffers are reused from call to call.
void BuildScene(Scene& scene);

// The atlas coordinates of a thing category's icon: left, right, top, bottom.
void IconTexCoords(int32_t category, float& s0, float& s1, float& t0, float& t1);
