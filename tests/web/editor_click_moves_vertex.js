// The real editor page takes a click: the selected vertex (its red marker) moves to
// the clicked grid cell. Leaving with that change unsaved asks first. S saves the ship
// into the browser's storage, and a reload at once, while the page may still be
// storing it, edits the saved ship.
"use strict";
const path = require("path");
const { withSite } = require("./lib/page_driver");

const site = process.argv[2];
const shots = process.env.SCREENSHOT_DIR || path.join(site, "../screenshots");
const cell = { x: 89 + 14 * 5 + 7, y: 9 + 14 * 5 + 7 }; // the centre of grid cell (5, 5)

async function markerAtCell(page) {
  const pixels = await page.canvasPixels();
  const at = (cell.y * 640 + cell.x) * 4;
  return pixels[at] === 255 && pixels[at + 1] === 0 && pixels[at + 2] === 0;
}

withSite(site, async (browser, address) => {
  const page = await browser.open(address + "/editor.html");
  await page.waitFor("the editor's first frames", () => page.evaluate(`Module.frameWork.length > 10`), 30);
  if (await markerAtCell(page)) throw new Error("the cell is marked before the click");
  await page.screenshot(path.join(shots, "editor_before_click.png"));
  await page.click(cell.x, cell.y);
  await page.waitFor("the selected vertex's marker in the clicked cell", () => markerAtCell(page), 10);
  await page.screenshot(path.join(shots, "editor_after_click.png"));

  page.leaveWhenAsked = false;
  await page.evaluate(`location.reload()`);
  if (!page.dialogs.includes("beforeunload")) throw new Error("the page let an unsaved change go without asking");
  await page.waitFor("the editor, kept, still showing the change", () => markerAtCell(page), 10);

  page.leaveWhenAsked = true;
  await page.press("KeyS");
  const own = "/home/web_user/.local/share/space-game/model/Ship.mdata";
  await page.waitFor("the saved ship", () => page.evaluate(`FS.analyzePath("${own}").exists`), 10);
  await page.send("Page.reload");
  await page.waitFor("the editor's frames after a reload", () => page.evaluate(`Module.frameWork.length > 10`), 30);
  await page.waitFor("the saved vertex after the reload", () => markerAtCell(page), 10);
  console.log("the click moved the vertex, leaving unsaved asked, and the saved ship came back after a reload");
});
