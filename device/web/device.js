// The device page: the phone's live screen, driven as a finger and the buttons would,
// beside the settings application. Every gesture becomes a device command of the control
// channel (the same commands as `cvsim ctl`), sent one at a time.
"use strict";

const token = new URLSearchParams(location.search).get("token") || "";
const screenArea = document.getElementById("screen-area");
const screen = document.getElementById("screen");

// A finger that moves no further than this (in points) taps; held this long, it presses
// and holds.
const tapSlop = 8;
const holdMilliseconds = 600;
// Drags that start this close to the bottom or top edge pull a center.
const edgeBand = 16;
const centerPull = 40;

// What tests and the status line read: frames shown so far, and the newest one's number.
window.deviceFrames = { shown: 0, number: 0, width: 0, height: 0, scale: 1 };

function showError(text) {
    const error = document.getElementById("command-error");
    error.textContent = text || "";
    error.hidden = !text;
}

// Commands go one at a time, in order. A finger's moves are not queued behind each other:
// only the newest waits, so the pages follow the pointer however slow the phone is.
let queue = Promise.resolve();
let pendingMove = null;

async function send(words) {
    const response = await fetch("api/command", {
        method: "POST",
        headers: { "Content-Type": "application/json", "X-Corvane-Token": token },
        body: JSON.stringify({ words }),
    });
    const answer = await response.json().catch(() => ({}));
    showError(response.ok ? "" : `${words.join(" ")}: ${answer.error || response.status}`);
    return response.ok;
}

function command(...words) {
    queue = queue.then(() => send(words)).catch((error) => showError(String(error)));
    return queue;
}

function moveFinger(x, y) {
    const first = pendingMove === null;
    pendingMove = [x, y];
    if (!first) return;
    queue = queue.then(() => {
        const [mx, my] = pendingMove;
        pendingMove = null;
        return send(["finger", "move", mx, my]);
    }).catch((error) => showError(String(error)));
}

function number(value) {
    return String(Math.round(value * 10) / 10);
}

// The pointer's place on the screen, in the phone's points.
function pointOf(event) {
    const box = screen.getBoundingClientRect();
    return { x: event.clientX - box.left, y: event.clientY - box.top,
             height: box.height };
}

// The gesture of one pointer: undecided until it moves or is held, then a finger that
// drags, a pull from an edge, or a press and hold.
let gesture = null;

screenArea.addEventListener("pointerdown", (event) => {
    if (event.button !== 0 || !window.deviceFrames.shown) return;
    screenArea.setPointerCapture(event.pointerId);
    const start = pointOf(event);
    const edge = start.y > start.height - edgeBand ? "bottom" : start.y < edgeBand ? "top" : null;
    gesture = { start, edge, dragging: false, held: false };
    if (!edge)
        gesture.holdTimer = setTimeout(() => {
            gesture.held = true;
            command("edit", "on");
        }, holdMilliseconds);
});

screenArea.addEventListener("pointermove", (event) => {
    if (!gesture || gesture.edge || gesture.held) return;
    const point = pointOf(event);
    const moved = Math.hypot(point.x - gesture.start.x, point.y - gesture.start.y);
    if (!gesture.dragging && moved <= tapSlop) return;
    if (!gesture.dragging) {
        clearTimeout(gesture.holdTimer);
        gesture.dragging = true;
        command("finger", "down", number(gesture.start.x), number(gesture.start.y));
    }
    moveFinger(number(point.x), number(point.y));
});

function endGesture(event) {
    if (!gesture) return;
    const ended = gesture;
    gesture = null;
    clearTimeout(ended.holdTimer);
    const point = pointOf(event);
    const pulled = point.y - ended.start.y;
    if (ended.edge === "bottom" && pulled < -centerPull)
        command("control-center", "open");
    else if (ended.edge === "top" && pulled > centerPull)
        command("notification-center", "open");
    else if (ended.dragging)
        command("finger", "up", number(point.x), number(point.y));
    else if (!ended.held && event.type === "pointerup")
        command("tap", number(ended.start.x), number(ended.start.y));
}

screenArea.addEventListener("pointerup", endGesture);
screenArea.addEventListener("pointercancel", endGesture);

// The home button: one press goes home, two in quick succession open the switcher.
let homeTimer = null;
function pressHome() {
    if (homeTimer) {
        clearTimeout(homeTimer);
        homeTimer = null;
        command("switcher", "open");
        return;
    }
    homeTimer = setTimeout(() => {
        homeTimer = null;
        command("press-home");
    }, 300);
}

// Turning the phone a quarter at a time: portrait, landscape, upside down, landscape.
const orientations = ["1", "4", "2", "3"];
let orientation = 0;
function rotate() {
    orientation = (orientation + 1) % orientations.length;
    command("rotate", orientations[orientation]);
}

// Previews play on the phone itself, with the effect and animation chosen right now.
function previewScroll() {
    command("swipe-pages", "1");
    return command("swipe-pages", "0");
}

function previewLock() {
    command("lock");
    command("wait", "2");
    return command("unlock");
}

const buttons = {
    home: pressHome,
    lock: () => command("lock"),
    unlock: () => command("unlock"),
    rotate,
    respring: () => command("post", "com.kestrelworks.corvane3.applySettings"),
    "control-center": () => command("control-center", "open"),
    "notification-center": () => command("notification-center", "open"),
    "preview-scroll": previewScroll,
    "preview-lock": previewLock,
};
for (const [id, action] of Object.entries(buttons))
    document.getElementById(id).addEventListener("click", action);

const keys = {
    h: pressHome, s: () => command("switcher", "open"), l: buttons.lock, u: buttons.unlock,
    o: rotate, r: buttons.respring, c: buttons["control-center"],
    n: buttons["notification-center"], p: previewScroll, k: previewLock,
};
document.addEventListener("keydown", (event) => {
    if (event.ctrlKey || event.metaKey || event.altKey) return;
    const action = keys[event.key.toLowerCase()];
    if (!action) return;
    event.preventDefault();
    action();
});

// The screen: a frame arrives only when it changed.
function showFrame(event) {
    const frame = JSON.parse(event.data);
    screen.src = `data:image/jpeg;base64,${frame.jpeg}`;
    screen.style.width = `${frame.width / frame.scale}px`;
    screen.style.height = `${frame.height / frame.scale}px`;
    document.getElementById("screen-waiting").hidden = true;
    screenArea.classList.add("live");
    Object.assign(window.deviceFrames, { number: frame.number, width: frame.width,
                                         height: frame.height, scale: frame.scale });
    window.deviceFrames.shown += 1;
}

const frames = new EventSource(`api/frames?token=${encodeURIComponent(token)}`);
frames.addEventListener("frame", showFrame);

// The status line, and the settings application once the device has started it.
async function refreshStatus() {
    try {
        const response = await fetch("api/status", { headers: { "X-Corvane-Token": token } });
        const status = await response.json();
        const process = status.pid ? `process ${status.pid}` : "not running";
        document.getElementById("status-line").textContent =
            `${status.generation} · Core Foundation ${status.cf} · SpringBoard launch ` +
            `${status.launches}, ${process}`;
        document.getElementById("status-log").textContent = status.log.join("\n");
        const settings = document.getElementById("settings-frame");
        if (status.settings && !settings.src) settings.src = status.settings;
        window.deviceStatus = status;
    } catch (error) {
        document.getElementById("status-line").textContent = "The device does not answer.";
    }
}

refreshStatus();
setInterval(refreshStatus, 1000);
