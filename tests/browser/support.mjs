// What the browser tests share: a `vellum serve` of their own on a copy of
// a sample, headless Chromium pointed at it, where a phrase lies on a page
// (from `vellum text --json`), and readers of saved files and screenshots
// that share no code with vellum (pypdf, PIL).
import { spawn, execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';

export const VELLUM = process.env.VELLUM_EXE;
export const SAMPLES = process.env.SAMPLES_DIR;
export const PROBE = process.env.PDFPROBE_PY;
export const ARTIFACTS = process.env.ARTIFACTS_DIR || path.join(os.tmpdir(), 'editor-artifacts');
fs.mkdirSync(ARTIFACTS, { recursive: true });

// A folder of the test's own with a copy of the sample and a settings store.
export function workFolder(sample = 'sample.pdf') {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vellum-editor-'));
  fs.copyFileSync(path.join(SAMPLES, sample), path.join(folder, sample));
  return { folder, env: { ...process.env, VELLUM_SETTINGS: path.join(folder, 'settings.sqlite3') } };
}

// Starts `vellum serve` with `args` in the work folder; resolves once it has
// printed its address.
export function serve(work, args) {
  const child = spawn(VELLUM, ['serve', ...args], { cwd: work.folder, env: work.env });
  let out = '', err = '';
  child.stderr.on('data', (d) => { err += d; });
  const exited = new Promise((resolve) => child.on('exit', (code, signal) => resolve({ code, signal })));
  return new Promise((resolve, reject) => {
    child.stdout.on('data', (d) => {
      out += d;
      if (out.includes('\n')) {
        const url = out.split('\n')[0];
        resolve({
          url,
          child,
          stderr: () => err,
          async stop() {
            child.kill('SIGTERM');
            return { ...(await exited), err };
          },
        });
      }
    });
    exited.then(({ code }) => reject(new Error('vellum serve ended (' + code + '): ' + err)));
  });
}

export async function launch() {
  const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'vellum-chromium-'));
  // A fresh profile each run (Playwright passes it as --user-data-dir).
  const browser = await chromium.launchPersistentContext(userDataDir, {
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    viewport: { width: 1280, height: 900 },
  });
  return {
    browser,
    async close() {
      await browser.close();
      fs.rmSync(userDataDir, { recursive: true, force: true });
    },
  };
}

// Opens the editor and waits until the first page is shown.
export async function openEditor(browser, url) {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(url);
  await page.waitForSelector('[data-page="1"] img[src]');
  return { page, errors };
}

// The host's state, as the page reads it.
export async function hostState(url) {
  const response = await fetch(url + 'api/state');
  return response.json();
}

export async function waitFor(predicate, what, timeout = 10000) {
  const end = Date.now() + timeout;
  for (;;) {
    const value = await predicate();
    if (value) return value;
    if (Date.now() > end) throw new Error('timed out waiting for ' + what);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

// Where a phrase lies: its first and last characters' quads on their pages
// (counted from 1), as `vellum text --json` gives them. A space in the
// phrase matches any white space, line ends included.
export function findPhrase(pdf, phrase) {
  const text = JSON.parse(execFileSync(VELLUM, ['text', pdf, '--json'],
                                      { encoding: 'utf8', maxBuffer: 1 << 28 }));
  let all = '';
  const owners = [];
  for (const page of text.pages) {
    page.chars.forEach((c) => {
      for (let k = 0; k < c.text.length; ++k) owners.push({ page, c });
      all += c.text;
    });
    // A page ends a line.
    owners.push(null);
    all += '\n';
  }
  const pattern = new RegExp(phrase.split(' ').map((w) => w.replace(/[.*+?^${}()|[\]\\]/g, '\\$&'))
    .join('\\s+'));
  const match = pattern.exec(all);
  if (!match) throw new Error('no phrase ' + phrase);
  const first = owners[match.index], last = owners[match.index + match[0].length - 1];
  return { first: { page: first.page, quad: first.c.quad }, last: { page: last.page, quad: last.c.quad } };
}

// A page point in pixels of the page's box at a zoom (pages of the samples
// used here are upright).
export function pagePixel(page, x, y, zoom) {
  return { x: (x - page.cropBox[0]) * zoom, y: (page.cropBox[3] - y) * zoom };
}

// The middle of a character's quad, and a point just past its trailing edge.
export function charMiddle(ch, zoom) {
  const q = ch.quad;
  return pagePixel(ch.page, (q[0] + q[2]) / 2, (q[1] + q[5]) / 2, zoom);
}
export function justPast(ch, zoom) {
  const q = ch.quad;
  const p = pagePixel(ch.page, q[2], (q[3] + q[7]) / 2, zoom);
  return { x: Math.ceil(p.x) + 1, y: p.y };
}

// Scrolls the document with the mouse wheel until the page point is well
// inside the window; its position in the window then.
export async function showPoint(page, pageNumber, point) {
  const scroller = await page.locator('#Document').boundingBox();
  for (let i = 0; i < 40; ++i) {
    const box = await page.locator(`[data-page="${pageNumber}"]`).boundingBox();
    const y = box.y + point.y;
    if (y > scroller.y + 60 && y < scroller.y + scroller.height - 60)
      return { x: box.x + point.x, y };
    await page.mouse.move(scroller.x + scroller.width / 2, scroller.y + scroller.height / 2);
    await page.mouse.wheel(0, y - (scroller.y + scroller.height / 2));
    await page.waitForTimeout(100);
  }
  throw new Error('cannot scroll to the point');
}

// Everything pypdf reads from a saved PDF, as "/path" -> value.
export function probeAnnots(pdf) {
  const lines = execFileSync('/usr/bin/python3', [PROBE, 'annots', pdf], { encoding: 'utf8' });
  return Object.fromEntries(lines.trim().split('\n').map((l) => l.split('\t')));
}

// A pixel of a PNG file as [r, g, b], read with PIL.
export function pixel(png, x, y) {
  const code = 'import sys; from PIL import Image; ' +
    'print(*Image.open(sys.argv[1]).convert("RGB").getpixel((int(sys.argv[2]), int(sys.argv[3]))))';
  return execFileSync('/usr/bin/python3', ['-c', code, png, String(Math.round(x)), String(Math.round(y))],
                      { encoding: 'utf8' }).trim().split(' ').map(Number);
}

export function annotColor(values, prefix) {
  return [0, 1, 2].map((k) => Math.round(Number(values[`${prefix}/color/${k}`]) * 255));
}
