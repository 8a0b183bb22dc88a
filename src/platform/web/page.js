// The page around a program built for the browser (joined before emscripten's own
// code). It waits for the data and the player's stored files, starts the program
// with arguments taken from the address (?replay=NAME plays a packed golden demo,
// ?run=ID a leaderboard run from the page's server,
// ?record keeps the game as a demo to download, ?seed=N, ?challenge-steps=N shortens
// a challenge for a test), and, for a program that
// plays sound, only after a first key or click, which browsers require before sound.
// The player's files are kept in the browser by stored_files.js; a saved picture is
// offered as a download.
var Module = typeof Module !== "undefined" ? Module : {};

Module.noInitialRun = true;
Module.canvas = document.getElementById("canvas");
Module.frameWork = []; // milliseconds of work per frame (web_frames.cpp)
Module.printed = [];

(() => {
  const home = "/home/web_user";
  const recording = "/tmp/space-game.demo"; // offered as a download, not kept
  const chosenDemo = "/tmp/chosen.demo";
  const runDemo = "/tmp/run.demo"; // ?run=ID: a leaderboard run, fetched from the page's server
  const notice = document.getElementById("notice");
  const headline = document.getElementById("headline");
  const details = document.getElementById("details");
  const query = new URLSearchParams(location.search);

  const show = (title, text) => {
    headline.textContent = title;
    details.textContent = text || "";
    notice.hidden = false;
  };

  Module.print = (text) => {
    console.log(text);
    Module.printed.push(text);
  };
  Module.printErr = (text) => {
    console.error(text);
    Module.printed.push(text);
  };

  const download = (path, name = path.substring(path.lastIndexOf("/") + 1)) => {
    const blob = new Blob([FS.readFile(path)], { type: "application/octet-stream" });
    const link = document.createElement("a");
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  };

  // Called by the backend after each file the program saved: a picture is offered as
  // a download, a file of the player's is kept in the browser (stored_files.js).
  Module.onFileSaved = (path) => {
    if (path.endsWith(".png")) {
      download(path);
      FS.unlink(path);
    } else if (path.startsWith(home + "/")) {
      Module.storeFile(path);
    }
  };

  Module.onFileRemoved = (path) => {
    if (path.startsWith(home + "/")) Module.forgetFile(path);
  };

  // Leaving while a file is still being stored would lose it, and leaving the editor
  // with unsaved changes (its title starts with "*", as on the desktop) loses them:
  // the browser asks first.
  addEventListener("beforeunload", (event) => {
    if (!Module.writesPending() && !document.title.startsWith("*")) return;
    event.preventDefault();
    event.returnValue = "";
  });

  // The packed data is the installed data: the editor saves the player's own ship
  // into the home folder instead, where it is kept.
  const makeReadOnly = (path) => {
    for (const name of FS.readdir(path)) {
      if (name === "." || name === "..") continue;
      const child = path + "/" + name;
      if (FS.isDir(FS.stat(child).mode)) makeReadOnly(child);
    }
    FS.chmod(path, 0o555);
  };

  // The testing aid that shortens a challenge, as the desktop takes it from the
  // environment; set before the C library reads the environment, once, at its start.
  Module.preRun = [].concat(Module.preRun || [], () => {
    if (query.has("challenge-steps")) ENV.SPACE_GAME_CHALLENGE_STEPS = query.get("challenge-steps");
  });

  const argumentsFromAddress = () => {
    const args = [];
    if (query.has("replay")) args.push("--replay", "/demos/" + query.get("replay").replace(/[^\w-]/g, "") + ".demo");
    if (query.has("run")) args.push("--replay", runDemo);
    if (query.has("record")) args.push("--record", recording);
    if (query.has("seed")) args.push("--seed", query.get("seed"));
    // ?challenge plays today's, ?challenge=YYYY-MM-DD an earlier day's for practice.
    if (query.has("challenge")) args.push("--challenge", ...(query.get("challenge") ? [query.get("challenge")] : []));
    return args;
  };

  // The leaderboard's requests (web_http.cpp) go to the server the page came from. The
  // player says yes once (kept in the browser) before anything is sent; a no holds
  // until the page is loaded again.
  const requests = new Map();
  let lastRequest = 0;
  let sendingRefused = false;
  const consentKey = "space-game-leaderboard";
  const maySend = (url) => {
    if (localStorage.getItem(consentKey) === "yes") return true;
    if (sendingRefused) return false;
    const yes = confirm("Send your challenge run (its demo and the name you entered) to the leaderboard at " +
                        new URL(url).origin + "? The board shows it to everyone once its replay checks out.");
    if (yes) localStorage.setItem(consentKey, "yes");
    else sendingRefused = true;
    return yes;
  };
  Module.httpStart = (method, url, body) => {
    const id = ++lastRequest;
    const settle = (status, bytes, error) => requests.set(id, { status, body: bytes, error });
    if (body.length > 0 && !maySend(url)) {
      settle(0, new Uint8Array(), "you said no");
      return id;
    }
    const headers = body.length > 0 ? { "Content-Type": "application/octet-stream" } : {};
    fetch(url, { method, headers, body: body.length > 0 ? body : undefined })
      .then(async (response) => settle(response.status, new Uint8Array(await response.arrayBuffer()), ""))
      .catch((error) => settle(0, new Uint8Array(), error.message));
    return id;
  };
  Module.httpReply = (id) => requests.get(id);
  Module.httpForget = (id) => requests.delete(id);
  Module.httpHome = () => (location.protocol === "http:" || location.protocol === "https:" ? location.origin : "");

  // The end of the program: its status in the title, for the player and for tests.
  Module.onProgramEnd = (status) => {
    document.title += " (exit " + status + ")";
    // What the program said while it ran (a replay's verdict), or why it could not start.
    const last = Module.printed.slice(Module.framesRunning ? Module.printedBeforeFrames : 0).slice(-3).join("\n");
    document.getElementById("choices").hidden = true;
    show(status === 0 ? "the program has ended" : "the program has ended with status " + status,
         (last ? last + "\n" : "") + "Reload the page to start again.");
    const stamp = new Date().toISOString().slice(0, 19).replace(/[T:]/g, "-");
    if (query.has("record") && FS.analyzePath(recording).exists) download(recording, "space-game-" + stamp + ".demo");
  };

  const start = (args) => {
    notice.hidden = true;
    Module.canvas.focus();
    const status = Module.callMain(args);
    if (!Module.framesRunning) Module.onProgramEnd(status);
  };

  const runFetched = query.has("run")
    ? fetch("/api/runs/" + encodeURIComponent(query.get("run")) + "/demo").then(async (response) => {
        if (!response.ok) throw new Error("the server answered " + response.status);
        return new Uint8Array(await response.arrayBuffer());
      })
    : null;

  Module.onRuntimeInitialized = async () => {
    makeReadOnly("/data");
    if (runFetched) {
      try {
        FS.writeFile(runDemo, await runFetched);
      } catch (error) {
        show("run " + query.get("run") + " could not be fetched", error.message);
        return;
      }
    }
    if (!Module.waitsForGesture) {
      start(argumentsFromAddress());
      return;
    }
    show("click or press a key to start", "");
    document.getElementById("choices").hidden = false;
    let started = false;
    const begin = (args) => {
      if (started) return;
      started = true;
      removeEventListener("keydown", onKey, true);
      notice.removeEventListener("click", onClick);
      start(args);
    };
    const onKey = (event) => {
      event.preventDefault();
      begin(argumentsFromAddress());
    };
    const onClick = (event) => {
      if (event.target.closest("label, input")) return;
      begin(argumentsFromAddress());
    };
    addEventListener("keydown", onKey, true);
    notice.addEventListener("click", onClick);
    document.getElementById("demo-file").addEventListener("change", async (event) => {
      const file = event.target.files[0];
      if (!file) return;
      FS.writeFile(chosenDemo, new Uint8Array(await file.arrayBuffer()));
      begin(["--replay", chosenDemo]);
    });
  };

  // Fullscreen answers a key press only while the browser handles it, so it is asked
  // for here rather than by the program a frame later: F11, or Alt+Enter.
  addEventListener("keydown", (event) => {
    if (event.code !== "F11" && !(event.code === "Enter" && event.altKey)) return;
    event.preventDefault();
    if (document.fullscreenElement) document.exitFullscreen();
    else document.documentElement.requestFullscreen().catch(() => {});
  }, true);
  Module.canvas.addEventListener("contextmenu", (event) => event.preventDefault());
  // Sound made outside a key or click (a demo chosen from a file) starts at the next one.
  const resumeSound = () => {
    if (Module.audio && Module.audio.context.state === "suspended") Module.audio.context.resume();
  };
  addEventListener("keydown", resumeSound, true);
  addEventListener("pointerdown", resumeSound, true);
  // A hidden page runs no frames, so nothing would stop a looping sound until the
  // game, shown again, finds it has lost the focus and pauses.
  document.addEventListener("visibilitychange", () => {
    if (!Module.audio) return;
    if (document.hidden) Module.audio.context.suspend();
    else resumeSound();
  });
})();
