// A challenge shortened for the test plays to its end in the real page: the result
// screen asks for a name, typed as text, and Enter enters the run, with its demo, in
// the shortened runs' tables in the browser's storage, where the demo, moved beside its
// entry, is kept under its new path only; Escape then ends the game.
"use strict";
const path = require("path");
const { withSite } = require("./lib/page_driver");

const site = process.argv[2];
const shots = process.env.SCREENSHOT_DIR || path.join(site, "../screenshots");
const tables = "/home/web_user/.local/share/space-game/challenge/shortened";

// The marked line's colour on the canvas: the name being typed, then the run's row.
const markedPixels = (pixels) => {
  let count = 0;
  for (let i = 0; i < pixels.length; i += 4) {
    if (pixels[i] === 0xff && pixels[i + 1] === 0xd0 && pixels[i + 2] === 0x40) ++count;
  }
  return count > 100;
};

// The entry's text once it is in the folder and kept in the browser's storage.
const storedEntry = `(() => {
  if (!FS.analyzePath(${JSON.stringify(tables)}).exists || Module.writesPending()) return "";
  const name = FS.readdir(${JSON.stringify(tables)}).find((file) => file.endsWith(".score"));
  return name ? FS.readFile(${JSON.stringify(tables)} + "/" + name, { encoding: "utf8" }) : "";
})()`;

// The paths the browser's storage holds (stored_files.js keeps one record per file).
const storedPaths = `new Promise((resolve, reject) => {
  const opening = indexedDB.open("/home/web_user");
  opening.onerror = () => reject(opening.error);
  opening.onsuccess = () => {
    const listing = opening.result.transaction("FILE_DATA").objectStore("FILE_DATA").getAllKeys();
    listing.onsuccess = () => resolve(listing.result);
    listing.onerror = () => reject(listing.error);
  };
})`;

withSite(site, async (browser, address) => {
  const page = await browser.open(address + "/game.html?challenge&challenge-steps=120");
  await page.waitFor("the prompt to start", () => page.evaluate(`document.getElementById("headline").textContent.startsWith("click")`), 30);
  await page.press("Space"); // any key starts the game
  await page.waitFor("the time-up line", () => page.evaluate(`Module.printed.some((line) => / \\(a shortened test run\\)$/.test(line))`), 60);
  await page.waitFor("the name entry", async () => markedPixels(await page.canvasPixels()), 10);
  await page.screenshot(path.join(shots, "game_challenge_name_entry.png"));
  await page.type("Tester 1");
  await page.press("Enter");
  const entry = await page.waitFor("the run's entry, stored", () => page.evaluate(storedEntry), 20);
  if (!entry.includes("\nname=Tester 1\n")) throw new Error("the entry does not hold the typed name: " + entry);
  const demo = /\ndemo=(.+)\n/.exec(entry);
  if (!demo || !(await page.evaluate(`FS.analyzePath(${JSON.stringify(tables + "/")} + ${JSON.stringify(demo ? demo[1] : "")}).exists`))) {
    throw new Error("the run's demo is not beside its entry: " + entry);
  }
  const stored = await page.evaluate(storedPaths);
  const demos = stored.filter((file) => file.endsWith("/" + demo[1]));
  if (demos.length !== 1 || !demos[0].startsWith(tables + "/")) {
    throw new Error("the browser's storage does not hold the demo beside its entry only: " + JSON.stringify(stored));
  }
  await page.waitFor("the result screen", async () => markedPixels(await page.canvasPixels()), 10);
  await page.screenshot(path.join(shots, "game_challenge_result.png"));
  console.log("entered: " + entry.split("\n").slice(1, 5).join(", "));
  await page.press("Escape");
  await page.waitFor("the game's end", () => page.evaluate(`document.title.endsWith("(exit 0)")`), 10);
});
