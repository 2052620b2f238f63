// Drawing the map view's scene with OpenGL 1.1 vertex arrays: one draw call
// per batch, the thing icons from one atlas texture in decal mode.
#include "view/renderer_win32.h"

#include <GL/gl.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "view/scene.h"
#include "view/view_transform.h"

namespace {

constexpr int kAtlasBitmap = 1002;
// The atlas pixels where the thing's own colour shows through.
constexpr uint8_t kKeyRed = 126, kKeyGreen = 127, kKeyBlue = 128;

HDC viewDc = nullptr;
HGLRC context = nullptr;
GLuint atlasTexture = 0;
Scene scene;  // kept so that its buffers are reused frame after frame

void LoadProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(viewCentreX - visibleWidth / 2, viewCentreX + visibleWidth / 2, viewCentreY - visibleHeight / 2,
            viewCentreY + visibleHeight / 2, -1, 1);
    glMatrixMode(GL_MODELVIEW);
}

// The 88 by 88 RGBA atlas, top row first, from the 24-bit bitmap resource
// (bottom row first, blue, green, red); empty when the resource is missing.
std::vector<uint8_t> ReadAtlas() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(kAtlasBitmap), MAKEINTRESOURCEW(2));  // RT_BITMAP
    if (!found) return {};
    HGLOBAL loaded = LoadResource(instance, found);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
    const DWORD size = SizeofResource(instance, found);
    if (!bytes || size < sizeof(BITMAPINFOHEADER)) return {};
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes, sizeof header);
    const int stride = (kAtlasSize * 3 + 3) & ~3;
    if (header.biWidth != kAtlasSize || header.biHeight != kAtlasSize || header.biBitCount != 24 ||
        header.biCompression != BI_RGB || size < header.biSize + static_cast<DWORD>(stride * kAtlasSize))
        return {};
    const uint8_t* pixels = bytes + header.biSize;
    std::vector<uint8_t> rgba(kAtlasSize * kAtlasSize * 4);
    for (int y = 0; y < kAtlasSize; ++y) {
        const uint8_t* row = pixels + (kAtlasSize - 1 - y) * stride;
        for (int x = 0; x < kAtlasSize; ++x) {
            const uint8_t b = row[3 * x], g = row[3 * x + 1], r = row[3 * x + 2];
            uint8_t* out = &rgba[(y * kAtlasSize + x) * 4];
            out[0] = r;
            out[1] = g;
            out[2] = b;
            out[3] = (r == kKeyRed && g == kKeyGreen && b == kKeyBlue) ? 0 : 255;
        }
    }
    return rgba;
}

void CreateAtlas() {
    const std::vector<uint8_t> rgba = ReadAtlas();
    glGenTextures(1, &atlasTexture);
    glBindTexture(GL_TEXTURE_2D, atlasTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    if (!rgba.empty()) {
        glTexImage2D(GL_TEXTURE_2D, 0, 4, kAtlasSize, kAtlasSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}

GLenum ModeOf(PrimitiveKind kind) {
    switch (kind) {
        case PrimitiveKind::kTriangles:
            return GL_TRIANGLES;
        case PrimitiveKind::kLines:
            return GL_LINES;
        case PrimitiveKind::kLineStrip:
            return GL_LINE_STRIP;
        case PrimitiveKind::kPoints:
            return GL_POINTS;
        case PrimitiveKind::kIconQuads:
            return GL_QUADS;
    }
    return GL_POINTS;
}

}  // namespace

bool SetupView(HWND view) {
    viewDc = GetDC(view);
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 32;
    pfd.iLayerType = PFD_MAIN_PLANE;
    const int format = ChoosePixelFormat(viewDc, &pfd);
    if (format == 0 || !SetPixelFormat(viewDc, format, &pfd)) return false;
    context = wglCreateContext(viewDc);
    if (!context || !wglMakeCurrent(viewDc, context)) {
        if (context) wglDeleteContext(context);
        context = nullptr;
        return false;
    }
    // Texturing stays on; the passes without icons have no texture bound.
    glEnable(GL_TEXTURE_2D);
    viewCentreX = viewCentreY = 0;
    RECT client;
    GetClientRect(view, &client);
    SetViewSize(client.right, client.bottom);
    glViewport(0, 0, viewWidth, viewHeight);
    LoadProjection();
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glPointSize(kPointSize);
    CreateAtlas();
    return true;
}

void ResizeView() {
    if (!context) return;
    glViewport(0, 0, viewWidth, viewHeight);
    LoadProjection();
}

void DrawFrame() {
    if (!context) return;
    BuildScene(scene);
    // Scrolling and zooming change the view between frames.
    LoadProjection();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glEnableClientState(GL_VERTEX_ARRAY);
    for (const SceneBatch& batch : scene.batches) {
        glColor3ub(batch.colour.r, batch.colour.g, batch.colour.b);
        if (batch.kind == PrimitiveKind::kIconQuads) {
            glBindTexture(GL_TEXTURE_2D, atlasTexture);
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glVertexPointer(2, GL_FLOAT, 0, scene.iconPoints.data());
            glTexCoordPointer(2, GL_FLOAT, 0, scene.iconTexCoords.data());
            glDrawArrays(GL_QUADS, static_cast<GLint>(batch.first), static_cast<GLsizei>(batch.count));
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            glBindTexture(GL_TEXTURE_2D, 0);
        } else {
            glVertexPointer(2, GL_FLOAT, 0, scene.points.data());
            glDrawArrays(ModeOf(batch.kind), static_cast<GLint>(batch.first), static_cast<GLsizei>(batch.count));
        }
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    SwapBuffers(viewDc);
}

void TearDownView() {
    if (!context) return;
    glDeleteTextures(1, &atlasTexture);
    atlasTexture = 0;
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
    context = nullptr;
}

bool ViewHasContext() { return context != nullptr; }
