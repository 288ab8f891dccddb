#!/usr/bin/env node
// Checks a browser help written by quorvex-convert --web in headless Chromium,
// for help projects that have no expectations written down (real projects):
//
//   node tests/web/browser/check-web-help.mjs OUTDIR/web [--http]
//
// Every contents entry is clicked and must load its page; every page is opened
// and each of its popup links must open a popup box that Esc closes; the pages
// that the contents reach, directly or through the pages' links, are counted.
// Console errors and failed requests count as failures. Exit status 1 when
// anything failed.
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import {
  closePopupWithEscape, contentsRows, helpData, launch, openAllBooks, openPopup, openViewer, pageFrame, popupLinks,
  serve, waitForPage,
} from './help-browser.mjs';

const webDir = path.resolve(process.argv[2] ?? '');
const overHttp = process.argv.includes('--http');
const failures = [];

const chromium = await launch();
const server = overHttp ? await serve(webDir) : null;
const base = server ? server.url : pathToFileURL(webDir).href + '/';
try {
  const { page, problems } = await openViewer(chromium.browser, base + 'index.html', base);
  const data = await helpData(page);
  const titles = Object.fromEntries(data.pages.map((p) => [p.f, p.t]));
  const show = (file) => waitForPage(page, file, titles[file], data.title);
  const linksOf = (frame) => frame.$$eval('a[href], area[href]', (links) => links
    .filter((a) => !/^\s*javascript:/i.test(a.getAttribute('href')))
    .map((a) => decodeURIComponent(new URL(a.href).pathname.split('/').pop())));

  // The contents pane: each entry with a page loads it.
  await openAllBooks(page);
  const rows = await contentsRows(page);
  const fromContents = new Set();
  for (const row of rows.filter((r) => r.page)) {
    try {
      await page.click(`#contents-tree a[href="#${encodeURIComponent(row.page)}"]`);
      await show(row.page);
      fromContents.add(row.page);
    } catch (error) {
      failures.push(`contents entry ${row.name} (${row.page}): ${error.message}`);
    }
  }

  // Every page: its popups, and its links for the reachability count.
  const linked = new Map();
  let popups = 0, emptyPopups = 0;
  for (const file of data.pages.map((p) => p.f)) {
    await page.evaluate((f) => { location.hash = '#' + encodeURIComponent(f); }, file);
    let frame;
    try {
      frame = await show(file);
    } catch (error) {
      failures.push(`page ${file}: ${error.message}`);
      continue;
    }
    linked.set(file, (await linksOf(frame)).filter((f) => titles[f] !== undefined));
    for (const link of await popupLinks(frame)) {
      const href = await link.evaluate((a) => a.getAttribute('href'));
      try {
        const popup = await openPopup(page, frame, link);
        if (popup.text.trim() === '') emptyPopups++;
        if (!(await closePopupWithEscape(page, frame, link))) failures.push(`${file} ${href}: focus not back on the link`);
        popups++;
      } catch (error) {
        failures.push(`${file} ${href}: ${error.message}`);
      }
    }
  }
  const reached = new Set(fromContents);
  for (const queue = [...fromContents]; queue.length > 0;) {
    for (const next of linked.get(queue.pop()) ?? []) {
      if (!reached.has(next)) queue.push(next), reached.add(next);
    }
  }
  failures.push(...problems);

  const unreached = data.pages.map((p) => p.f).filter((f) => !reached.has(f));
  console.log(`${data.title}: ${data.pages.length} pages; contents: ${rows.length} entries, ` +
    `${rows.filter((r) => r.page).length} with a page, ${fromContents.size} pages opened from it; ` +
    `${reached.size} pages reached from the contents and their links` +
    (unreached.length ? ` (not reached: ${unreached.join(', ')})` : '') +
    `; ${popups} popups opened and closed (${emptyPopups} with empty text)`);
} finally {
  await chromium.close();
  await server?.close();
}
for (const failure of failures) console.log(`FAILED: ${failure}`);
process.exit(failures.length > 0 ? 1 : 0);
