// Golden demos replayed by the real game page (?replay=NAME), through the browser
// backend: each must end with exit status 0, the recorded final state and picture.
// The page plays a demo at the speed it was recorded, so the tests take the short
// ones; with no names given, every golden demo is replayed (about six minutes).
//   node game_replays_golden_demos.js SITE [NAME...]
"use strict";
const fs = require("fs");
const path = require("path");
const { withSite } = require("./lib/page_driver");

const site = process.argv[2];
const named = process.argv.slice(3);
const demos = named.length > 0 ? named
  : fs.readdirSync(path.join(__dirname, "../data/demos")).filter((f) => f.endsWith(".demo")).map((f) => f.slice(0, -5));

withSite(site, async (browser, address) => {
  for (const demo of demos) {
    const page = await browser.open(address + "/game.html?replay=" + demo);
    await page.waitFor("the prompt to start", () => page.evaluate(`document.getElementById("headline").textContent.startsWith("click")`), 30);
    await page.press("Space");
    const title = await page.waitFor(demo + " to end", () => page.evaluate(`document.title.includes("(exit") && document.title`), 300);
    const verdict = await page.evaluate(`Module.printed.filter((line) => line.includes(".demo:")).join(" ")`);
    console.log(demo + ": " + title + ": " + verdict);
    if (!title.endsWith("(exit 0)")) throw new Error(demo + " did not replay as recorded: " + title + " " + verdict);
    await page.send("Page.close");
  }
});
