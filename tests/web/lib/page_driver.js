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
const os = require("os");
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

class Browser {
  constructor() {
    this.profile = fs.mkdtempSync(path.join(os.tmpdir(), "space-game-chromium-"));
    this.process = spawn("chromium", [
      "--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync",
      "--autoplay-policy=no-user-gesture-required", "--remote-debugging-pipe",
      "--user-data-dir=" + this.profile, "about:blank",
    ], { stdio: ["ignore", "ignore", "pipe", "pipe", "pipe"] });
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
    await page.send("Emulation.setDeviceMetricsOverride", { width: 640, height: 480, deviceScaleFactor: 1, mobile: false });
    this.listeners.push((message) => {
      if (message.sessionId === sessionId && message.method === "Runtime.consoleAPICalled") {
        page.console.push(message.params.args.map((a) => a.value).join(" "));
      }
    });
    await page.send("Page.navigate", { url });
    return page;
  }

  // Chromium writes its profile until it has exited.
  async close() {
    const exited = new Promise((resolve) => this.process.once("exit", resolve));
    this.process.kill();
    await exited;
    fs.rmSync(this.profile, { recursive: true, force: true, maxRetries: 5 });
  }
}

const kKeys = {
  ArrowLeft: { key: "ArrowLeft", windowsVirtualKeyCode: 37 },
  ArrowUp: { key: "ArrowUp", windowsVirtualKeyCode: 38 },
  Space: { key: " ", windowsVirtualKeyCode: 32 },
  KeyA: { key: "a", windowsVirtualKeyCode: 65 },
  KeyS: { key: "s", windowsVirtualKeyCode: 83 },
  Escape: { key: "Escape", windowsVirtualKeyCode: 27 },
};

class Page {
  constructor(browser, sessionId) {
    this.browser = browser;
    this.sessionId = sessionId;
    this.console = [];
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

// Serves site, opens Chromium, runs test(browser, address), and always cleans up;
// a failure is printed and ends the process with status 1.
async function withSite(site, test) {
  const server = await serve(site);
  const browser = new Browser();
  try {
    await test(browser, "http://127.0.0.1:" + server.address().port);
  } catch (error) {
    console.error("FAILED: " + error.message);
    process.exitCode = 1;
  } finally {
    await browser.close();
    server.close();
  }
}

module.exports = { withSite };
