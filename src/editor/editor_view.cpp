// The preview draws through the shared model drawing with whole-texel texture points,
// so it shows the ship exactly as the texture grid points select it. The status line
// sits above the grid's first row and the message line below its last, so neither
// ever covers a cell.
#include "editor/editor_view.h"

#include "editor/editor_grid.h"
#include "editor/editor_quit.h"
#include "platform/platform.h"

#include <cstdio>

namespace {

const Vec2f kPreviewOrigin{320.0f, 240.0f};
constexpr float kPreviewAngle = 0.0f;
constexpr float kPreviewScale = 5.0f; // not 1.0, which would mean the camera's zoom
constexpr int kPreviewBrightness = 8;

constexpr uint32_t kStatusColour = 0xFFFFFFFF;
constexpr uint32_t kMessageColour = 0xFFFFFF00;
const Vec2f kStatusPosition{1.0f, 1.0f};
// One cell right of the longer mode word, "TEXTURE".
const Vec2f kSelectionPosition{1.0f + 8.0f * 8.0f, 1.0f};
const Vec2f kMessagePosition{1.0f, kGridBottom + 1.0f}; // just under the grid

// The game's nose, tail and flames are drawn from lines 0 to 3.
constexpr size_t kLinesTheGameNeeds = 4;

// Whole numbers without a decimal point, halves (after an Insert) with one.
std::string coordinate(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::string selectionText(const Editor& editor)
{
    const auto& lines = editor.model.lines;
    if (lines.empty()) return "no lines: Insert adds a triangle";
    const Vec2f point = lines[editor.selected].*editedPoint(editor.mode);
    return "line " + std::to_string(editor.selected + 1) + " of " + std::to_string(lines.size()) + " at (" +
           coordinate(point.x) + ", " + coordinate(point.y) + ")";
}

std::string messageText(const Editor& editor)
{
    if (std::string question = quitQuestion(editor); !question.empty()) return question;
    if (TIMER_SECONDS() < editor.messageUntil) return editor.message;
    if (!editor.notice.empty()) return editor.notice;
    const size_t lines = editor.model.lines.size();
    if (lines < kLinesTheGameNeeds) {
        return std::to_string(lines) + (lines == 1 ? " line" : " lines") +
               ": the game needs 4 for the nose, tail and flames";
    }
    return {};
}

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
    DRAW_TEXT(nullptr, kSelectionPosition.x, kSelectionPosition.y, selectionText(editor), kStatusColour);
}

void drawMessageLine(const Editor& editor)
{
    DRAW_TEXT(nullptr, kMessagePosition.x, kMessagePosition.y, messageText(editor), kMessageColour);
}

std::string editorTitle(const Editor& editor)
{
    return (hasUnsavedChanges(editor) ? "*" : "") + editor.fileName + " - Ship Editor";
}

void showTitle(Editor& editor)
{
    std::string title = editorTitle(editor);
    if (title == editor.title) return;
    SCREEN_TITLE(title);
    editor.title = std::move(title);
}
