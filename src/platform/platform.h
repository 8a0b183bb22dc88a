// Platform services: the one 640 by 480 32-bit screen, drawing primitives, keyboard,
// mouse, timer, sleep and the seeded generator. Two backends implement this header,
// chosen at link time: a real SDL2 window, a browser page, and a headless one for
// tests, benchmarks and runners (see headless.h). Logic never talks to SDL or the
// browser except through here.
//
// Coordinates given to the primitives are floats in screen pixels, (0, 0) top left,
// y down, each rounded half away from zero to a pixel. Every primitive clips to its
// target and takes a screen lock of its own, so nothing is shown until the caller's
// outermost SCREEN_UNLOCK. Truth values are -1 (true) and 0 (false).
#pragma once

#include "render/framebuffer.h" // SCREEN_WIDTH, SCREEN_HEIGHT

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <string>

struct Image;

// How the window shows: a multiple of 640 x 480 (reduced to what the desktop has room
// for) and whether it fills the screen; applied at once to an open window, else at the
// next SCREEN_OPEN. Default: 1, windowed. Where the page decides (the browser), only
// fullscreen is asked for, and the page may refuse it.
void SCREEN_WINDOW_MODE(int scale, bool fullscreen);
// Whether the open window fills the screen now (Alt+Enter and F11 switch it).
bool SCREEN_FULLSCREEN();
// The largest multiple of 640 x 480 the desktop has room for; 0 where the window's
// size is not the program's to choose (a browser page).
int SCREEN_LARGEST_SCALE();
// Opens the window; 0 on success, non-zero on failure (reason in SCREEN_ERROR()).
// Only 640 x 480 x 32 with one page is supported. Flags and rate are accepted for
// the callers' sake; no mode depends on them.
int SCREEN_OPEN(int width, int height, int depth, int pages, int flags, int rate);
// Why the last SCREEN_OPEN failed, in words for the user.
std::string SCREEN_ERROR();
void SCREEN_CLOSE();
// The window's caption; may be set before or after SCREEN_OPEN.
void SCREEN_TITLE(const std::string& title);
// The window's icon, which the desktop shows in its task bar and switcher; may be set
// before or after SCREEN_OPEN. The pixels are copied; null sets none.
void SCREEN_ICON(const Image* icon);

// Locks nest. Presentation happens when the outermost unlock brings the count to 0;
// rows first..last are marked changed (negative first = 0, negative last = bottom).
void SCREEN_LOCK();
void SCREEN_UNLOCK(int firstRow = -1, int lastRow = -1);
// Pixel (0, 0) of the framebuffer, null when no screen is open. Valid while the screen is
// open; drawing into it shows only at an outermost unlock, but reading needs no lock.
uint8_t* SCREEN_POINTER();
void SCREEN_INFO(int& width, int& height, int& depth, int& bytesPerPixel, int& pitch, int& rate);
// Fills the screen with opaque black.
void SCREEN_CLEAR();
// A picture laid over the screen with its top left at (x, y) whenever the screen is
// shown, until it is replaced or removed (null). The framebuffer under it stays as
// drawn, so what a screenshot or a frame hash reads never holds it. Pixels whose alpha
// is 0 let the screen show through. The caller keeps the image alive while it is laid;
// the change shows at the next presentation. Each layer holds one picture; a higher
// layer lies over a lower one.
constexpr int OVERLAY_NOTICE = 0; // a passing message
constexpr int OVERLAY_CORNER = 1; // a standing one, such as a countdown
constexpr int OVERLAY_LAYERS = 2;
void SCREEN_OVERLAY(const Image* overlay, int x, int y, int layer = OVERLAY_NOTICE);
// Returns at the next vertical retrace, or at once where presentation already waits.
void WAIT_VSYNC();

constexpr int LINE_KIND_LINE = 0;
constexpr int LINE_KIND_BOX = 1;
constexpr uint16_t LINE_STYLE_SOLID = 0xFFFF;

