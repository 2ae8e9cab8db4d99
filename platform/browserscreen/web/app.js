// The page draws what the panel shows and sends what the user does; the panel itself
// runs in CorvaneApp. Every answer from the host is the whole state after the gesture,
// and the page is drawn again from it.
"use strict";

const token = new URLSearchParams(location.search).get("token") || "";
const pollMilliseconds = 1500;
// A drawn page's image comes at this display's pixels a point (the phone's at most), so a
// drag step sends no pixels the browser would throw away.
const imageScale = Math.min(4, Math.max(1, Math.ceil(window.devicePixelRatio || 1)));

let busy = false;         // a request is on its way
let fingerDown = false;   // a finger is on a drawn page
let pendingMove = null;   // the latest finger move not yet sent

function element(tag, className, text) {
    const made = document.createElement(tag);
    if (className) made.className = className;
    if (text !== undefined && text !== null) made.textContent = text;
    return made;
}

async function request(path, body) {
    const options = { headers: { "X-Corvane-Token": token, "X-Corvane-Image-Scale": String(imageScale) } };
    if (body) {
        options.method = "POST";
        options.headers["Content-Type"] = "application/json";
        options.body = JSON.stringify(body);
    }
    busy = true;
    try {
        const response = await fetch(path, options);
        const answer = await response.json();
        showConnectionError(response.ok || answer.state ? null : answer.error);
        const state = response.ok ? answer : answer.state;
        if (state) render(state);
    } catch (error) {
        showConnectionError("CorvaneApp does not answer");
    } finally {
        busy = false;
    }
    // A finger move that came while this request was on its way goes now, so that the
    // last move of a drag is never left unsent.
    if (pendingMove) sendPendingMove();
}

function send(action) {
    return request("/api/action", action);
}

function showConnectionError(text) {
    const line = document.getElementById("connection-error");
    line.hidden = !text;
    line.textContent = text || "";
}

// The navigation bar: tint, title, back button and bar buttons.
function renderNavigation(navigation) {
    document.documentElement.style.setProperty("--tint", navigation.tint || "#007aff");
    document.getElementById("page-title").textContent = navigation.title || "";
    document.title = navigation.title || "Corvane";
    const back = document.getElementById("back-button");
    back.hidden = navigation.back === null || navigation.left !== null;
    back.textContent = navigation.back || "";
    for (const side of ["left", "right"]) {
        const button = document.getElementById(side + "-button");
        button.hidden = navigation[side] === null;
        button.textContent = navigation[side] || "";
    }
}

function renderControl(control, address) {
    if (control.kind === "switch") {
        const toggle = element("button", "switch");
        toggle.setAttribute("role", "switch");
        toggle.setAttribute("aria-checked", String(control.on));
        toggle.addEventListener("click", () => send({ action: "switch", ...address, on: !control.on }));
        return [toggle];
    }
    if (control.kind === "slider") {
        const slider = element("input", "slider");
        Object.assign(slider, { type: "range", min: control.min, max: control.max, step: "any" });
        slider.value = control.value;
        const fill = () => {
            const span = control.max - control.min;
            const share = span > 0 ? (Number(slider.value) - control.min) / span : 0;
            slider.style.setProperty("--fill", `${share * 100}%`);
        };
        fill();
        slider.addEventListener("input", fill);
        const parts = [slider];
        if (control.showValue) {
            const value = element("span", "slider-value", control.value.toFixed(2));
            slider.addEventListener("input", () => { value.textContent = Number(slider.value).toFixed(2); });
            parts.push(value);
        }
        slider.addEventListener("change", () => send({ action: "slider", ...address, value: Number(slider.value) }));
        return parts;
    }
    const field = element("input", "text-field");
    Object.assign(field, { type: "text", value: control.text, placeholder: control.placeholder });
    field.addEventListener("change", () => send({ action: "text", ...address, text: field.value }));
    return [field];
}

function renderRow(row, address) {
    const item = element("li", "row");
    if (row.icon) {
        const icon = element("img", "row-icon");
        icon.src = row.icon;
        icon.alt = "";
        item.append(icon);
    }
    if (row.title !== null || !row.control) {
        const title = element("span", "row-title", row.title);
        if (row.font) {
            title.style.fontFamily = JSON.stringify(row.font.family);
            title.style.fontWeight = row.font.weight;
            title.style.fontStyle = row.font.italic ? "italic" : "normal";
        }
        item.append(title);
    }
    if (row.detail) item.append(element("span", "row-detail", row.detail));
    if (row.control) item.append(...renderControl(row.control, address));
    if (row.accessory) item.append(element("span", "accessory-" + row.accessory));
    if (row.tappable) {
        item.classList.add("tappable");
        item.addEventListener("click", (event) => {
            if (event.target.closest("input, button")) return;
            send({ action: "tap", ...address });
        });
    }
    return item;
}

