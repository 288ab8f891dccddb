#!/usr/bin/env node
// Screenshots of a browser help for looking at it:
//
//   node tests/web/browser/screenshots.mjs OUTDIR/web SHOTDIR
//
// writes contents.png (the contents with every book open), popup.png (the
// first popup link's box open), index.png (the index with the first keyword
// of several pages showing its choices), search.png (a search for a word
// of the default page), and in a phone-sized window phone.png (the default
// page, which has the screen) and phone-contents.png (the contents called up
// by their button).
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { helpData, launch, openAllBooks, openPopup, openViewer, pageFrame, popupLinks, search, selectTab, waitForPage } from './help-browser.mjs';

const [webDir, shotDir] = process.argv.slice(2).map((p) => path.resolve(p));
fs.mkdirSync(shotDir, { recursive: true });
const base = pathToFileURL(webDir).href + '/';
const chromium = await launch();
try {
  const { page } = await openViewer(chromium.browser, base + 'index.html', base);
  const data = await helpData(page);
  const shot = (name) => page.screenshot({ path: path.join(shotDir, name) }).then(() => console.log(path.join(shotDir, name)));

  await openAllBooks(page);
  await shot('contents.png');

  for (const p of data.pages) {
    await page.evaluate((f) => { location.hash = '#' + encodeURIComponent(f); }, p.f);
    const frame = await waitForPage(page, p.f, p.t, data.title);
    const [link] = await popupLinks(frame);
    if (!link) continue;
    await openPopup(page, frame, link);
    await shot('popup.png');
    await page.keyboard.press('Escape');
    break;
  }

  await selectTab(page, 'index');
  const several = await page.$('#index-list button.several');
  if (several) await several.click();
  await shot('index.png');

  const text = await pageFrame(page).$eval('body', (body) => body.innerText);
  const word = /[\p{Script=Han}\p{Script=Hiragana}\p{Script=Katakana}ー]{2,}|[A-Za-z]{3,}/u.exec(text)?.[0] ?? data.title;
  await search(page, word);
  await shot('search.png');

  const phone = (await openViewer(chromium.browser, base + 'index.html', base, { width: 360, height: 640 })).page;
  const start = data.pages.find((p) => p.f === data.defaultPage);
  await waitForPage(phone, start.f, start.t, data.title);
  const phoneShot = (name) => phone.screenshot({ path: path.join(shotDir, name) }).then(() => console.log(path.join(shotDir, name)));
  await phoneShot('phone.png');
  await phone.click('.nav-buttons button[data-tab="tab-contents"]');
  await openAllBooks(phone);
  await phoneShot('phone-contents.png');
} finally {
  await chromium.close();
}
