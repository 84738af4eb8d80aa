// The settings page opened from file://, as a player opens it from the zip,
// in the browser VELQUORIN_BROWSER names: Debian's Chromium (over CDP) or
// Firefox ESR (over WebDriver BiDi), both driven by puppeteer-core, which
// brings no browser of its own. What the page saves is caught as the bytes
// it hands the browser, and read back by the native checker.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, dirname, basename } from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import puppeteer from "puppeteer-core";

export const top = join(dirname(fileURLToPath(import.meta.url)), "..", "..");
export const browserName = process.env.VELQUORIN_BROWSER || "chromium";
export const samples = join(top, "tools", "tests", "settings");
export const shippedPath = join(top, "Velquorin.ini");
const pagePath = process.env.VELQUORIN_PAGE || join(top, "dist", "Velquorin-settings.html");
const sim = process.env.VELQUORIN_SIM || join(top, "build", "linux", "velquorin-sim");

let browser = null, standIn = null;
export let page = null, scratch = null;
export const requests = [];  // every request the page made that left the page itself

const launches = {
  chromium: {
    browser: "chrome", executablePath: "/usr/bin/chromium",
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
           "--disable-component-update", "--disable-sync"],
  },
  // puppeteer's own Firefox profile turns off updates, telemetry and safe browsing.
  firefox: { browser: "firefox", executablePath: "/usr/bin/firefox-esr" },
};

// Opens the page, in a new browser the first time. A `userAgent` stands in
// for the player's browser and system as navigator.userAgent tells them.
export async function openPage({ userAgent } = {}) {
  if (!browser) {
    scratch = mkdtempSync(join(tmpdir(), "velquorin-page-"));
    const launch = launches[browserName];
    assert.ok(launch, `VELQUORIN_BROWSER=${browserName}: chromium or firefox`);
    browser = await puppeteer.launch({ ...launch, headless: true, userDataDir: join(scratch, "profile") });
    page = (await browser.pages())[0] || await browser.newPage();
    await resize();
    page.on("request", (request) => {
      if (!/^(data|blob|file):/.test(request.url())) requests.push(request.url());
    });
  }
  if (standIn) await page.removeScriptToEvaluateOnNewDocument(standIn.identifier);
  standIn = userAgent ? await page.evaluateOnNewDocument(
    (value) => Object.defineProperty(Navigator.prototype, "userAgent", { get: () => value }), userAgent) : null;
  const started = Date.now();
  await page.goto(pathToFileURL(pagePath).href);
  await page.waitForSelector("body[data-ready='1']", { timeout: 20000 });
  const inPage = await page.evaluate(() => Math.round(performance.now()));
  console.log(`${browserName}: page ${readFileSync(pagePath).length} bytes, ready ${Date.now() - started} ms after goto ` +
              `(${inPage} ms on the page's clock)`);
  return page;
}

// The page in a window of that size (a laptop's 1366 x 768), or in one with room for all of it.
export const resize = (width = 1400, height = 1500) => page.setViewport({ width, height });

export async function closePage() {
  await browser?.close();
  browser = page = null;
  // Firefox's last processes may still be writing to the profile for a moment after close.
  if (scratch) rmSync(scratch, { recursive: true, force: true, maxRetries: 10, retryDelay: 200 });
}

export const text = (selector) => page.$eval(selector, (element) => element.textContent);
export const value = (selector) => page.$eval(selector, (element) => element.value);

// Sets a slider or a field as a player's hand does: the value, then the input event.
export async function fill(selector, to) {
  await page.$eval(selector, (element, v) => {
    element.value = v;
    element.dispatchEvent(new Event("input", { bubbles: true }));
  }, String(to));
}

const fileShown = (name) => page.waitForFunction((n) => document.getElementById("file").textContent === n, {}, name);

// Opens a file through the page's file button.
export async function open(path) {
  const input = await page.$("#open");
  await input.uploadFile(path);
  await fileShown(basename(path));
}

