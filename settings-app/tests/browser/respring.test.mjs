// The whole device as `cvsim run` boots it: the settings application starts beside
// SpringBoard, and "Respring" in the panel restarts SpringBoard.
import "./skipWithoutChromium.mjs";
import { launchBrowser, startRunningDevice } from "./harness.mjs";

import assert from "node:assert/strict";
import { after, before, test } from "node:test";

let device;
let browser;

before(async () => {
    device = await startRunningDevice();
    browser = await launchBrowser();
});

after(async () => {
    await browser?.close();
    await device?.stop();
});

test("cvsim run serves the panel, and Respring relaunches SpringBoard", async () => {
    assert.match(device.settingsUrl, /^http:\/\/127\.0\.0\.1:\d+\/\?token=[0-9a-f]{64}$/);
    const page = await browser.newPage();
    await page.goto(device.settingsUrl);
    await page.locator("#right-button", { hasText: "Respring" }).click();
    const alert = page.locator(".alert");
    await alert.waitFor();
    assert.equal(await alert.locator(".alert-title").textContent(), "Corvane");
    assert.equal(await alert.locator(".alert-message").textContent(), "Would you like to respring now?");
    await alert.locator(".alert-button", { hasText: "Respring" }).click();
    await device.device.err.next((line) => line.includes("SpringBoard relaunched (launch 2"),
                                 "SpringBoard's relaunch");
});
