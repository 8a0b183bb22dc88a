// The editor started headlessly in a scratch folder of its own: data/model/Ship.mdata
// holds the model a test chooses and data/visual/ship2.png the real texture, so no
// test ever writes the repository's data. Helpers script keys, mouse and frames.
#pragma once

#include "editor/editor.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

namespace editor_test {

namespace fs = std::filesystem;

// A model from its vertices (line ends) and texture points (texEnds), closed.
inline Model modelWith(std::initializer_list<Vec2f> ends, std::initializer_list<Vec2f> texEnds)
{
    Model model;
    for (const Vec2f end : ends) {
        ModelLine line;
        line.end = end;
        model.lines.push_back(line);
    }
    size_t i = 0;
    for (const Vec2f texEnd : texEnds) model.lines.at(i++).texEnd = texEnd;
    model.transformed.resize(model.lines.size());
    SEAL(model);
    return model;
}

// Four lines: a diamond around the origin, with texture points inside the texture.
inline Model diamond()
{
    return modelWith({{0, -10}, {8, 0}, {0, 10}, {-8, 0}}, {{16, 4}, {26, 16}, {16, 28}, {6, 16}});
}

inline bool sameLine(const ModelLine& a, const ModelLine& b)
{
    return a.start == b.start && a.end == b.end && a.spare1 == b.spare1 && a.spare2 == b.spare2 &&
           a.texStart == b.texStart && a.texEnd == b.texEnd && a.colour.r == b.colour.r && a.colour.g == b.colour.g &&
           a.colour.b == b.colour.b && a.colour.spare == b.colour.spare;
}

inline bool sameModel(const Model& a, const Model& b)
{
    auto sameLines = [](const std::vector<ModelLine>& x, const std::vector<ModelLine>& y) {
        if (x.size() != y.size()) return false;
        for (size_t i = 0; i < x.size(); ++i) {
            if (!sameLine(x[i], y[i])) return false;
        }
        return true;
    };
    return a.centre == b.centre && a.spare == b.spare && a.radius == b.radius && sameLines(a.lines, b.lines) &&
           sameLines(a.transformed, b.transformed);
}

inline std::string fileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Screen pixel (x, y) of the last frame.
inline uint32_t screenPixel(int x, int y) { return reinterpret_cast<const uint32_t*>(SCREEN_POINTER())[y * 640 + x]; }

// The message line under the grid shows exactly this text (in yellow) and nothing
// else. Leaves the screen cleared.
inline bool messageLineShows(const std::string& text)
{
    const uint32_t* screen = reinterpret_cast<const uint32_t*>(SCREEN_POINTER());
    const std::vector<uint32_t> shown(screen + 472 * 640, screen + 480 * 640);
    SCREEN_CLEAR();
    DRAW_TEXT(nullptr, 1, 472, text, 0xFFFFFF00);
    return std::equal(shown.begin(), shown.end(), screen + 472 * 640);
}

// The centre pixel of grid cell (column, row).
inline int cellCentreX(int column) { return 89 + 14 * column + 7; }
inline int cellCentreY(int row) { return 9 + 14 * row + 7; }

class EditorScratch : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::copy_file(fs::path(SOURCE_DIR) / "data" / "visual" / "ship2.png", fs::path("data") / "visual" / "ship2.png");
        headless::reset();
    }
    void TearDown() override
    {
        if (started) endEditor(editor);
        headless::reset();
    }

    // Writes the model file through the model module itself, as the editor would.
    static void writeShip(const Model& model) { ASSERT_TRUE(SAVE(model, "Ship.mdata")); }
    static fs::path shipPath() { return fs::path("data") / "model" / "Ship.mdata"; }

    void start(const Model& model)
    {
        writeShip(model);
        std::string message;
        ASSERT_EQ(startEditor(editor, message), 0) << message;
        started = true;
    }

    // One frame with the pointer on a grid cell and the given buttons.
    bool frameOnCell(int column, int row, int buttons)
    {
        headless::setMouse(cellCentreX(column), cellCentreY(row), buttons);
        return runEditorFrame(editor);
    }

    // A press: the key goes down before a frame and stays down for the given number
    // of event pumps, as a user holding it would, while frames run until the editor
    // has seen it up again (the command's frame, frames that only wait for the key,
    // and the frame that finds it up). whileHeld runs at each of those pumps, before
    // the key may go up.
    bool frameHoldingKey(int scanCode, int pumps = 10, std::function<void()> whileHeld = {})
    {
        headless::setKey(scanCode, true);
        int seen = 0;
        headless::onPump([&, scanCode] {
            if (seen >= pumps) return;
            if (whileHeld) whileHeld();
            if (++seen == pumps) headless::setKey(scanCode, false);
        });
        bool running = true;
        for (int frame = 0; frame <= pumps && (seen < pumps || editor.awaitedKey == scanCode) && running; ++frame) {
            running = runEditorFrame(editor);
        }
        headless::onPump({});
        headless::setKey(scanCode, false);
        return running;
    }

    ScratchFolder scratch{"editor_test", {"model", "visual"}};
    Editor editor;
    bool started = false;
};

} // namespace editor_test
