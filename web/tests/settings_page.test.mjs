// The settings page in Debian's Chromium, opened from file:// as a player
// opens it from the zip. What it saves is read back by the native checker.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, writeFileSync, rmSync, mkdirSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, dirname } from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import { chromium } from "playwright-core";

const top = join(dirname(fileURLToPath(import.meta.url)), "..", "..");
const pagePath = process.env.VELQUORIN_PAGE || join(top, "dist", "Velquorin-settings.html");
const sim = process.env.VELQUORIN_SIM || join(top, "build", "linux", "velquorin-sim");
const shots = process.env.VELQUORIN_SHOTS || join(top, "build", "web");
const samples = join(top, "tools", "tests", "settings");
const shippedPath = join(top, "Velquorin.ini");

let context, page, scratch;
const requests = [];  // every request the page made that left the page itself

before(async () => {
  scratch = mkdtempSync(join(tmpdir(), "velquorin-page-"));
  context = await chromium.launchPersistentContext(join(scratch, "profile"), {
    executablePath: "/usr/bin/chromium",
    headless: true,
    acceptDownloads: true,
    viewport: { width: 1400, height: 1500 },
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
           "--disable-component-update", "--disable-sync"],
  });
  context.on("request", (request) => {
    if (!/^(data|blob|file):/.test(request.url())) requests.push(request.url());
  });
  page = context.pages()[0] || await context.newPage();
  const started = Date.now();
  await page.goto(pathToFileURL(pagePath).href);
  await page.waitForSelector("body[data-ready='1']", { timeout: 20000 });
  const inPage = await page.evaluate(() => Math.round(performance.now()));
  console.log(`page ${readFileSync(pagePath).length} bytes, ready ${Date.now() - started} ms after goto (${inPage} ms on the page's clock)`);
});

after(async () => {
  await context?.close();
  rmSync(scratch, { recursive: true, force: true });
});

// The checker's report on a file; the "File:" line names where it was.
function nativeReport(path) {
  try {
    return execFileSync(sim, ["check", path], { encoding: "latin1" });
  } catch (failed) {
    if (typeof failed.status === "number" && failed.stdout) return failed.stdout;  // warnings exit non-zero
    throw failed;
  }
}
const withoutFileLine = (report) => report.split("\n").filter((line) => !line.startsWith("File: ")).join("\n");

// The value column of the report: name -> what the game uses.
function values(report) {
  const found = {};
  for (const line of report.split("\n")) {
    const match = /^ {2}(\w+) +(.+?) +[* ] default /.exec(line);
    if (match) found[match[1]] = match[2];
  }
  return found;
}

async function open(path) {
  await page.setInputFiles("#open", path);
  await page.waitForFunction((name) => document.getElementById("file").textContent === name, path.split("/").pop());
}

async function save(name) {
  const [download] = await Promise.all([page.waitForEvent("download"), page.click("#save")]);
  assert.equal(download.suggestedFilename(), "Velquorin.ini");
  const saved = join(scratch, name);
  await download.saveAs(saved);
  return saved;
}

// A point of the screen picture, in the page's coordinates.
async function screenPoint(x, y) {
  return page.evaluate(([fx, fy]) => {
    const canvas = document.getElementById("screen"), box = canvas.getBoundingClientRect();
    return [box.left + canvas.clientLeft + fx * canvas.clientWidth, box.top + canvas.clientTop + fy * canvas.clientHeight];
  }, [x, y]);
}

