// The leaderboard's board page, served with the site by the real server program: the
// golden challenge run, sent as a player's, is verified and listed, and its "watch"
// link opens the game page, which fetches the run's demo from the server and replays
// it (watched until it runs with that demo, not for its three minutes); the page asks
// the player once before it sends anything.
//   node board_watch_replays_run.js SITE SERVER_PROGRAM
"use strict";
const { spawn } = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");
const { withBrowser } = require("./lib/page_driver");

const [site, serverProgram] = process.argv.slice(2);
const golden = fs.readFileSync(path.join(__dirname, "../data/demos/challenge_2026_12_01.demo"));

// A bounded poll of what(), which answers undefined while it is not there yet.
async function poll(description, what, seconds, seen = () => "") {
  for (const end = Date.now() + seconds * 1000; Date.now() < end;) {
    const answer = await what();
    if (answer !== undefined) return answer;
    await new Promise((resolve) => setTimeout(resolve, 200));
  }
  throw new Error("gave up after " + seconds + " s waiting for " + description + "; last seen: " + seen());
}

if (!fs.existsSync(serverProgram)) {
  console.error("FAILED: no server program at " + serverProgram + " (build the native server first)");
  process.exit(1);
}
const work = fs.mkdtempSync(path.join(os.tmpdir(), "board-watch-"));
// The golden run's day is long past: the server's day is the day after, when it is still taken.
const server = spawn(serverProgram, ["--listen", "127.0.0.1:0", "--database", "sqlite:" + path.join(work, "runs.sqlite"),
                                     "--site", path.resolve(site)],
                     { env: { ...process.env, SPACE_GAME_SERVER_TODAY: "2026-12-02" }, stdio: ["ignore", "pipe", "pipe"] });
let said = "";
server.stdout.on("data", (chunk) => { said += chunk; });
server.stderr.on("data", (chunk) => { said += chunk; });
const stopServer = () => {
  server.kill("SIGTERM");
  fs.rmSync(work, { recursive: true, force: true });
};

withBrowser(site, async (browser) => {
  const base = await poll("the server to say where it listens",
                          () => (said.match(/http:\/\/127\.0\.0\.1:\d+/) || [])[0], 30, () => said);
  const sent = await fetch(base + "/api/runs?name=" + encodeURIComponent("<Ada>"), { method: "POST", body: golden });
  const { id } = await sent.json();
  if (sent.status !== 202 || !id) throw new Error("the run was not taken: " + sent.status);
  let run = {};
  await poll("run " + id + " to be verified", async () => {
    run = await (await fetch(base + "/api/runs/" + id)).json();
    if (run.status === "rejected") throw new Error("the golden run was rejected: " + run.reason);
    return run.status === "verified" ? true : undefined;
  }, 120, () => JSON.stringify(run) + " " + said);

  const board = await browser.open(base + "/boards/2026-12-01");
  const link = await board.waitFor("the run's watch link on the board", () => board.evaluate(
    `[...document.querySelectorAll("a")].filter((a) => a.textContent === "watch").map((a) => a.href).join(" ")`), 30);
  if (link !== base + "/game.html?run=" + id) throw new Error("the watch link is " + link);
  const name = await board.evaluate(`document.body.textContent.includes("<Ada>")`);
  if (!name) throw new Error("the board does not show the name as typed");
  await board.evaluate(`[...document.querySelectorAll("a")].find((a) => a.textContent === "watch").click()`);

  await board.waitFor("the game page's prompt to start", () => board.evaluate(
    `location.search === "?run=${id}" && document.getElementById("headline").textContent.startsWith("click")`), 60);
  await board.press("Space");
  const fetched = await board.waitFor("the replay to run with the run's demo", () => board.evaluate(
    `Module.framesRunning && FS.readFile("/tmp/run.demo").length`), 60);
  if (fetched !== golden.length) throw new Error("the page replays " + fetched + " bytes, not the run's " + golden.length);
  await new Promise((resolve) => setTimeout(resolve, 3000));
  const title = await board.evaluate("document.title");
  if (title.includes("(exit")) throw new Error("the replay ended early: " + title);

  // What the page sends goes only after the player's yes, asked once: two bodies sent
  // (garbage, which the server refuses in words) open one confirm dialog.
  const answers = await board.evaluate(`(async () => {
    const answers = [];
    for (let i = 0; i < 2; ++i) {
      const request = Module.httpStart("POST", location.origin + "/api/runs?name=x", new Uint8Array([1, 2, 3]));
      for (let wait = 0; !Module.httpReply(request) && wait < 200; ++wait) await new Promise((r) => setTimeout(r, 50));
      answers.push(Module.httpReply(request).status);
    }
    return answers.join(" ");
  })()`);
  if (answers !== "400 400" || board.dialogs.join(" ") !== "confirm") {
    throw new Error("two runs sent: answers " + answers + ", dialogs " + board.dialogs.join(" "));
  }
  console.log("run " + id + " watched from the board: " + title + "; sending asked once");
}, stopServer);
