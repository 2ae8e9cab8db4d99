// The device page in headless Chromium, on a device that `cvsim run` boots: the live
// screen, the settings application beside it, and the phone driven from the page.
import "../../../settings-app/tests/browser/skipWithoutChromium.mjs";
import { launchBrowser, startRunningDevice, until } from "../../../settings-app/tests/browser/harness.mjs";

import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { after, before, test } from "node:test";

let device;
let browser;
let page;

before(async () => {
    device = await startRunningDevice();
    browser = await launchBrowser();
    page = await browser.newPage({ viewport: { width: 1100, height: 1000 } });
    await page.goto(device.url);
    await until(async () => (await page.evaluate(() => window.deviceFrames.shown)) > 0,
                "the first frame");
});

after(async () => {
    await browser?.close();
    await device?.stop();
});

// What `cvsim ctl dump` says of the running device.
function dump() {
    return JSON.parse(execFileSync(process.env.CVSIM, ["--root", device.root, "ctl", "dump"],
                                   { encoding: "utf8", maxBuffer: 64 << 20 }));
}

function findView(node, test) {
    if (test(node)) return node;
    for (const child of node.children || []) {
        const found = findView(child, test);
        if (found) return found;
    }
    return null;
}

// The home screen's page offset: the content offset of its page scroll view.
function pageOffset() {
    for (const window of dump().windows) {
        const scroll = findView(window, (view) => view.class === "UIScrollView" ||
                                                  view.class === "SBIconScrollView");
        if (scroll) return scroll.bounds[0];
    }
    throw new Error("no page scroll view on screen");
}

const frameNumber = () => page.evaluate(() => window.deviceFrames.number);

// Waits until frames stop: none has come for `quietMs`.
async function screenAtRest(quietMs = 600) {
    let last = await frameNumber();
    let since = Date.now();
    await until(async () => {
        const now = await frameNumber();
        if (now !== last) { last = now; since = Date.now(); }
        return Date.now() - since >= quietMs;
    }, "the screen to come to rest");
}

// The mean colour of a rectangle of the shown frame, in points.
function meanColour(x, y, width, height) {
    return page.evaluate(([x, y, width, height]) => {
        const screen = document.getElementById("screen");
        const scale = window.deviceFrames.scale;
        const canvas = document.createElement("canvas");
        canvas.width = screen.naturalWidth;
        canvas.height = screen.naturalHeight;
        const context = canvas.getContext("2d");
        context.drawImage(screen, 0, 0);
        const pixels = context.getImageData(x * scale, y * scale, width * scale, height * scale).data;
        const sum = [0, 0, 0];
        for (let index = 0; index < pixels.length; index += 4)
            for (let channel = 0; channel < 3; ++channel) sum[channel] += pixels[index + channel];
        return sum.map((total) => total / (pixels.length / 4));
    }, [x, y, width, height]);
}

const distance = (a, b) => Math.hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);

// Where the pointer is over the phone's point (x, y).
async function screenPoint(x, y) {
    const box = await page.locator("#screen").boundingBox();
    return { x: box.x + x, y: box.y + y };
}

test("the page needs its token, and shows the phone at its point size", async () => {
    const url = new URL(device.url);
    assert.equal((await fetch(new URL("/", url.origin))).status, 401);
    assert.equal((await fetch(new URL("/?token=" + "0".repeat(64), url.origin))).status, 403);
    assert.equal((await fetch(new URL("/api/frames", url.origin))).status, 401);
    const frames = await page.evaluate(() => window.deviceFrames);
    assert.deepEqual([frames.width, frames.height, frames.scale], [750, 1334, 2]);
    const box = await page.locator("#screen").boundingBox();
    assert.deepEqual([box.width, box.height], [375, 667]);
    assert.equal(await page.locator("#settings-frame").getAttribute("src"), device.settingsUrl);
});

test("a page the page does not send is refused before it reaches the phone", async () => {
    const refused = await device.command("screenshot", "/tmp/anything.png");
    assert.match(refused.error, /does not send "screenshot"/);
    assert.match((await device.command("post", "com.example.other")).error, /posts only/);
});

test("unlocking and locking from the buttons", async () => {
    await page.locator("#unlock").click();
    await until(() => dump().lockScreen.showing === false, "the lock screen to go");
    await page.locator("#lock").click();
    await until(() => dump().lockScreen.showing === true, "the lock screen to come back");
    await page.keyboard.press("u");
    await until(() => dump().lockScreen.showing === false, "the lock screen to go again");
    await screenAtRest();
});

test("a setting changed in the settings half shows on the phone", async () => {
    // The first icon's label, below its image.
    const label = [20, 88, 75, 14];
    const before = await meanColour(...label);
    const settings = page.frameLocator("#settings-frame");
    await settings.locator(".row-title", { hasText: /^Pages$/ }).click();
    await settings.locator("#page-title", { hasText: "Pages" }).waitFor();
    const shown = await frameNumber();
    await settings.locator(".row").filter({
        has: settings.locator(".row-title", { hasText: /^Hide Labels$/ }) }).locator(".switch").click();
    await until(async () => (await frameNumber()) > shown, "a new frame");
    await screenAtRest();
    assert.ok(distance(before, await meanColour(...label)) > 10, "the label should be gone");
    await settings.locator("#back-button").click();
});

test("a drag on the phone swipes to the next page, and back", async () => {
    const start = pageOffset();
    const from = await screenPoint(300, 300);
    await page.mouse.move(from.x, from.y);
    await page.mouse.down();
    for (let step = 1; step <= 10; ++step)
        await page.mouse.move(from.x - step * 25, from.y);
    await page.mouse.up();
    await until(() => pageOffset() === start + 375, "the next page");
    await page.mouse.move(from.x - 250, from.y);
    await page.mouse.down();
    for (let step = 1; step <= 10; ++step)
        await page.mouse.move(from.x - 250 + step * 25, from.y);
    await page.mouse.up();
    await until(() => pageOffset() === start, "the first page again");
    await screenAtRest();
});

test("a click on a folder opens it", async () => {
    const folder = await screenPoint(144, 410);
    await page.mouse.click(folder.x, folder.y);
    await until(() => dump().homeScreen.folderOpen, "the folder to open");
    await page.locator("#home").click();
    await until(() => !dump().homeScreen.folderOpen, "the folder to close");
    await screenAtRest();
});

test("the page-scroll preview plays on the phone and leaves it at rest", async () => {
    const start = pageOffset();
    const shown = await frameNumber();
    await page.locator("#preview-scroll").click();
    await until(async () => (await frameNumber()) > shown + 10, "the preview's frames");
    // The last pixels of a deceleration may not change the picture, so a quiet screen
    // alone does not show that the preview has come back.
    await until(() => pageOffset() === start, "the preview to come back to the first page");
    await screenAtRest(800);
    assert.equal(pageOffset(), start);
});

test("respring relaunches SpringBoard, and the status line shows it", async () => {
    await page.locator("#status-line", { hasText: "launch 1" }).waitFor();
    await page.locator("#respring").click();
    await page.locator("#status-line", { hasText: "launch 2" }).waitFor({ timeout: 20000 });
    // The new SpringBoard streams its own frames: unlocking it changes the screen.
    await screenAtRest();
    const shown = await frameNumber();
    await page.locator("#unlock").click();
    await until(async () => (await frameNumber()) > shown, "the new SpringBoard's frames");
});
