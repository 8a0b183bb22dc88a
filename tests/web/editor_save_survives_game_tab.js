// Two tabs of one browser: a game page opened before the editor saves, and the editor.
// The editor's save is stored ("Saved to" under the grid, the title's "*" gone); a
// screenshot taken in the game tab afterwards stores nothing of the game tab's over
// it, and a new editor tab edits the saved ship. There, with the browser's storage
// full, a save says so and leaves the change unsaved.
"use strict";
const { withSite } = require("./lib/page_driver");

const site = process.argv[2];
const cell = { x: 89 + 14 * 7 + 7, y: 9 + 14 * 3 + 7 }; // the centre of grid cell (7, 3)

async function markerAtCell(page) {
  const pixels = await page.canvasPixels();
  const at = (cell.y * 640 + cell.x) * 4;
  return pixels[at] === 255 && pixels[at + 1] === 0 && pixels[at + 2] === 0;
}

const editorRunning = (page) =>
  page.waitFor("the editor's first frames", () => page.evaluate(`Module.frameWork.length > 10`), 30);

withSite(site, async (browser, address) => {
  const game = await browser.open(address + "/game.html?seed=3");
  await game.waitFor("the prompt to start", () => game.evaluate(`document.getElementById("headline").textContent.startsWith("click")`), 30);
  await game.press("Space");
  await game.waitFor("the game's first frames", () => game.evaluate(`Module.frameWork.length > 30`), 30);

  const editor = await browser.open(address + "/editor.html");
  await editorRunning(editor);
  if (await markerAtCell(editor)) throw new Error("the cell is marked before the click");
  await editor.click(cell.x, cell.y);
  await editor.waitFor("the selected vertex's marker in the clicked cell", () => markerAtCell(editor), 10);
  await editor.press("KeyS");
  await editor.waitFor("the save stored (no unsaved mark in the title)",
                       () => editor.evaluate(`document.title.startsWith("Ship.mdata")`), 10);

  await game.send("Page.bringToFront");
  await game.evaluate(`(() => {
    const saved = Module.onFileSaved;
    Module.onFileSaved = (path) => { window.savedByTest = path; saved(path); };
  })()`);
  await game.press("F12");
  await game.waitFor("the game's screenshot", () => game.evaluate(`(window.savedByTest || "").endsWith(".png")`), 10);

  const again = await browser.open(address + "/editor.html");
  await editorRunning(again);
  await again.waitFor("the saved vertex in a new editor tab", () => markerAtCell(again), 10);

  await again.evaluate(`IDBObjectStore.prototype.put = () => { throw new DOMException("full", "QuotaExceededError"); }`);
  await again.click(89 + 14 * 5 + 7, 9 + 14 * 5 + 7);
  await again.waitFor("the change's unsaved mark", () => again.evaluate(`document.title.startsWith("*")`), 10);
  await again.press("KeyS");
  const refused = "Ship.mdata not saved: the browser's storage for this site is full";
  await again.waitFor("the editor saying why the save failed", () => again.evaluate(`Module.printed.some((line) => line.endsWith(${JSON.stringify(refused)}))`), 10);
  if (!(await again.evaluate(`document.title.startsWith("*")`))) throw new Error("a refused save counts as saved");
  console.log("the ship saved in one tab survived a screenshot in the game tab opened before it; a full storage was said");
});
