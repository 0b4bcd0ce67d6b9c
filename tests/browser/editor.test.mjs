// The browser editor used as a person uses it: real mouse events in headless
// Chromium on the page that `vellum serve` serves, the saved files read with
// pypdf. Screenshots of each run are kept in ARTIFACTS_DIR.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import {
  ARTIFACTS, VELLUM, annotColor, charMiddle, findPhrase, hostState, justPast, launch, openEditor,
  pixel, probeAnnots, serve, showPoint, waitFor, workFolder,
} from './support.mjs';

let chromium;
before(async () => { chromium = await launch(); });
after(async () => { await chromium.close(); });

// Opens the editor on a fresh copy of the sample; `body` gets the page and
// the server, which is stopped afterwards (its outcome is returned).
async function withEditor(args, body) {
  const work = workFolder();
  const server = await serve(work, args);
  let outcome = null;
  try {
    const { page, errors } = await openEditor(chromium.browser, server.url);
    try {
      await body({ page, server, work });
      assert.deepEqual(errors, [], 'the page ran without errors');
    } finally {
      await page.close();
    }
  } finally {
    outcome = await server.stop();
  }
  return { work, outcome };
}

// Presses on the phrase's first character and drags to just past its last,
// scrolling with the wheel while the button is down when the end is out of
// sight. Returns the end point; the button stays down.
async function dragOverPhrase(page, phrase, zoom) {
  const from = await showPoint(page, phrase.first.page.page, charMiddle(phrase.first, zoom));
  await page.mouse.move(from.x, from.y);
  await page.mouse.down();
  const end = justPast(phrase.last, zoom);
  const scroller = await page.locator('#Document').boundingBox();
  for (;;) {
    const box = await page.locator(`[data-page="${phrase.last.page.page}"]`).boundingBox();
    const to = { x: box.x + end.x, y: box.y + end.y };
    if (to.y < scroller.y + scroller.height - 20) {
      await page.mouse.move(to.x, to.y, { steps: 12 });
      return to;
    }
    await page.mouse.wheel(0, 200);
    await page.waitForTimeout(50);
  }
}

async function saved(page) {
  await page.click('#Save');
  await page.waitForFunction(() => document.getElementById('Status').textContent.startsWith('Saved'));
}

const annotCount = (values, pageIndex) => Number(values[`/pages/${pageIndex}/annots/#`]);