// Drops a file onto the page, as from the file manager: the bytes arrive
// through the drop event's DataTransfer.
export async function drop(name, bytes) {
  await page.evaluate((n, b64) => {
    const bytes = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
    const files = new DataTransfer();
    files.items.add(new File([bytes], n));
    const target = document.querySelector("h2");
    for (const type of ["dragenter", "dragover", "drop"])
      target.dispatchEvent(new DragEvent(type, { bubbles: true, cancelable: true, dataTransfer: files }));
  }, name, Buffer.from(bytes).toString("base64"));
  await fileShown(name);
}

// Clicks Change beside an action, unless its row waits already.
async function change(action) {
  if (!await page.$(`tr.waiting[data-action='${action}']`)) await page.click(`tr[data-action='${action}'] button`);
}

// Clicks Change beside an action and presses a key (puppeteer's names: "KeyQ", "ShiftRight").
export async function bind(action, key) {
  await change(action);
  await page.keyboard.press(key);
  return text(`tr[data-action='${action}'] td.key`);
}

// Clicks Change beside an action and sends key events as a browser would
// ({ type: "keydown", code: "Semicolon", key: "ö", keyCode: 192 }): for
// what no real key of this machine sends, such as another layout's keys.
export async function bindByEvents(action, events) {
  await change(action);
  await page.evaluate((list) => {
    for (const { type, keyCode = 0, ...init } of list) {
      const event = new KeyboardEvent(type, { bubbles: true, cancelable: true, ...init });
      Object.defineProperty(event, "keyCode", { get: () => keyCode });
      document.activeElement.dispatchEvent(event);
    }
  }, events);
  return text(`tr[data-action='${action}'] td.key`);
}

// Presses Save and returns what the page hands the browser to download,
// checking it is offered as Velquorin.ini.
export async function save() {
  const saved = await page.evaluate(() => new Promise((resolve) => {
    const createObjectURL = URL.createObjectURL, click = HTMLAnchorElement.prototype.click;
    let blob = null;
    URL.createObjectURL = (b) => { blob = b; return createObjectURL.call(URL, b); };
    HTMLAnchorElement.prototype.click = async function () {
      URL.createObjectURL = createObjectURL;
      HTMLAnchorElement.prototype.click = click;
      const bytes = new Uint8Array(await blob.arrayBuffer());
      resolve({ name: this.download, bytes: Array.from(bytes, (b) => String.fromCharCode(b)).join("") });
    };
    document.getElementById("save").click();
  }));
  assert.equal(saved.name, "Velquorin.ini");
  return Buffer.from(saved.bytes, "latin1");
}

// Writes bytes to a file of the test's own scratch folder and returns its path.
export function scratchFile(name, bytes) {
  const path = join(scratch, name);
  writeFileSync(path, bytes);
  return path;
}

// The checker run in the file's folder on its name, as a player runs it
// in the game's folder: its "File:" line names the file as the page does.
export function nativeCheck(path) {
  try {
    return { status: 0, report: execFileSync(sim, ["check", basename(path)], { encoding: "latin1", cwd: dirname(path) }) };
  } catch (failed) {
    if (typeof failed.status === "number" && failed.stdout) return { status: failed.status, report: failed.stdout };
    throw failed;
  }
}
export const nativeReport = (path) => nativeCheck(path).report;

// The value column of the report: name -> what the game uses.
export function values(report) {
  const found = {};
  for (const line of report.split("\n")) {
    const match = /^ {2}(\w+) +(.+?) +[* ] default /.exec(line);
    if (match) found[match[1]] = match[2];
  }
  return found;
}

// A point of the screen picture, in the page's coordinates.
export async function screenPoint(x, y) {
  return page.evaluate((fx, fy) => {
    const canvas = document.getElementById("screen"), box = canvas.getBoundingClientRect();
    return [box.left + canvas.clientLeft + fx * canvas.clientWidth, box.top + canvas.clientTop + fy * canvas.clientHeight];
  }, x, y);
}

// Presses the mouse at one point of the screen picture and lets go at another,
// both in screen fractions, through a point halfway.
export async function drag([fromX, fromY], [toX, toY]) {
  const [ax, ay] = await screenPoint(fromX, fromY), [bx, by] = await screenPoint(toX, toY);
  await page.mouse.move(ax, ay);
  await page.mouse.down();
  await page.mouse.move((ax + bx) / 2, (ay + by) / 2);
  await page.mouse.move(bx, by);
  await page.mouse.up();
}
