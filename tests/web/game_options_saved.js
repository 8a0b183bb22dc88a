// The options in the game page: P pauses, O opens them, Left three times lowers the
// volume and the controls add T to thrust. Leaving them stores the settings file in
// the browser; a new game tab shows both on its options and controls pages exactly as
// the first tab left them.
"use strict";
const path = require("path");
const { withSite } = require("./lib/page_driver");

const site = process.argv[2];
const shots = process.env.SCREENSHOT_DIR || path.join(site, "../screenshots");

// The pages' first lines, selected when each opens: the options' Volume (no window
// size line in a page) and the controls' THRUST.
const volumeLine = { x: 96, y: 198, width: 448, height: 10 };
const thrustLine = { x: 8, y: 143, width: 624, height: 10 };
const optionsPanel = { x: 88, y: 167, width: 464, height: 146 };
const controlsPanel = { x: 0, y: 112, width: 640, height: 256 };

const pauseLine = { x: 240, y: 236, width: 160, height: 8 };

function whitePixels(pixels, box) {
  let count = 0;
  for (let y = box.y; y < box.y + box.height; ++y) {
    for (let x = box.x; x < box.x + box.width; ++x) {
      const at = (y * 640 + x) * 4;
      if (pixels[at] === 255 && pixels[at + 1] === 255 && pixels[at + 2] === 255) ++count;
    }
  }
  return count;
}

async function part(page, box) {
  const pixels = await page.canvasPixels();
  const rows = [];
  for (let y = box.y; y < box.y + box.height; ++y) {
    rows.push(pixels.slice((y * 640 + box.x) * 4, (y * 640 + box.x + box.width) * 4).join(","));
  }
  return rows.join(";");
}

// Presses the key and waits until the box shows its effect, so that no press falls
// into the same frame as the one before.
async function pressAndSee(page, code, box) {
  const before = await part(page, box);
  await page.press(code);
  await page.waitFor(code + " to change the page", async () => (await part(page, box)) !== before, 10);
}

async function openOptions(browser, address) {
  const page = await browser.open(address + "/game.html?seed=3");
  await page.waitFor("the prompt to start", () => page.evaluate(`document.getElementById("headline").textContent.startsWith("click")`), 30);
  await page.press("Space");
  await page.waitFor("the game's first frames", () => page.evaluate(`Module.frameWork.length > 30`), 30);
  await page.press("KeyP");
  await page.waitFor("the PAUSED line", async () => whitePixels(await page.canvasPixels(), pauseLine) > 100, 10);
  const paused = await part(page, optionsPanel);
  await page.press("KeyO");
  await page.waitFor("the options", async () => (await part(page, optionsPanel)) !== paused, 10);
  return page;
}

async function leaveAndQuit(page) {
  await pressAndSee(page, "Escape", controlsPanel);
  await pressAndSee(page, "Escape", optionsPanel);
  await page.press("Escape");
  await page.waitFor("the game's end", () => page.evaluate(`document.title.endsWith("(exit 0)")`), 10);
}

withSite(site, async (browser, address) => {
  const first = await openOptions(browser, address);
  for (let step = 0; step < 3; ++step) await pressAndSee(first, "ArrowLeft", volumeLine);
  const volume = await part(first, volumeLine);
  for (let step = 0; step < 3; ++step) await pressAndSee(first, "ArrowDown", optionsPanel); // to Controls
  await pressAndSee(first, "Enter", optionsPanel);
  await pressAndSee(first, "Enter", controlsPanel); // waits for THRUST's key
  await pressAndSee(first, "KeyT", controlsPanel);
  const thrust = await part(first, thrustLine);
  await first.screenshot(path.join(shots, "game_options_controls.png"));
  await first.evaluate(`(() => {
    const saved = Module.onFileSaved;
    Module.onFileSaved = (path) => { window.savedByTest = path; saved(path); };
  })()`);
  await leaveAndQuit(first);
  await first.waitFor("the settings stored", () => first.evaluate(`(window.savedByTest || "").endsWith("settings.ini")`), 10);

  const again = await openOptions(browser, address);
  if ((await part(again, volumeLine)) !== volume) throw new Error("the new tab's volume is not the one the first left");
  for (let step = 0; step < 3; ++step) await pressAndSee(again, "ArrowDown", optionsPanel);
  await pressAndSee(again, "Enter", optionsPanel);
  if ((await part(again, thrustLine)) !== thrust) throw new Error("the new tab's THRUST keys are not the ones the first left");
  await leaveAndQuit(again);
  console.log("the volume and the key set in one tab's options were in effect in a new tab");
});
