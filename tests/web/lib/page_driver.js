// Drives the real pages in headless Chromium for the browser build's tests, with no
// package beyond node: a static server for the site on 127.0.0.1 (any free port), and
// Chromium spoken to over its DevTools pipe. Keys and clicks go in as the browser's
// own input events, so they count as the user's gestures. Every wait is a bounded
// poll that tolerates "not there yet" and, when it gives up, says what it waited for
// and what it saw last.
"use strict";
const { spawn } = require("child_process");
const fs = require("fs");
const http = require("http");
const path = require("path");

const kTypes = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm", ".data": "application/octet-stream" };

function serve(site) {
  const folder = path.resolve(site);
  const server = http.createServer((request, response) => {
    const file = path.join(folder, decodeURIComponent(new URL(request.url, "http://x").pathname));
    if (!file.startsWith(folder + path.sep) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { "Content-Type": kTypes[path.extname(file)] || "application/octet-stream" });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

// Chromium's own processes, which it starts in its process group; polled until none is
// left, for at most seconds.
async function groupEnded(leader, seconds) {
  const deadline = Date.now() + seconds * 1000;
  for (;;) {
    try {
      process.kill(-leader, 0);
    } catch (error) {
      if (error.code === "ESRCH") return true;
    }
    if (Date.now() > deadline) return false;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

class Browser {
  // The profile lies in the build folder, beside the site: one left behind by
  // Chromium is then no litter in the system's temporary folder.
  constructor(site) {
    const profiles = path.join(path.resolve(site), "..", "chromium-profiles");
    fs.mkdirSync(profiles, { recursive: true });
    this.profile = fs.mkdtempSync(path.join(profiles, "profile-"));
    this.process = spawn("chromium", [
      "--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync",
      "--autoplay-policy=no-user-gesture-required", "--remote-debugging-pipe",
      "--user-data-dir=" + this.profile, "about:blank",
    ], { stdio: ["ignore", "ignore", "pipe", "pipe", "pipe"], detached: true });
    this.process.stderr.on("data", () => {}); // its warnings about the missing session bus
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    let buffered = "";
    this.process.stdio[4].on("data", (chunk) => {
      buffered += chunk.toString();
      for (let end = buffered.indexOf("\0"); end >= 0; end = buffered.indexOf("\0")) {
        const message = JSON.parse(buffered.slice(0, end));
        buffered = buffered.slice(end + 1);
        if (message.id && this.pending.has(message.id)) {
          const { resolve, reject } = this.pending.get(message.id);
          this.pending.delete(message.id);
          if (message.error) reject(new Error(JSON.stringify(message.error)));
          else resolve(message.result);
        } else {
          this.listeners.forEach((listener) => listener(message));
        }
      }
    });
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    this.process.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + "\0");
    return new Promise((resolve, reject) => this.pending.set(id, { resolve, reject }));
  }

  // A new tab of 640 x 480 CSS pixels: the canvas fills it exactly, one pixel each.
  async open(url) {
    const { targetId } = await this.send("Target.createTarget", { url: "about:blank" });
    const { sessionId } = await this.send("Target.attachToTarget", { targetId, flatten: true });
    const page = new Page(this, sessionId);
    await page.send("Runtime.enable");
    await page.send("Page.enable");
    await page.send("Emulation.setDeviceMetricsOverride", { width: 640, height: 480, deviceScaleFactor: 1, mobile: false });
    this.listeners.push((message) => {
      if (message.sessionId === sessionId && message.method === "Runtime.consoleAPICalled") {
        page.console.push(message.params.args.map((a) => a.value).join(" "));
      }
      if (message.sessionId === sessionId && message.method === "Page.javascriptDialogOpening") {
        page.dialogs.push(message.params.type);
        page.send("Page.handleJavaScriptDialog", { accept: page.leaveWhenAsked });
      }
    });
    await page.send("Page.navigate", { url });
    return page;
  }

  // Chromium's processes write the profile until the last has ended, which may be
  // after the first: the whole group is ended and waited for. A profile that still
  // cannot be removed is left (and said), never a failed test.
  async close() {
    try {
      process.kill(-this.process.pid, "SIGTERM");
    } catch (error) {
      if (error.code !== "ESRCH") throw error;
    }
    if (!(await groupEnded(this.process.pid, 10))) {
      console.error("Chromium's processes did not end within 10 s of being asked; ending them");
      try {
        process.kill(-this.process.pid, "SIGKILL");
      } catch (error) {
        if (error.code !== "ESRCH") throw error;
      }
      await groupEnded(this.process.pid, 10);
    }
    try {
      fs.rmSync(this.profile, { recursive: true, force: true, maxRetries: 5, retryDelay: 200 });
    } catch (error) {
      console.error("left Chromium's profile " + this.profile + ": " + error.message);
    }
  }
}

const kKeys = {
  ArrowLeft: { key: "ArrowLeft", windowsVirtualKeyCode: 37 },
  ArrowUp: { key: "ArrowUp", windowsVirtualKeyCode: 38 },
  ArrowDown: { key: "ArrowDown", windowsVirtualKeyCode: 40 },
  Enter: { key: "Enter", windowsVirtualKeyCode: 13 },
  Space: { key: " ", windowsVirtualKeyCode: 32 },
  KeyA: { key: "a", windowsVirtualKeyCode: 65 },
  KeyS: { key: "s", windowsVirtualKeyCode: 83 },
  KeyO: { key: "o", windowsVirtualKeyCode: 79 },
  KeyP: { key: "p", windowsVirtualKeyCode: 80 },
  KeyT: { key: "t", windowsVirtualKeyCode: 84 },
  Escape: { key: "Escape", windowsVirtualKeyCode: 27 },
  Enter: { key: "Enter", windowsVirtualKeyCode: 13 },
  F12: { key: "F12", windowsVirtualKeyCode: 123 },
};

class Page {
  constructor(browser, sessionId) {
    this.browser = browser;
    this.sessionId = sessionId;
    this.console = [];
    this.dialogs = []; // the types of the dialogs the page opened, answered at once
    this.leaveWhenAsked = true; // the player's answer to "leave the page?" and to "send the run?"
  }

  send(method, params = {}) {
    return this.browser.send(method, params, this.sessionId);
  }

  async evaluate(expression) {
    const { result, exceptionDetails } = await this.send("Runtime.evaluate", { expression, returnByValue: true, awaitPromise: true });
    if (exceptionDetails) throw new Error(expression + ": " + JSON.stringify(exceptionDetails));
    return result.value;
  }

  // Polls what() every 100 ms until it returns something truthy, for at most
  // seconds; on giving up, fails naming the wait and what was seen last.
  async waitFor(description, what, seconds) {
    const deadline = Date.now() + seconds * 1000;
    let seen;
    for (;;) {
      try {
        seen = await what();
        if (seen) return seen;
      } catch (error) {
        seen = "not there yet (" + error.message + ")";
      }
      if (Date.now() > deadline) {
        throw new Error("gave up after " + seconds + " s waiting for " + description + "; saw " + JSON.stringify(seen) +
                        "; the page's console: " + this.console.slice(-5).join(" | "));
      }
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
  }

  key(type, code) {
    return this.send("Input.dispatchKeyEvent", { type, code, ...kKeys[code] });
  }

  async press(code) {
    await this.key("keyDown", code);
    await this.key("keyUp", code);
  }

  // Types text as a US keyboard would: each character's key down, with the character's
  // text, and up again. Letters, digits and spaces.
  async type(text) {
    for (const character of text) {
      const code = character === " " ? "Space" : /\d/.test(character) ? "Digit" + character : "Key" + character.toUpperCase();
      const keyCode = character === " " ? 32 : character.toUpperCase().charCodeAt(0);
      const event = { code, key: character, text: character, windowsVirtualKeyCode: keyCode };
      await this.send("Input.dispatchKeyEvent", { type: "keyDown", ...event });
      await this.send("Input.dispatchKeyEvent", { type: "keyUp", code, key: character, windowsVirtualKeyCode: keyCode });
    }
  }

  async click(x, y, button = "left") {
    for (const type of ["mouseMoved", "mousePressed", "mouseReleased"]) {
      await this.send("Input.dispatchMouseEvent", { type, x, y, button, clickCount: type === "mouseMoved" ? 0 : 1 });
    }
  }

  // The canvas's pixels as [r, g, b, a, ...] rows of 640.
  canvasPixels() {
    return this.evaluate(`Array.from(document.getElementById("canvas").getContext("2d").getImageData(0, 0, 640, 480).data)`);
  }

  async screenshot(file) {
    const { data } = await this.send("Page.captureScreenshot", { format: "png" });
    fs.mkdirSync(path.dirname(file), { recursive: true });
    fs.writeFileSync(file, Buffer.from(data, "base64"));
  }
}

// Opens Chromium, runs test(browser), and always cleans up (then cleanUp()); a failure
// is printed and ends the process with status 1.
async function withBrowser(site, test, cleanUp = () => {}) {
  const browser = new Browser(site);
  try {
    await test(browser);
  } catch (error) {
    console.error("FAILED: " + error.message);
    process.exitCode = 1;
  } finally {
    await browser.close();
    cleanUp();
  }
}

// Serves site and runs test(browser, address) in withBrowser.
async function withSite(site, test) {
  const server = await serve(site);
  await withBrowser(site, (browser) => test(browser, "http://127.0.0.1:" + server.address().port), () => server.close());
}

module.exports = { withSite, withBrowser };
