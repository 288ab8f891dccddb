// Drives the system Chromium (Debian package chromium) over the browser help
// that quorvex-convert --web writes: converting, serving, watching for errors
// and failed requests, and the reader's moves in the viewer.
import { execFile } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { promisify } from 'node:util';
import puppeteer from 'puppeteer-core';

export const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';

// Without the background-networking flags Chromium calls home, which a
// closed network refuses and which would show up as failed requests.
const chromiumFlags = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

/** Converts `hpj` with quorvex-convert --web (and `options`) into `outDir`. */
export async function convert(converter, hpj, outDir, options = []) {
  await promisify(execFile)(converter, [hpj, outDir, '--web', '--quiet', ...options]);
  return path.join(outDir, 'web');
}

/** A Chromium of its own, with a fresh profile removed on close. */
export async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvex-chromium-'));
  const browser = await puppeteer.launch({ executablePath: chromiumPath, userDataDir: profile, args: chromiumFlags });
  return {
    browser,
    async close() {
      await browser.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

const contentTypes = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.png': 'image/png' };

/** A static server for `folder` on the loopback address. */
export async function serve(folder) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(folder, name);
    if (!file.startsWith(folder + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': contentTypes[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise((resolve) => server.close(resolve)),
  };
}

/**
 * Opens the viewer at `url` in a new tab and records every console error,
 * script error, failed request, error response and request that leaves `base`.
 */
export async function openViewer(browser, url, base, viewport = { width: 1000, height: 650 }) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  const problems = [];
  page.on('console', (message) => {
    if (message.type() === 'error' || message.type() === 'warn') problems.push(`console ${message.type()}: ${message.text()}`);
  });
  page.on('pageerror', (error) => problems.push(`script error: ${error.message}`));
  page.on('requestfailed', (request) => problems.push(`failed: ${request.url()} ${request.failure()?.errorText}`));
  page.on('response', (response) => {
    if (response.status() >= 400) problems.push(`HTTP ${response.status()}: ${response.url()}`);
  });
  page.on('request', (request) => {
    const address = request.url();
    if (!address.startsWith(base) && !address.startsWith('data:')) problems.push(`outside request: ${address}`);
  });
  await page.goto(url);
  await page.waitForFunction(() => document.body.dataset.viewer === 'ready' || document.body.dataset.viewer === 'failed');
  return { page, problems };
}

/** The page frame of the viewer. */
export function pageFrame(page) {
  const frame = page.frames().find((f) => f.name() === 'main');
  if (!frame) throw new Error('the viewer has no page frame');
  return frame;
}

/** Waits until the viewer shows `file` (its page has loaded and reported itself). */
export async function waitForPage(page, file, pageTitle, helpTitle) {
  // The frame's address first: two pages may share a title, so the title
  // alone cannot tell that the new page is there.
  const shownFile = () => {
    const url = pageFrame(page).url();
    return decodeURIComponent(url.slice(url.lastIndexOf('/') + 1));
  };
  const deadline = Date.now() + 10000;
  while (shownFile() !== file) {
    if (Date.now() > deadline) throw new Error(`the frame shows ${shownFile()}, not ${file}`);
    await new Promise((resolve) => setTimeout(resolve, 25));
  }
  const frame = pageFrame(page);
  await frame.waitForFunction(() => document.readyState === 'complete', { timeout: 10000 });
  await page.waitForFunction((title) => document.title === title, { timeout: 10000 }, `${pageTitle} - ${helpTitle}`);
  return frame;
}

/** The viewer's data (help-data.js) as the page holds it. */
export function helpData(page) {
  return page.evaluate(() => window.QuorvexHelp.data);
}

/** Opens every book of the contents pane, so that each entry can be clicked. */
export async function openAllBooks(page) {
  for (;;) {
    const closed = await page.$('#contents-tree .toggle[aria-expanded="false"]');
    if (!closed) return;
    await closed.click();
  }
}

/** The contents pane's entries, in order: depth, name, page (or null). */
export function contentsRows(page) {
  return page.$$eval('#contents-tree li', (items) => items.map((item) => {
    let depth = 0;
    for (let up = item.parentElement; up && up.id !== 'contents-tree'; up = up.parentElement) if (up.tagName === 'UL') depth++;
    const label = item.querySelector(':scope > .row > .label');
    const href = label.tagName === 'A' ? label.getAttribute('href') : null;
    return { depth, name: label.textContent, page: href ? decodeURIComponent(href.slice(1)) : null };
  }));
}

/** Selects one of the tabs: 'contents', 'index' or 'search'. */
export async function selectTab(page, name) {
  await page.click(`#tab-${name}`);
}

/**
 * Opens the popup of `link` (an element handle in the page frame) with the
 * mouse, or for image-map areas and empty links, which have no box to click,
 * with the keyboard, and returns the popup's text and whether it took the focus.
 */
export async function openPopup(page, frame, link) {
  const boxless = await link.evaluate((element) => {
    const box = element.getBoundingClientRect();
    return element.tagName === 'AREA' || box.width === 0 || box.height === 0;
  });
  if (boxless) {
    await link.focus();
    await page.keyboard.press('Enter');
  } else {
    await link.click();
  }
  await frame.waitForSelector('.quorvex-popup', { timeout: 5000 });
  return frame.$eval('.quorvex-popup', (box) => ({ text: box.textContent, focused: document.activeElement === box }));
}

/** Closes the popup with Esc; true when it is gone and the focus is back on `link`. */
export async function closePopupWithEscape(page, frame, link) {
  await page.keyboard.press('Escape');
  await frame.waitForFunction(() => !document.querySelector('.quorvex-popup'), { timeout: 5000 });
  return link.evaluate((element) => document.activeElement === element);
}

/** The popup links of the page in the frame. */
export function popupLinks(frame) {
  return frame.$$('a[href^="javascript:popup.TextPopup" i], area[href^="javascript:popup.TextPopup" i]');
}

/** Searches in the search pane and returns the pages found, in order. */
export async function search(page, words) {
  await selectTab(page, 'search');
  await page.$eval('#search-input', (input, value) => { input.value = value; }, words);
  await page.click('#search-form button[type=submit]');
  await page.waitForFunction(() => document.querySelector('#search-status').textContent !== '');
  return page.$$eval('#search-results > li > a', (links) => links.map((a) => decodeURIComponent(a.getAttribute('href').slice(1))));
}
