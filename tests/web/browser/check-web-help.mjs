#!/usr/bin/env node
// Checks a browser help written by quorvex-convert --web in headless Chromium,
// for help projects that have no expectations written down (real projects):
//
//   node tests/web/browser/check-web-help.mjs OUTDIR/web [--http]
//
// Every contents entry whose page the help has is clicked and must load it;
// every page is opened, each of its links (and image-map areas) must lead to a
// file that exists, a page among them to a page the viewer knows, and each of
// its popup links must open a popup box that Esc closes; every keyword must
// lead to pages that exist; every title must be found by the search for each
// of its words. The pages that the contents reach, directly or through the
// pages' links, are counted. Console errors and failed requests count as
// failures. Exit status 1 when anything failed.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import {
  closePopupWithEscape, contentsRows, helpData, launch, openAllBooks, openPopup, openViewer, popupLinks,
  serve, waitForPage,
} from './help-browser.mjs';

const webDir = path.resolve(process.argv[2] ?? '');
const overHttp = process.argv.includes('--http');
const failures = [];

const chromium = await launch();
const server = overHttp ? await serve(webDir) : null;
const base = server ? server.url : pathToFileURL(webDir).href + '/';

// Whether the file an address names is there: on disk, or as the server answers.
async function exists(address) {
  const url = new URL(address);
  url.hash = '';
  url.search = '';
  if (url.protocol === 'file:') return fs.existsSync(fileURLToPath(url)) && fs.statSync(fileURLToPath(url)).isFile();
  return (await fetch(url, { method: 'HEAD' })).ok;
}

const fileOf = (address) => decodeURIComponent(new URL(address).pathname.split('/').pop());

try {
  const { page, problems } = await openViewer(chromium.browser, base + 'index.html', base);
  const data = await helpData(page);
  const titles = Object.fromEntries(data.pages.map((p) => [p.f, p.t]));
  const show = (file) => waitForPage(page, file, titles[file], data.title);
  const htmlFolder = new URL('html/', base).href;

  // The contents pane: each entry with a page loads it; entries naming pages the help lacks are counted.
  await openAllBooks(page);
  const rows = await contentsRows(page);
  const missingInContents = await page.$$eval('#contents-tree .missing', (labels) => labels.length);
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

  // Every page: where its links lead, its popups, and its links for the reachability count.
  const linked = new Map();
  let popups = 0, emptyPopups = 0, links = 0, external = 0;
  for (const file of data.pages.map((p) => p.f)) {
    await page.evaluate((f) => { location.hash = '#' + encodeURIComponent(f); }, file);
    let frame;
    try {
      frame = await show(file);
    } catch (error) {
      failures.push(`page ${file}: ${error.message}`);
      continue;
    }
    const targets = await frame.$$eval('a[href], area[href]', (elements) => elements
      .map((a) => a.getAttribute('href').trim())
      .filter((href) => !/^javascript:/i.test(href))
      .map((href) => ({ href, url: new URL(href, document.baseURI).href })));
    const pagesLinked = [];
    for (const { href, url } of targets) {
      if (!url.startsWith(base)) {
        external++;  // web addresses and mail, which are not the help's to check
        continue;
      }
      links++;
      const target = fileOf(url);
      if (!(await exists(url))) {
        failures.push(`${file}: link ${href} leads to no file`);
      } else if (url.startsWith(htmlFolder) && /\.html?$/i.test(target) && titles[target] === undefined) {
        failures.push(`${file}: link ${href} leads to a page the viewer does not know`);
      } else if (titles[target] !== undefined) {
        pagesLinked.push(target);
      }
    }
    linked.set(file, pagesLinked);
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

  // Every keyword leads to pages that are there.
  let keywords = 0;
  const keywordPages = (entries) => entries.forEach((entry) => {
    keywords++;
    for (const missing of entry.x ?? []) failures.push(`keyword ${entry.n}: leads to ${missing}, which the help lacks`);
    for (const file of entry.p) {
      if (!fs.existsSync(path.join(webDir, 'html', file))) failures.push(`keyword ${entry.n}: ${file} is not there`);
    }
    keywordPages(entry.c ?? []);
  });
  keywordPages(data.index);

  // Every title, by each of its words.
  let titleWords = 0;
  for (const { f: file, t: title } of data.pages) {
    for (const word of title.split(/[\s\u3000]+/).filter((w) => w !== '')) {
      titleWords++;
      const found = await page.evaluate((w, f) => window.QuorvexHelp.search.find(w)
        .some((hit) => window.QuorvexHelp.data.pages[hit.page].f === f), word, file);
      if (!found) failures.push(`title "${title}" (${file}): the search for "${word}" does not find it`);
    }
  }
  failures.push(...problems);

  const unreached = data.pages.map((p) => p.f).filter((f) => !reached.has(f));
  console.log(`${data.title}: ${data.pages.length} pages; contents: ${rows.length} entries, ` +
    `${rows.filter((r) => r.page).length} with a page (${missingInContents} naming pages the help lacks), ` +
    `${fromContents.size} pages opened from it; ${reached.size} pages reached from the contents and their links` +
    (unreached.length ? ` (not reached: ${unreached.length > 20 ? unreached.length : unreached.join(', ')})` : '') +
    `; ${links} links into the help checked (${external} elsewhere); ${keywords} keywords; ` +
    `${titleWords} title words searched; ${popups} popups opened and closed (${emptyPopups} with empty text); ` +
    `${problems.length} console errors and failed requests`);
} finally {
  await chromium.close();
  await server?.close();
}
for (const failure of failures) console.log(`FAILED: ${failure}`);
console.log(`${failures.length} failures`);
process.exit(failures.length > 0 ? 1 : 0);
