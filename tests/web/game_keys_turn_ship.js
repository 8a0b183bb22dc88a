// The real game page takes keys as a player gives them: the first key starts it, A
// raises the laser sight, and holding Left turns the ship, which turns the sight's red
// line with it. Also measures the page's own work per frame and its frame rate. Last,
// an Escape tapped quicker than a frame ends the game, as on the desktop.
"use strict";
const path = require("path");
const { withSite } = require("./lib/page_driver");

const site = process.argv[2];
const shots = process.env.SCREENSHOT_DIR || path.join(site, "../screenshots");

// The direction of the sight's pure red pixels from the picture's centre, where the
// camera keeps the ship, as { degrees } clockwise from up; null without a sight. The
// wrapping matters: an unturned ship's sight points at exactly 0 degrees, which a
// wait would take for "not there yet".
function sightDirection(pixels) {
  let count = 0, sumX = 0, sumY = 0;
  for (let i = 0; i < pixels.length; i += 4) {
    if (pixels[i] === 255 && pixels[i + 1] === 0 && pixels[i + 2] === 0) {
      const p = i / 4;
      sumX += p % 640;
      sumY += Math.floor(p / 640);
      ++count;
    }
  }
  if (count < 50) return null;
  return { degrees: (Math.atan2(sumX / count - 320, 240 - sumY / count) * 180) / Math.PI };
}

const startPrompt = `document.getElementById("headline").textContent.startsWith("click")`;
const percentile = (sorted, share) => sorted[Math.min(sorted.length - 1, Math.floor(sorted.length * share))];

withSite(site, async (browser, address) => {
  const page = await browser.open(address + "/game.html?seed=3");
  await page.waitFor("the prompt to start", () => page.evaluate(startPrompt), 30);
  await page.press("Space");
  await page.waitFor("the game's first frames", () => page.evaluate(`Module.frameWork.length > 60`), 30);
  await page.press("KeyA");
  const before = (await page.waitFor("the laser sight", async () => sightDirection(await page.canvasPixels()), 10)).degrees;
  await page.screenshot(path.join(shots, "game_sight_before_turn.png"));
  await page.key("keyDown", "ArrowLeft");
  await new Promise((resolve) => setTimeout(resolve, 400));
  await page.key("keyUp", "ArrowLeft");
  const after = (await page.waitFor("the sight after the turn", async () => sightDirection(await page.canvasPixels()),
                                    10)).degrees;
  await page.screenshot(path.join(shots, "game_sight_after_turn.png"));
  const turned = ((before - after + 540) % 360) - 180; // to the left, positive
  console.log(`sight at ${before.toFixed(1)} degrees, after holding Left ${after.toFixed(1)}: turned ${turned.toFixed(1)} to the left`);
  if (!(turned > 20)) throw new Error("holding Left did not turn the ship to the left");

  const frames0 = await page.evaluate(`Module.frameWork.length`);
  const started = Date.now();
  await new Promise((resolve) => setTimeout(resolve, 5000));
  const work = await page.evaluate(`Module.frameWork.slice(${frames0})`);
  const rate = (work.length * 1000) / (Date.now() - started);
  const sorted = work.slice().sort((a, b) => a - b);
  console.log(`page frames: ${rate.toFixed(1)} a second; work per frame: median ${percentile(sorted, 0.5).toFixed(2)} ms, ` +
              `95th percentile ${percentile(sorted, 0.95).toFixed(2)} ms`);

  await page.press("Escape");
  await page.waitFor("the game's end after an Escape tap", () => page.evaluate(`document.title.endsWith("(exit 0)")`), 10);
});