// Kind 0: the line from (x1, y1) to (x2, y2), both ends included. Kind 1: the outline
// of the box with those corners. The 16-bit style starts at (x1, y1) with bit 15 and
// advances one bit per pixel; a pixel is drawn where its bit is 1.
void DRAW_LINE(Image* target, float x1, float y1, float x2, float y2, uint32_t colour,
               int kind = LINE_KIND_LINE, uint16_t style = LINE_STYLE_SOLID);

// Circle (or ellipse, for an aspect other than 0 and 1) around (x, y). Angles are
// radians counter-clockwise from the positive x axis as seen on screen; a span of a
// full turn or more draws the whole outline. A radius of 0 or less draws nothing.
// A non-zero fill fills the disc (restricted to the arc's sector for a partial arc).
void DRAW_CIRCLE(Image* target, float x, float y, float radius, uint32_t colour, float aspect,
                 float startAngle, float endAngle, int fill);

// Text in the built-in 8 by 8 font, the first cell's top left at (x, y). Only the
// glyphs' set pixels are written; characters outside printable ASCII draw nothing.
void DRAW_TEXT(Image* target, float x, float y, const std::string& text, uint32_t colour);

// Scan codes of the PC keyboard's set 1.
namespace scancode {
constexpr int ESCAPE = 1;
constexpr int W = 17;
constexpr int Y = 21;
constexpr int I = 23;
constexpr int CTRL = 29; // either Ctrl key
constexpr int A = 30;
constexpr int S = 31;
constexpr int G = 34;
constexpr int L = 38;
constexpr int LEFT_SHIFT = 42;
constexpr int Z = 44;
constexpr int X = 45;
constexpr int N = 49;
constexpr int M = 50;
constexpr int RIGHT_SHIFT = 54;
constexpr int SPACE = 57;
constexpr int F1 = 59;
constexpr int UP = 72;
constexpr int PAGE_UP = 73;
constexpr int LEFT = 75;
constexpr int RIGHT = 77;
constexpr int DOWN = 80;
constexpr int PAGE_DOWN = 81;
constexpr int INSERT = 82;
constexpr int DELETE = 83;
} // namespace scancode

// -1 while the key is held, 0 otherwise; codes outside 0..127 give 0. Closing the
// window counts as holding Escape from then on, until CANCEL_CLOSE. While keys are
// held (HOLD_KEYS) the answer comes from the held set instead, except that Escape is
// also read live.
int KEY_DOWN(int scanCode);
// Answers the window's pending close request "not yet": Escape reads as the key
// alone again, until the next request. A program that never calls it quits on close.
void CANCEL_CLOSE();

// The set-1 codes down for one frame, decided once by the loop around the rules.
using KeySet = std::bitset<128>;
// KEY_DOWN answers from this set until RELEASE_KEYS.
void HOLD_KEYS(const KeySet& keys);
void RELEASE_KEYS();

// Keys by their position (key_positions.h; 0 is no key), for key maps that the user
// writes with SDL's key names ("Left Ctrl", "Keypad 8"), whatever the backend.
int KEY_BY_NAME(const std::string& name); // 0 for a name no key has
std::string KEY_NAME(int key);
// Down now, or tapped since the last frame boundary.
bool KEY_HELD(int key);
// Down at this moment: unlike KEY_HELD, a tap that is up again does not count.
bool KEY_DOWN_NOW(int key);
// Went down since the last frame boundary (the outermost unlock, PUMP_EVENTS or
// WAIT_EVENTS), even if it is already up again.
bool KEY_PRESSED(int key);

// Text typed as the keyboard's layout shows it, for entering a name: kept only between
// TEXT_INPUT_START and TEXT_INPUT_STOP. The keys go on being read by position as well,
// so Backspace and Enter are read as keys; they type no text.
void TEXT_INPUT_START();
void TEXT_INPUT_STOP();
// The text (UTF-8) typed since the last call or the start, which it then forgets.
std::string TEXT_TYPED();

// The window lost the keyboard focus, or was minimised, since the last frame boundary.
bool FOCUS_LOST();
// Sleeps until an event arrives or the time is up, then processes pending events as a
// frame boundary: how a program that shows no new frames waits without using the CPU.
void WAIT_EVENTS(int milliseconds);