function renderTable(page, container) {
    container.replaceChildren();
    page.sections.forEach((section, sectionIndex) => {
        const group = element("section", "group");
        if (section.header) group.append(element("h2", "group-header", section.header));
        if (section.rows.length) {
            const rows = element("ul", "rows");
            section.rows.forEach((row, rowIndex) => rows.append(renderRow(row, { section: sectionIndex, row: rowIndex })));
            group.append(rows);
        }
        if (section.footer) group.append(element("p", "group-footer", section.footer));
        container.append(group);
    });
}

// A page the phone draws itself (the colour editor): its image, and touches forwarded
// at view coordinates. Moves are sent one at a time; the newest waits for the answer.
// The image element stays while the page does, so that a finger keeps its capture.
function renderDrawnPage(page, container) {
    let image = container.querySelector(".drawn-page");
    if (!image) {
        container.replaceChildren();
        image = element("img", "drawn-page");
        image.alt = "";
        image.draggable = false;
        listenToFinger(image);
        container.append(image);
    }
    Object.assign(image, { src: page.image, width: page.width, height: page.height });
}

function listenToFinger(image) {
    // The width and height attributes hold the view's size in points, whatever size
    // the image is shown at.
    const pointAt = (event) => {
        const box = image.getBoundingClientRect();
        return { x: (event.clientX - box.left) * Number(image.getAttribute("width")) / box.width,
                 y: (event.clientY - box.top) * Number(image.getAttribute("height")) / box.height };
    };
    let lastPoint = null; // where the finger was last seen
    image.addEventListener("pointerdown", (event) => {
        image.setPointerCapture(event.pointerId);
        fingerDown = true;
        lastPoint = pointAt(event);
        send({ action: "touch", phase: "began", ...lastPoint });
    });
    image.addEventListener("pointermove", (event) => {
        if (!fingerDown) return;
        lastPoint = pendingMove = pointAt(event);
        sendPendingMove();
    });
    // A lifted finger ends the touch where it is. A touch the browser takes away (a
    // system gesture, a lost capture) ends where the finger was last seen, so that the
    // phone never believes a finger is still down.
    const end = async (point) => {
        if (!fingerDown) return;
        fingerDown = false;
        pendingMove = null;
        await untilIdle();
        send({ action: "touch", phase: "ended", ...point });
    };
    image.addEventListener("pointerup", (event) => end(pointAt(event)));
    image.addEventListener("pointercancel", () => end(lastPoint));
}

async function sendPendingMove() {
    if (busy || !pendingMove) return;
    const point = pendingMove;
    pendingMove = null;
    await send({ action: "touch", phase: "moved", ...point });
    sendPendingMove();
}

async function untilIdle() {
    while (busy) await new Promise((done) => setTimeout(done, 10));
}

function renderAlerts(alerts) {
    const layer = document.getElementById("alerts");
    layer.replaceChildren();
    alerts.forEach((alert, alertIndex) => {
        const box = element("div", "alert");
        box.setAttribute("role", "alertdialog");
        box.append(element("p", "alert-title", alert.title), element("p", "alert-message", alert.message));
        let field = null;
        if (alert.field) {
            field = element("input", "alert-field");
            Object.assign(field, { type: "text", value: alert.field.text, placeholder: alert.field.placeholder });
            box.append(field);
        }
        const buttons = element("div", "alert-buttons");
        alert.buttons.forEach((title, buttonIndex) => {
            const button = element("button", "alert-button", title);
            button.addEventListener("click", () => {
                const press = { action: "alert", alert: alertIndex, button: buttonIndex };
                if (field) press.text = field.value;
                send(press);
            });
            buttons.append(button);
        });
        box.append(buttons);
        layer.append(box);
    });
}

// The banner slides in whenever it turns from hidden to shown (app.css).
function renderBanner(banner) {
    document.getElementById("banner").hidden = !banner;
    document.getElementById("banner-text").textContent = banner ? banner.text : "";
}

function render(state) {
    renderNavigation(state.navigation);
    const container = document.getElementById("page");
    if (state.page.kind === "table") renderTable(state.page, container);
    else renderDrawnPage(state.page, container);
    renderAlerts(state.alerts);
    renderBanner(state.banner);
}

// What changes without the user (the banner, a page's own timers) is fetched now and
// then, unless the user is in the middle of something the redraw would disturb.
function poll() {
    const typing = document.activeElement && document.activeElement.tagName === "INPUT";
    if (!busy && !fingerDown && !typing && document.visibilityState === "visible")
        request("/api/state");
}

document.getElementById("back-button").addEventListener("click", () => send({ action: "back" }));
document.getElementById("left-button").addEventListener("click", () => send({ action: "bar", side: "left" }));
document.getElementById("right-button").addEventListener("click", () => send({ action: "bar", side: "right" }));
document.getElementById("banner").addEventListener("click", () => send({ action: "banner" }));
request("/api/state");
setInterval(poll, pollMilliseconds);
