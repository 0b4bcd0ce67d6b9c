// Pointer move to painted overlay in the browser editor: a long drag with
// the highlight tool over the densest page of the large sample, one real
// mouse move per frame at 60 Hz, in headless Chromium. For every move it
// takes the time from the browser's mousemove event to the animation frame
// that shows the overlay the host painted for it (the page's "overlay"
// performance measures), and the server's time per pointer request (its
// Server-Timing header). Prints the median and the 99th percentile of both
// beside the budget of one frame at 60 Hz.
//
//   node bench/editor-latency.mjs [build-dir] [moves]
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const build = path.resolve(process.argv[2] || path.join(root, 'build'));
const moves = Number(process.argv[3] || 600);
process.env.VELLUM_EXE = path.join(build, 'bin', 'vellum');
process.env.SAMPLES_DIR = path.join(build, 'samples');

const support = await import(path.join(root, 'tests/browser/support.mjs'));
const { charMiddle, launch, openEditor, serve, showPoint, workFolder } = support;

const FRAME_MS = 1000 / 60;

function percentile(values, p) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor((p / 100) * sorted.length))];
}

// The page with the most characters, and its characters.
function densestPage(pdf) {
  const text = JSON.parse(execFileSync(process.env.VELLUM_EXE, ['text', pdf, '--json'],
                                       { encoding: 'utf8', maxBuffer: 1 << 28 }));
  return text.pages.reduce((a, b) => (b.chars.length > a.chars.length ? b : a));
}

const work = workFolder('large.pdf');
const page = densestPage(path.join(work.folder, 'large.pdf'));
const server = await serve(work, ['large.pdf', '-o', 'out.pdf']);
const chromium = await launch();
try {
  const { page: tab } = await openEditor(chromium.browser, server.url);
  const zoom = (await (await fetch(server.url + 'api/state')).json()).document.zoom;
  await tab.click('#Highlight');
  await tab.waitForSelector('#Highlight[checked]');

  // From the page's first character, down and across its text in a zigzag
  // that stays inside the window.
  const letters = page.chars.filter((c) => c.text.trim() !== '');
  const first = { page, quad: letters[0].quad };
  const start = await showPoint(tab, page.page, charMiddle(first, zoom));
  const scroller = await tab.locator('#Document').boundingBox();
  const bottom = scroller.y + scroller.height - 40;
  await tab.mouse.move(start.x, start.y);
  await tab.mouse.down();
  await tab.evaluate(() => {
    performance.clearMeasures('overlay');
    performance.clearResourceTimings();
    performance.setResourceTimingBufferSize(100000);
  });
  for (let i = 0; i < moves; ++i) {
    const row = Math.floor(i / 40), column = i % 40;
    const x = start.x + (row % 2 ? 40 - column : column) * 12;
    const y = Math.min(bottom, start.y + row * 6 + column * 0.15);
    const frame = tab.waitForTimeout(FRAME_MS);
    await tab.mouse.move(x, y);
    await frame;
  }
  // Let the last overlay be painted before reading the measures.
  await tab.waitForTimeout(500);
  const { overlay, server: serverTimes, requests } = await tab.evaluate(() => {
    const pointer = performance.getEntriesByType('resource').filter((e) => e.name.includes('api/pointer'));
    return {
      overlay: performance.getEntriesByName('overlay').map((e) => e.duration),
      server: pointer.flatMap((e) => e.serverTiming.map((t) => t.duration)),
      requests: pointer.length,
    };
  });
  await tab.mouse.up();

  const report = (label, values) =>
    console.log(`${label}: median ${percentile(values, 50).toFixed(2)} ms, ` +
                `p99 ${percentile(values, 99).toFixed(2)} ms, max ${Math.max(...values).toFixed(2)} ms ` +
                `(${values.length} samples; one frame at 60 Hz is ${FRAME_MS.toFixed(1)} ms)`);
  console.log(`large.pdf page ${page.page} (${page.chars.length} characters), ${moves} moves, ` +
              `${requests} pointer requests`);
  report('move -> painted overlay (browser)', overlay);
  report('server time per pointer request', serverTimes);
} finally {
  await chromium.close();
  await server.stop();
  fs.rmSync(work.folder, { recursive: true, force: true });
}
