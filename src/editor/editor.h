// The ship editor's state and its three phases. main() only calls these, so a test
// can start the editor headlessly, script mouse, keys and clock, run frames and look
// at the model, the selection and the framebuffer.
#pragma once

#include "space/camera.h"
#include "editor/edit_history.h"
#include "model/model.h"
#include "space/vec2f.h"

#include <optional>
#include <string>
#include <vector>

struct Image;

constexpr int kModeLine = 0;    // the grid shows and moves the vertices (line ends)
constexpr int kModeTexture = 1; // the grid shows and moves the texture points (texEnds)

// The point of each line that the grid shows and edits in a mode: line.*editedPoint(mode).
constexpr Vec2f ModelLine::*editedPoint(int mode) { return mode == kModeLine ? &ModelLine::end : &ModelLine::texEnd; }

constexpr double kNotAsked = -1.0;

struct Editor {
    Editor() = default;
    Editor(const Editor&) = delete; // owns the texture image
    Editor& operator=(const Editor&) = delete;

    Model model;
    Camera camera; // only handed to TRANSFORM, whose scale of 5 does not read the zoom
    Image* texture = nullptr;
    std::string fileName = "Ship.mdata";
    // Where the editor reads and writes. The defaults are the working folder's data/,
    // edited in place, as when the editor is started in the folder that holds it.
    std::string dataFolder = "data";                // the texture is visual/ship2.png here
    std::string modelPath = "data/model/Ship.mdata"; // loaded at start-up and by L
    std::string savePath = "data/model/Ship.mdata";  // written by S; empty when there is nowhere to save
    std::string savedNotice; // the message after an S that worked: where it saved, when that is news
    bool fileNamed = false;  // the file was named on the command line: a missing one is a new model
    bool foreignFile = false; // the save path holds text that is no ship model: S asks before replacing it
    double replaceAskedAt = kNotAsked; // when S last asked before replacing that file
    int mode = kModeLine;
    bool gridShown = true; // false shows the textured preview
    int selected = 0;      // the line whose end the mouse moves; 0..last line, 0 when there is none
    bool hold = false;     // N is held this frame: the left button edits nothing
    int awaitedKey = 0;    // the scan code of a command that acted and is still held; 0 for none
    bool left = false;     // mouse buttons of this frame
    bool right = false;
    bool previousLeft = false;
    Vec2f pointer;      // screen pixels
    std::string notice; // why the last S or L failed, or where S saved; shown until the next S or L
    std::string message;       // a short answer to the last command, such as "Nothing to undo"
    double messageUntil = 0.0; // when the message goes
    EditHistory history;
    std::vector<ModelLine> savedLines; // the outline as the file holds it: unsaved changes differ from it
    std::optional<std::vector<ModelLine>> keeping; // the outline saved last, until the backend has kept it
    double quitAskedAt = kNotAsked;    // when Escape last asked before quitting with unsaved changes
    bool escapeHeld = false;           // Escape (or a close request) at the end of the last frame
    bool helpShown = false;            // F1: the keys are shown over the grid, and only F1 and Escape answer
    std::string title;                 // the window's title as last set
};

// Opens the window, makes the world one screen, allocates the depth buffer and loads
// the texture and the model (from the paths above, reading the model file once). A
// file named on the command line that does not exist yet starts a new model (the
// first triangle) that S creates it with. Returns 0 when the editor is ready. Otherwise returns the
// run-time error number that ends the program (its exit status) with abortMessage
// the text for standard error, and has shut down whatever it had started.
int startEditor(Editor& editor, std::string& abortMessage);
// Runs one frame; false once Escape (or the window's close button) ends the editor:
// at once without unsaved changes, else only when asked twice (see editor_quit.h).
bool runEditorFrame(Editor& editor);
// Frees the texture, the depth buffer and the model, and closes the window.
void endEditor(Editor& editor);
