// The settings the game saves in the browser are kept there and read by the next game
// page before it starts: a settings file saved in one tab (as the backend reports each
// save) is stored, and a new tab's game names its bad line as the desktop would.
"use strict";
const { withSite } = require("./lib/page_driver");

const site = process.argv[2];
const settings = "/home/web_user/.config/space-game/settings.ini";
const startPrompt = `document.getElementById("headline").textContent.startsWith("click")`;

withSite(site, async (browser, address) => {
  const first = await browser.open(address + "/game.html");
  await first.waitFor("the prompt to start", () => first.evaluate(startPrompt), 30);
  await first.evaluate(`(() => {
    FS.mkdirTree(${JSON.stringify(settings.substring(0, settings.lastIndexOf("/")))});
    FS.writeFile(${JSON.stringify(settings)}, "volume = 20\\nspeed = 3\\n");
    Module.onFileSaved(${JSON.stringify(settings)});
  })()`);
  await first.waitFor("the settings stored", () => first.evaluate(`Module.fileState(${JSON.stringify(settings)}) === 0`), 10);

  const next = await browser.open(address + "/game.html");
  await next.waitFor("the prompt to start", () => next.evaluate(startPrompt), 30);
  await next.press("Space");
  const warning = `settings.ini:2: unknown setting "speed"; line ignored`;
  await next.waitFor("the stored file's bad line named", () => next.evaluate(`Module.printed.some((line) => line.endsWith(${JSON.stringify(warning)}))`), 30);
  console.log("settings saved in one game tab were read by the next");
});
