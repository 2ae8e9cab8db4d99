// What the browser tests share: a device for the settings application on a temporary
// root, the application itself, headless Chromium, and the settings file as cvsim reads
// it. The programs come from the build, named by ctest in the environment:
//   CVSIM, CORVANE_APP   the device tool and the settings application
//   CV3SETTINGS_BUNDLE   the built panel bundle (a directory)
//   CHROMIUM             the browser (default /usr/bin/chromium)

import { spawn, execFileSync } from "node:child_process";
import { createInterface } from "node:readline";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";

export const chromiumPath = process.env.CHROMIUM || "/usr/bin/chromium";
const cvsimPath = requiredVariable("CVSIM");
const appPath = requiredVariable("CORVANE_APP");
const waitMilliseconds = 20000;

function requiredVariable(name) {
    const value = process.env[name];
    if (!value) throw new Error(`${name} is not set: run the browser tests through ctest`);
    return value;
}

// The lines a process writes on one stream, handed to whoever waits for a matching one.
class LineWatcher {
    constructor(stream) {
        this.lines = [];
        this.waiters = [];
        createInterface({ input: stream }).on("line", (line) => {
            this.lines.push(line);
            this.waiters = this.waiters.filter((waiter) => !waiter.offer(line));
        });
    }

    // The first line, from `from` on, that satisfies `test`; fails after a while.
    next(test, what, from = 0) {
        const seen = this.lines.slice(from).find(test);
        if (seen !== undefined) return Promise.resolve(seen);
        return new Promise((resolve, reject) => {
            const timer = setTimeout(() => reject(new Error(`no ${what} within ${waitMilliseconds} ms`)),
                                     waitMilliseconds);
            this.waiters.push({ offer: (line) => {
                if (!test(line)) return false;
                clearTimeout(timer);
                resolve(line);
                return true;
            } });
        });
    }
}

function start(program, args, environment = {}) {
    const child = spawn(program, args, { env: { ...process.env, ...environment },
                                         stdio: ["ignore", "pipe", "pipe"] });
    child.out = new LineWatcher(child.stdout);
    child.err = new LineWatcher(child.stderr);
    child.stderr.on("data", (data) => process.stderr.write(data));
    return child;
}

async function stop(child) {
    if (child.exitCode !== null || child.signalCode !== null) return;
    const ended = new Promise((resolve) => child.once("exit", resolve));
    child.kill("SIGTERM");
    await ended;
}

function temporaryRoot() {
    return fs.mkdtempSync(path.join(os.tmpdir(), "corvane-app-"));
}

async function urlFrom(child) {
    return child.out.next((line) => line.startsWith("http://127.0.0.1:"), "URL of the settings application");
}

// A device whose SpringBoard is `cvsim listen` (the reload service, printing every live
// update as a JSON line), with the panel bundle installed and CorvaneApp running on it.
// `settings` ([section, key, JSON value] each) are written before the application starts,
// as the panel reads the settings file once.
export async function startListeningDevice(settings = []) {
    const root = temporaryRoot();
    const bundle = path.join(root, "Library/PreferenceBundles/CV3Settings.bundle");
    fs.cpSync(requiredVariable("CV3SETTINGS_BUNDLE"), bundle, { recursive: true });
    const springBoard = start(cvsimPath, ["--root", root, "listen"]);
    // The listener serves the device once its services socket exists and its reload
    // service has a port.
    const run = path.join(root, "var/run");
    await until(() => fs.existsSync(path.join(run, "services")) &&
                      fs.existsSync(path.join(run, "ports")) &&
                      fs.readdirSync(path.join(run, "ports")).length > 0,
                "the reload service");
    for (const [section, key, value] of settings)
        execFileSync(cvsimPath, ["--root", root, "defaults", "write", section, key, JSON.stringify(value)]);
    const app = start(appPath, [], { CORVANE_DEVICE_ROOT: root });
    const url = await urlFrom(app);
    return {
        root, url, springBoard, app,
        // The live updates SpringBoard applied, as JSON.
        updates: () => springBoard.out.lines.map((line) => JSON.parse(line)),
        nextUpdate: async (test, what) => JSON.parse(await springBoard.out.next(
            (line) => test(JSON.parse(line)), what)),
        setting: (section, key) => readSetting(root, section, key),
        stop: async () => {
            await stop(app);
            await stop(springBoard);
            fs.rmSync(root, { recursive: true, force: true });
        },
    };
}

// A whole device as `cvsim run` boots it: SpringBoard, CorvaneApp beside it, and the
// device page, whose address is what `run` prints. `settingsUrl` is the settings
// application's own page, as the device page frames it.
export async function startRunningDevice(options = []) {
    const root = temporaryRoot();
    const device = start(cvsimPath, ["--root", root, "run", ...options]);
    const url = await device.out.next((line) => line.startsWith("http://127.0.0.1:"),
                                      "URL of the device page");
    const token = new URL(url).searchParams.get("token");
    const api = (path, init = {}) =>
        fetch(new URL(path, url), { ...init, headers: { "X-Corvane-Token": token, ...init.headers } });
    const status = async () => (await api("/api/status")).json();
    let settingsUrl;
    await until(async () => (settingsUrl = (await status()).settings), "the settings application");
    return {
        root, url, token, settingsUrl, device, status,
        // One device command through the page's command endpoint: {status, output, error}.
        command: async (...words) => (await api("/api/command", {
            method: "POST", headers: { "Content-Type": "application/json" },
            body: JSON.stringify({ words }) })).json(),
        stop: async () => {
            await stop(device);
            fs.rmSync(root, { recursive: true, force: true });
        },
    };
}

export async function until(condition, what) {
    const deadline = Date.now() + waitMilliseconds;
    while (!(await condition())) {
        if (Date.now() > deadline) throw new Error(`${what} did not come within ${waitMilliseconds} ms`);
        await new Promise((resolve) => setTimeout(resolve, 50));
    }
}

// One setting as the settings file holds it now.
export function readSetting(root, section, key) {
    const text = execFileSync(cvsimPath, ["--root", root, "defaults", "read", section, key],
                              { encoding: "utf8" });
    return JSON.parse(text);
}

export async function launchBrowser() {
    const { chromium } = await import("playwright-core").catch(() => {
        throw new Error("playwright-core is missing: run `npm ci` in settings-app/tests/browser " +
                        "(scripts/setup does)");
    });
    // Chromium refuses to sandbox itself for root (containers run tests as root).
    const args = process.getuid && process.getuid() === 0 ? ["--no-sandbox"] : [];
    return chromium.launch({ executablePath: chromiumPath, args });
}