describe('vellum serve in a browser', () => {
  test('a highlight is painted while dragging and saved over exactly the phrase', async () => {
    const { work, outcome } = await withEditor(['sample.pdf', '-o', 'out.pdf'], async ({ page, server, work }) => {
      const phrase = findPhrase(path.join(work.folder, 'sample.pdf'),
                                'The quick brown fox jumps over the lazy dog');
      const zoom = (await hostState(server.url)).document.zoom;
      await page.click('#Highlight');
      await page.waitForSelector('#Highlight[checked]');
      const to = await dragOverPhrase(page, phrase, zoom);

      // Mid-drag: the overlay lies over the phrase before the release.
      const n = phrase.last.page.page;
      const middle = justPast(phrase.last, zoom);
      middle.x -= 20;
      await page.waitForFunction(([n, x, y]) => document.querySelector(`[data-page="${n}"] canvas`)
        .getContext('2d').getImageData(x, y, 1, 1).data[3] > 0, [n, middle.x, middle.y]);
      const shot = path.join(ARTIFACTS, 'highlight-mid-drag.png');
      await page.screenshot({ path: shot });
      const yellow = [0, 4, 8, 12, 16].map((dx) => pixel(shot, to.x - 20 - dx, to.y))
        .some(([r, g, b]) => r > 200 && g > 180 && b < 140);
      assert.ok(yellow, 'the screenshot shows the highlight over the phrase during the drag');

      await page.mouse.up();
      await waitFor(async () => (await hostState(server.url)).document.undo === 1, 'one undo step');
      await page.waitForSelector('#Undo:not([disabled])');
      await saved(page);
      await page.screenshot({ path: path.join(ARTIFACTS, 'highlight-saved.png') });
    });
    assert.equal(outcome.code, 0, outcome.err);
    const values = probeAnnots(path.join(work.folder, 'out.pdf'));
    const phrase = findPhrase(path.join(work.folder, 'sample.pdf'),
                              'The quick brown fox jumps over the lazy dog');
    const pageIndex = phrase.first.page.page - 1;
    assert.equal([0, 1, 2, 3, 4].reduce((sum, p) => sum + annotCount(values, p), 0), 1);
    assert.equal(values[`/pages/${pageIndex}/annots/0/subtype`], '/Highlight');
    const quads = Array.from({ length: Number(values[`/pages/${pageIndex}/annots/0/quads/#`]) },
                             (_, k) => Number(values[`/pages/${pageIndex}/annots/0/quads/${k}`]));
    const xs = quads.filter((_, k) => k % 2 === 0);
    assert.ok(Math.abs(Math.min(...xs) - phrase.first.quad[0]) < 0.6, 'starts at the phrase');
    assert.ok(Math.abs(Math.max(...xs) - phrase.last.quad[2]) < 0.6, 'ends at the phrase');
    assert.ok(!outcome.err.includes('discarded'), outcome.err);
  });

  test('an underline colour from the popup, over two pages, undone, redone and saved', async () => {
    const blue = 'ff3b82ff';
    const { work, outcome } = await withEditor(['sample.pdf', '-o', 'out.pdf'], async ({ page, server, work }) => {
      const phrase = findPhrase(path.join(work.folder, 'sample.pdf'),
                                'this account continues on the next page');
      assert.notEqual(phrase.first.page.page, phrase.last.page.page);
      // Zoomed out, the two pages fit into the window.
      while ((await page.textContent('#Zoom')) !== '50%') {
        const before = await page.textContent('#Zoom');
        await page.click('#ZoomOut');
        await page.waitForFunction((z) => document.getElementById('Zoom').textContent !== z, before);
      }
      await page.click('#Underline-split-item');
      const popup = '#Underline-split-item .popup';
      await page.waitForSelector(popup + '[data-open]');
      await page.click(`${popup} .color-cell[data-color="${blue}"]`);
      await page.waitForSelector('#Underline[checked]');

      await dragOverPhrase(page, phrase, 0.5);
      await page.mouse.up();
      const state = () => hostState(server.url).then((s) => s.document);
      await waitFor(async () => (await state()).undo === 1, 'one undo step for both pages');
      await page.waitForSelector('#Undo:not([disabled])');
      await page.screenshot({ path: path.join(ARTIFACTS, 'underline-two-pages.png') });
      await page.click('#Undo');
      await waitFor(async () => (await state()).undo === 0, 'the undo');
      await page.click('#Redo');
      await waitFor(async () => (await state()).undo === 1, 'the redo');
      await saved(page);
    });
    assert.equal(outcome.code, 0, outcome.err);
    const values = probeAnnots(path.join(work.folder, 'out.pdf'));
    for (const p of [0, 1]) {
      assert.equal(annotCount(values, p), 1, 'one annotation on page ' + (p + 1));
      assert.equal(values[`/pages/${p}/annots/0/subtype`], '/Underline');
      assert.deepEqual(annotColor(values, `/pages/${p}/annots/0`), [0x3b, 0x82, 0xff]);
    }
    const last = execFileSync(VELLUM, ['options', 'get', 'Options/General/Last Color Underline'],
                              { env: work.env, encoding: 'utf8' });
    assert.equal(last.trim().toLowerCase(), blue);
  });

  test("the Font group's strike-out popup shows the handler's colour and strikes out", async () => {
    const black = 'ff000000';
    const { work, outcome } = await withEditor(['sample.pdf', '-o', 'out.pdf'], async ({ page, server, work }) => {
      const icon = '.font-strike-icon';
      const state = () => hostState(server.url).then((s) => s.document);
      await page.click(icon);
      await page.waitForSelector(icon + ' .popup[data-open]');
      await page.click(`${icon} .color-cell[data-color="${black}"]`);
      await waitFor(async () => (await state()).tool !== '', 'the tool');

      const phrase = findPhrase(path.join(work.folder, 'sample.pdf'),
                                'markup annotations are stored with the document');
      await dragOverPhrase(page, phrase, (await state()).zoom);
      await page.mouse.up();
      await waitFor(async () => (await state()).undo === 1, 'the strike-out');

      // Opened again, the popup shows the colour the handler sends: the
      // active tool's.
      await page.click(icon);
      const current = await page.waitForSelector(icon + ' .color-cell[data-current]');
      const request = (await hostState(server.url)).popups.at(-1);
      assert.equal(parseInt(request.color, 16), parseInt(black, 16));
      assert.equal(await current.evaluate((c) => c.dataset.color), black);
      await page.screenshot({ path: path.join(ARTIFACTS, 'font-strike-popup.png') });

      await page.keyboard.press('Escape');
      assert.equal(await page.$(icon + ' .popup[data-open]'), null);
      assert.notEqual((await state()).tool, '', 'the first Escape only closes the popup');

      // A reload shows what the host holds, and its input goes on in order:
      // Escape ends the tool, as the host's finishing button does.
      await page.reload();
      await page.waitForSelector('[data-page="1"] img[src]');
      await page.waitForSelector('#Undo:not([disabled])');
      await page.keyboard.press('Escape');
      await waitFor(async () => (await state()).tool === '', 'the tool to end');
      await saved(page);
    });
    assert.equal(outcome.code, 0, outcome.err);
    const values = probeAnnots(path.join(work.folder, 'out.pdf'));
    assert.equal(values['/pages/0/annots/0/subtype'], '/StrikeOut');
    assert.deepEqual(annotColor(values, '/pages/0/annots/0'), [0, 0, 0]);
  });

  test('a read-only document: the drop-down parts are disabled and nothing is added', async () => {
    const { outcome } = await withEditor(['sample.pdf', '--read-only'], async ({ page, server, work }) => {
      await page.waitForSelector('#Highlight-split-item[disabled]');
      for (const id of ['Underline-split-item', 'Strikethrough-split-item'])
        assert.ok(await page.$(`#${id}[disabled]`), id + ' is disabled');
      // A click on a greyed-out part does nothing.
      const part = await page.locator('#Highlight-split-item').boundingBox();
      await page.mouse.click(part.x + part.width / 2, part.y + part.height / 2);
      await page.waitForTimeout(200);
      assert.equal(await page.$('#Highlight-split-item .popup[data-open]'), null);
      await page.click('#Highlight');
      const phrase = findPhrase(path.join(work.folder, 'sample.pdf'),
                                'The quick brown fox jumps over the lazy dog');
      await dragOverPhrase(page, phrase, (await hostState(server.url)).document.zoom);
      await page.mouse.up();
      await page.waitForTimeout(300);
      await page.screenshot({ path: path.join(ARTIFACTS, 'read-only.png') });
      const doc = (await hostState(server.url)).document;
      assert.equal(doc.undo, 0);
      assert.equal(doc.unsaved, false);
    });
    assert.equal(outcome.code, 0, outcome.err);
  });

  test('a wrong token, a foreign Host header and an oversized request are refused', async () => {
    let before;
    const { work, outcome } = await withEditor(['sample.pdf'], async ({ page, server, work }) => {
      before = fs.readFileSync(path.join(work.folder, 'sample.pdf'));
      const url = new URL(server.url);
      const wrong = url.pathname.replace(/[0-9a-f]/, (c) => (c === '0' ? '1' : '0'));
      const refused = await page.goto(url.origin + wrong);
      assert.equal(refused.status(), 403);

      const status = (options, body) => new Promise((resolve, reject) => {
        const request = http.request({ host: '127.0.0.1', port: url.port, ...options },
                                     (response) => { response.resume(); resolve(response.statusCode); });
        request.on('error', reject);
        request.end(body);
      });
      assert.equal(await status({ path: url.pathname, headers: { Host: 'evil.example:' + url.port } }), 403);
      assert.equal(await status({ path: url.pathname + 'api/undo', method: 'POST',
                                  headers: { 'Content-Type': 'text/plain' } }, 'x'.repeat(1 << 20)), 413);
      assert.equal(await status({ path: url.pathname }), 200);
      assert.equal((await hostState(server.url)).document.undo, 0);
    });
    assert.equal(outcome.code, 0, outcome.err);
    assert.deepEqual(fs.readFileSync(path.join(work.folder, 'sample.pdf')), before);
    assert.ok(!outcome.err.includes('discarded'));
  });
});
