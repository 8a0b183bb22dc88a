// The player's files in the browser (joined before emscripten's own code, after
// page.js). They live in IndexedDB, one record per file under its path, laid out as
// emscripten's IDBFS lays them, so what earlier visits stored stays readable. The page
// reads them all into the home folder before the program starts; after that, each
// file the program saves there is stored on its own, at once. Nothing ever writes the
// folder as a whole, so a page cannot delete or overwrite what another page stored
// unless it saves that same file itself.
var Module = typeof Module !== "undefined" ? Module : {};

(() => {
  const home = "/home/web_user";
  const kStore = "FILE_DATA";
  const kVersion = 21;
  let database = null;
  let unavailable = "";
  // path -> { latest: the number of its last write, pending, state, problem }
  const files = new Map();
  let writeCount = 0;

  const reason = (error) => {
    if (error && error.name === "QuotaExceededError") return "the browser's storage for this site is full";
    return "the browser did not store it (" + (error ? error.message || error.name : "no reason given") + ")";
  };

  const openDatabase = () => new Promise((resolve, reject) => {
    const request = indexedDB.open(home, kVersion);
    request.onupgradeneeded = () => {
      const db = request.result;
      const store = db.objectStoreNames.contains(kStore) ? request.transaction.objectStore(kStore)
                                                        : db.createObjectStore(kStore);
      if (!store.indexNames.contains("timestamp")) store.createIndex("timestamp", "timestamp", { unique: false });
    };
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });

  const readRecords = (db) => new Promise((resolve, reject) => {
    const records = [];
    const request = db.transaction(kStore, "readonly").objectStore(kStore).openCursor();
    request.onsuccess = () => {
      const cursor = request.result;
      if (!cursor) return resolve(records);
      records.push(Object.assign({ path: cursor.key }, cursor.value));
      cursor.continue();
    };
    request.onerror = () => reject(request.error);
  });

  const placeRecord = (record) => {
    if (typeof record.path !== "string" || !record.path.startsWith(home + "/") || !record.contents) return;
    if (!FS.isFile(record.mode)) return;
    FS.mkdirTree(record.path.substring(0, record.path.lastIndexOf("/")));
    FS.writeFile(record.path, record.contents);
    FS.chmod(record.path, record.mode & 0o777);
  };

  Module.preRun = [].concat(Module.preRun || [], () => {
    addRunDependency("stored files");
    openDatabase()
      .then(async (db) => {
        database = db;
        for (const record of await readRecords(db)) {
          try {
            placeRecord(record);
          } catch (error) {
            console.error("could not read " + record.path + " from the browser's storage: " + error);
          }
        }
      })
      .catch((error) => {
        unavailable = "the browser keeps no files for this page (" + (error ? error.message || error.name : "") + ")";
        console.error(unavailable);
      })
      .finally(() => removeRunDependency("stored files"));
  });

  const settle = (path, number, problem) => {
    const file = files.get(path);
    file.pending--;
    if (file.latest !== number) return; // a later save of the same file decides
    file.state = problem ? "failed" : "stored";
    file.problem = problem;
    if (problem) console.error(path + " not saved: " + problem);
  };

  // Changes the file's record, counted as a write of it until the browser says how it
  // went. prepare reads what the change needs (it may fail) and returns the change,
  // which is given the store. The write is committed at once rather than when its
  // answer comes back, so a page closed right after it still keeps the change.
  const writeRecord = (path, prepare) => {
    const number = ++writeCount;
    const file = files.get(path) || { pending: 0 };
    files.set(path, Object.assign(file, { latest: number, state: "pending", problem: "" }));
    file.pending++;
    if (!database) return settle(path, number, unavailable);
    try {
      const change = prepare();
      const transaction = database.transaction(kStore, "readwrite", { durability: "strict" });
      change(transaction.objectStore(kStore));
      transaction.oncomplete = () => settle(path, number, "");
      transaction.onabort = () => settle(path, number, reason(transaction.error));
      if (transaction.commit) transaction.commit();
    } catch (error) {
      settle(path, number, reason(error));
    }
  };

  // Called by page.js for each file saved in the home folder.
  Module.storeFile = (path) => writeRecord(path, () => {
    const stat = FS.stat(path);
    const record = { timestamp: stat.mtime, mode: stat.mode, contents: FS.readFile(path) };
    return (store) => store.put(record, path);
  });

  // Called by page.js for each file removed from the home folder, so that the next
  // visit does not bring it back.
  Module.forgetFile = (path) => writeRecord(path, () => (store) => store.delete(path));

  // For the backend: 0 stored (or never saved here), 1 still being written, 2 failed.
  Module.fileState = (path) => {
    const file = files.get(path);
    return !file || file.state === "stored" ? 0 : file.state === "pending" ? 1 : 2;
  };
  Module.fileProblem = (path) => (files.get(path) || {}).problem || "";
  Module.writesPending = () => Array.from(files.values()).some((file) => file.pending > 0);
})();