test("a player drags panel 0, binds throttle_up to Q, dims the text and saves", async () => {
  await page.click("#shipped");
  await page.selectOption("#preset", "0");
  const [fromX, fromY] = await screenPoint(0.5, 0.88);
  const [toX, toY] = await screenPoint(0.25, 0.75);
  await page.mouse.move(fromX, fromY);
  await page.mouse.down();
  await page.mouse.move((fromX + toX) / 2, (fromY + toY) / 2);
  await page.mouse.move(toX, toY);
  await page.mouse.up();
  await page.click("tr[data-action='throttle_up'] button");
  await page.keyboard.press("KeyQ");
  assert.equal(await page.textContent("tr[data-action='throttle_up'] td.key"), "Q");
  await page.fill("#textOpacity", "128");
  mkdirSync(shots, { recursive: true });
  await page.screenshot({ path: join(shots, "settings-page.png"), fullPage: true });
  const saved = await save("moved.ini");

  const now = values(nativeReport(saved)), shipped = values(nativeReport(shippedPath));
  assert.ok(Math.abs(Number(now.gui_position_x_0) - 0.25) <= 0.005, `gui_position_x_0 = ${now.gui_position_x_0}`);
  assert.ok(Math.abs(Number(now.gui_position_y_0) - 0.75) <= 0.005, `gui_position_y_0 = ${now.gui_position_y_0}`);
  assert.equal(now.throttle_up, "Q (81)");
  assert.equal(now.text_opacity, "128");
  const changed = ["gui_position_x_0", "gui_position_y_0", "throttle_up", "text_opacity"];
  for (const name of Object.keys(shipped))
    if (!changed.includes(name)) assert.equal(now[name], shipped[name], name);

  const before = readFileSync(shippedPath, "latin1").split("\r\n"), after = readFileSync(saved, "latin1").split("\r\n");
  assert.equal(after.length, before.length, "the saved file has as many CR LF lines as the shipped one");
  const differing = before.flatMap((line, i) => (line === after[i] ? [] : [after[i].split("=")[0]]));
  assert.deepEqual(differing.sort(), [...changed].sort());
  assert.deepEqual(requests, [], "the page asked for nothing beyond itself");
});

test("a file opened and saved keeps the player's bytes: unchanged, or with absent keys added", async () => {
  for (const file of [shippedPath, join(samples, "header_two_brackets.ini"), join(samples, "bom_hides_section.ini")]) {
    await open(file);
    assert.deepEqual(readFileSync(await save("same.ini")), readFileSync(file), file);
  }
  // LF line ends, no [keys] section, [gui] without text_opacity and no line end at its end.
  const own = join(scratch, "own.ini");
  writeFileSync(own, "; mine\n[GUI]\nGUI_Position_X_0 = 0.3\n\n[gameplay]\nuse_metric_system=1");
  await open(own);
  await page.fill("#textOpacity", "90");
  await page.click("tr[data-action='brake_hard'] button");
  await page.keyboard.press("ShiftRight");
  await page.click("#mph");
  assert.equal(readFileSync(await save("own-saved.ini"), "latin1"),
               "; mine\n[GUI]\nGUI_Position_X_0 = 0.3\ntext_opacity=90\n\n[gameplay]\nuse_metric_system=0\n\n[keys]\nbrake_hard=RSHIFT\n");
  // A UTF-16 file is shown but left alone: bytes written into it would garble it.
  const wide = join(scratch, "wide.ini");
  writeFileSync(wide, Buffer.from("\uFEFF[gui]\r\ntext_opacity=200\r\n", "utf16le"));
  await open(wide);
  assert.equal(await page.inputValue("#textOpacity"), "200");
  await page.fill("#textOpacity", "90");
  assert.ok(await page.isVisible("#readOnly"));
  assert.deepEqual(readFileSync(await save("wide-saved.ini")), readFileSync(wide));
  assert.deepEqual(requests, [], "the page asked for nothing beyond itself");
});

test("a broken file shows the checker's own findings, in the report and beside the keys", async () => {
  for (const file of [shippedPath, ...["position_not_a_number.ini", "two_actions_one_key.ini", "binding_typo.ini",
                                        "panel_off_screen.ini", "altgr_pair.ini"].map((name) => join(samples, name))]) {
    await open(file);
    const shown = await page.textContent("#report");
    assert.equal(withoutFileLine(shown), withoutFileLine(nativeReport(file)), file);
  }
  await open(join(samples, "two_actions_one_key.ini"));
  const beside = await page.textContent("#keyFindings");
  assert.match(beside, /brake_hard are both on W \(87\)|throttle_up and brake_hard are both on W \(87\)/);
  await open(join(samples, "altgr_pair.ini"));
  assert.match(await page.textContent("#keyFindings"), /on keyboards with AltGr/);
  await open(join(samples, "panel_off_screen.ini"));
  assert.match(await page.textContent("#panelFindings"), /screen's edge cuts part of it off/);
  assert.deepEqual(requests, [], "the page asked for nothing beyond itself");
});