// Game controllers, numbered as SDL numbers its controller buttons and axes.
namespace pad {
enum Button { A, B, X, Y, BACK, GUIDE, START, LEFT_STICK, RIGHT_STICK, LEFT_SHOULDER, RIGHT_SHOULDER,
              DPAD_UP, DPAD_DOWN, DPAD_LEFT, DPAD_RIGHT, BUTTON_COUNT };
enum Axis { LEFT_X, LEFT_Y, RIGHT_X, RIGHT_Y, LEFT_TRIGGER, RIGHT_TRIGGER, AXIS_COUNT };
constexpr int kAxisFull = 32767; // sticks run -32768..32767 (up and left negative), triggers 0..32767
} // namespace pad

// Every connected controller at once: a button is held or pressed when any controller's
// is; each axis reads as the controller furthest from rest.
struct PadState {
    uint32_t held = 0;    // bit n: button n down
    uint32_t pressed = 0; // bit n: button n went down since the last frame boundary
    std::array<int, pad::AXIS_COUNT> axes{};
};
// Starts watching for controllers: those plugged in already and any plugged in later
// are opened, those unplugged are let go. A controller SDL has no mapping for is named
// on standard error once and ignored.
void PADS_OPEN();
PadState PADS_READ();

constexpr int MOUSE_LEFT = 1;
constexpr int MOUSE_RIGHT = 2;
constexpr int MOUSE_MIDDLE = 4;

// Pointer position in framebuffer pixels, wheel position, button bits. All five
// outputs are -1 when the pointer is not over the picture (or there is no window).
// A button pressed since the last call is reported down even if it is already up
// again, at the place it was pressed, so no click is lost between two frames.
void MOUSE_GET(int& x, int& y, int& wheel, int& buttons, int& clip);
// Moves the pointer to framebuffer pixel (x, y), or leaves it where it is when x or y
// is negative; visibility 0 hides it, positive shows it, negative leaves it. A clip of -1 leaves the pointer's confinement as it is.
void MOUSE_SET(int x, int y, int visibility, int clip);
// Processes pending window events (keyboard and mouse state included).
void PUMP_EVENTS();

// Seconds from a fixed start, sub-millisecond resolution, as the rules see them: the
// reading held by HOLD_TIMER while there is one, else the real clock. Only differences
// matter.
double TIMER_SECONDS();
// The real clock, running on whatever TIMER_SECONDS is held at.
double REAL_SECONDS();
// TIMER_SECONDS answers this reading until the next HOLD_TIMER or RELEASE_TIMER: the
// game clock of the loop around the rules, which stops while the game is paused.
void HOLD_TIMER(double seconds);
void RELEASE_TIMER();
// Sleeps the whole time, pumping window events; a key press does not cut it short.
void SLEEP_MS(int milliseconds);

// Runs frame until it returns false, then returns finish's exit status. A browser
// page must have control back after every frame: there each frame is one call from
// the page's frame loop, this call never returns (its caller's locals stay where
// they are, for the frames to use), and finish's status ends the page's program.
int RUN_FRAMES(const std::function<bool()>& frame, const std::function<int()>& finish);

// Requests to a web server (the leaderboard), never waited for: HTTP_START returns at
// once with the request's number, and HTTP_POLL, called on later turns, moves the
// transfers on and answers once the request is done, forgetting it then. The desktop
// uses libcurl (https, and the proxies the environment names); the browser, fetch,
// where the page asks the player once before it sends anything with a body.
struct HttpReply {
    int status = 0;    // the server's status; 0 when no answer came
    std::string body;
    std::string error; // why no answer came, in a few words
};
int HTTP_START(const std::string& method, const std::string& url, const std::string& body);
bool HTTP_POLL(int request, HttpReply& reply);
// The server the program was loaded from ("https://host:port"), "" where it was not.
std::string HTTP_HOME();

void RANDOM_SEED(double seed);
// Uniformly distributed in [0, 1).
double RANDOM_UNIT();
