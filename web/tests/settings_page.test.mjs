// The settings page as a player uses it, in the browser the harness opens
// (CTest runs this file once in Chromium and once in Firefox ESR).
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { mkdirSync, readFileSync } from "node:fs";
import { join } from "node:path";
import {
  openPage, closePage, page, requests, open, drop, bind, fill, save, scratchFile, text, value,
  nativeReport, values, drag, samples, shippedPath, top, browserName,
} from "./page_harness.mjs";

const shots = process.env.VELQUORIN_SHOTS || join(top, "build", "web");
const withoutFileLine = (report) => report.split("\n").filter((line) => !line.startsWith("File: ")).join("\n");

before(() => openPage());
after(() => closePage());

test("a player drags panel 0, binds throttle_up to Q, dims the text and saves", async () => {
  await page.click("#shipped");
  await page.select("#preset", "0");
  await drag([0.5, 0.88], [0.25, 0.75]);
  assert.equal(await bind("throttle_up", "KeyQ"), "Q");
  await fill("#textOpacity", "128");
  mkdirSync(shots, { recursive: true });
  await page.screenshot({ path: join(shots, `settings-page-${browserName}.png`), fullPage: true });
  const saved = scratchFile("moved.ini", await save());

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
    assert.deepEqual(await save(), readFileSync(file), file);
  }
  // LF line ends, no [keys] section, [gui] without text_opacity and no line end at its end.
  await open(scratchFile("own.ini", "; mine\n[GUI]\nGUI_Position_X_0 = 0.3\n\n[gameplay]\nuse_metric_system=1"));
  await fill("#textOpacity", "90");
  await bind("brake_hard", "ShiftRight");
  await page.click("#mph");
  assert.equal((await save()).toString("latin1"),
               "; mine\n[GUI]\nGUI_Position_X_0 = 0.3\ntext_opacity=90\n\n[gameplay]\nuse_metric_system=0\n\n[keys]\nbrake_hard=RSHIFT\n");
  // A UTF-16 file is shown but left alone: bytes written into it would garble it.
  const wide = Buffer.from("\uFEFF[gui]\r\ntext_opacity=200\r\n", "utf16le");
  await open(scratchFile("wide.ini", wide));
  assert.equal(await value("#textOpacity"), "200");
  await fill("#textOpacity", "90");
  assert.equal(await page.$eval("#readOnly", (element) => element.hidden), false);
  assert.deepEqual(await save(), wide);
  assert.deepEqual(requests, [], "the page asked for nothing beyond itself");
});

test("a file dropped on the page opens as the file button opens it", async () => {
  await page.click("#shipped");
  const bytes = readFileSync(join(samples, "two_actions_one_key.ini"));
  await drop("dropped.ini", bytes);
  assert.equal(withoutFileLine(await text("#report")), withoutFileLine(nativeReport(join(samples, "two_actions_one_key.ini"))));
  assert.deepEqual(await save(), bytes);
});

test("a broken file shows the checker's own findings, in the report and beside the keys", async () => {
  for (const file of [shippedPath, ...["position_not_a_number.ini", "two_actions_one_key.ini", "binding_typo.ini",
                                        "panel_off_screen.ini"].map((name) => join(samples, name))]) {
    await open(file);
    assert.equal(withoutFileLine(await text("#report")), withoutFileLine(nativeReport(file)), file);
  }
  await open(join(samples, "two_actions_one_key.ini"));
  assert.match(await text("#keyFindings"), /brake_hard are both on W \(87\)|throttle_up and brake_hard are both on W \(87\)/);
  await open(join(samples, "panel_off_screen.ini"));
  assert.match(await text("#panelFindings"), /screen's edge cuts part of it off/);
  assert.deepEqual(requests, [], "the page asked for nothing beyond itself");
});
