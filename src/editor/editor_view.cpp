// The preview draws through the shared model drawing with whole-texel texture points,
// so it shows the ship exactly as the texture grid points select it; the status line
// sits above the grid's first row, so it never covers a cell.
#include "editor_view.h"

#include "platform.h"

namespace {

const Vec2f kPreviewOrigin{320.0f, 240.0f};
constexpr float kPreviewAngle = 0.0f;
constexpr float kPreviewScale = 5.0f; // not 1.0, which would mean the camera's zoom
constexpr int kPreviewBrightness = 8;

constexpr uint32_t kStatusColour = 0xFFFFFFFF;
constexpr uint32_t kNoticeColour = 0xFFFFFF00;
const Vec2f kStatusPosition{1.0f, 1.0f};
// One cell right of the longer mode word, "TEXTURE".
const Vec2f kNoticePosition{1.0f + 8.0f * 8.0f, 1.0f};

} // namespace

void drawPreview(Editor& editor)
{
    TRANSFORM(editor.model, kPreviewOrigin, kPreviewAngle, kPreviewScale, editor.camera, false);
    DRAW_MODEL(editor.model, kPreviewOrigin, kPreviewBrightness, editor.texture, true);
}

void drawStatusLine(const Editor& editor)
{
    const char* word = editor.mode == kModeLine ? "LINE" : "TEXTURE";
    DRAW_TEXT(nullptr, kStatusPosition.x, kStatusPosition.y, word, kStatusColour);
    if (!editor.notice.empty()) DRAW_TEXT(nullptr, kNoticePosition.x, kNoticePosition.y, editor.notice, kNoticeColour);
}
