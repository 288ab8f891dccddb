// The browser help in headless Chromium, for every project below and every
// way of opening it: the contents, the index, popups, search, deep links and
// history, and no console error or failed request along the way.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';
import {
  closePopupWithEscape, contentsRows, convert, launch, openAllBooks, openPopup, openViewer, pageFrame,
  popupLinks, search, selectTab, serve, waitForPage,
} from './help-browser.mjs';
import { HelpProject } from './help-project.mjs';

const sourceDir = process.env.QUORVEX_SOURCE_DIR ?? path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
const converter = process.env.QUORVEX_CONVERT ?? path.join(sourceDir, 'build/release/quorvex-convert');

// The projects whose browser help is tested, relative to the source tree.
const projects = [
  'examples/sample/sample.hpj',
  'examples/guide/guide.hpj',
];

const variants = [
  { name: 'file://, popups in popup.js', options: [], http: false },
  { name: 'file://, popups in each page', options: ['--no-combine-popups'], http: false },
  { name: 'http://, popups in popup.js', options: [], http: true },
];

let keywordsWithSeveralPages = 0;

for (const hpj of projects) {
  for (const variant of variants) {
    describe(`${hpj} (${variant.name})`, () => {
      let work, project, chromium, server, base, viewer;
      const pageTexts = {};  // page -> the text the browser shows

      const url = (fragment = '') => `${base}index.html${fragment}`;
      const show = async (file) => {
        await viewer.page.evaluate((f) => { location.hash = '#' + encodeURIComponent(f); }, file);
        return waitForPage(viewer.page, file, project.pageTitle(file), project.title);
      };

      before(async () => {
        work = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvex-web-'));
        const webDir = await convert(converter, path.join(sourceDir, hpj), path.join(work, 'out'), variant.options);
        project = new HelpProject(path.join(work, 'out'));
        chromium = await launch();
        if (variant.http) {
          server = await serve(webDir);
          base = server.url;
        } else {
          base = pathToFileURL(webDir).href + '/';
        }
        viewer = await openViewer(chromium.browser, url(), base);
      });

      after(async () => {
        await chromium?.close();
        await server?.close();
        fs.rmSync(work, { recursive: true, force: true });
      });

      test('the contents pane lists every .hhc entry, and each entry opens its page', async () => {
        const page = viewer.page;
        await openAllBooks(page);
        const expected = project.sitemap('.hhc').map((entry) => ({
          depth: entry.depth,
          name: entry.name,
          page: entry.locals.length > 0 ? project.pageOf(entry.locals[0]) : null,
        }));
        // Pages the contents do not open get a book of their own (of every page, when they open none).
        const others = project.pages.filter((p) => !expected.some((row) => row.page === p));
        if (others.length > 0) {
          expected.push({ depth: 0, name: others.length === project.pages.length ? 'すべてのページ' : 'その他のページ', page: null },
            ...others.map((p) => ({ depth: 1, name: project.pageTitle(p), page: p })));
        }
        assert.deepEqual(await contentsRows(page), expected);
        for (const row of expected.filter((r) => r.page)) {
          await page.click(`#contents-tree a[href="#${encodeURIComponent(row.page)}"]`);
          await waitForPage(page, row.page, project.pageTitle(row.page), project.title);
          const marked = await page.$eval('#contents-tree li.current > .row > a', (a) => a.getAttribute('href'));
          assert.equal(decodeURIComponent(marked.slice(1)), row.page);
        }
      });

      test('the index lists each keyword once per heading; one with several pages offers each', async () => {
        const page = viewer.page;
        await selectTab(page, 'index');
        // Keywords of the same name under the same heading are one entry with all their pages.
        const merged = [];
        let heading = null;
        for (const entry of project.sitemap('.hhk')) {
          const siblings = entry.depth === 0 ? merged : heading.children;
          let same = siblings.find((s) => s.name === entry.name);
          if (!same) siblings.push(same = { name: entry.name, pages: [], children: [] });
          for (const local of entry.locals) {
            const file = project.pageOf(local);
            if (file && !same.pages.includes(file)) same.pages.push(file);
          }
          if (entry.depth === 0) heading = same;
        }
        const shown = await page.$$eval('#index-list > li', (items) => items.map((item) => ({
          name: item.querySelector(':scope > .label').textContent,
          children: [...item.querySelectorAll(':scope > ul > li > .label')].map((label) => label.textContent),
        })));
        assert.deepEqual(shown, merged.map((k) => ({ name: k.name, children: k.children.map((c) => c.name) })));

        const several = merged.flatMap((k) => [k, ...k.children]).filter((k) => k.pages.length > 1);
        keywordsWithSeveralPages += several.length;
        for (const keyword of several) {
          const button = await page.waitForSelector(`xpath///button[contains(@class,"several") and .=${JSON.stringify(keyword.name)}]`);
          await button.click();
          const choices = await button.evaluate((b) => [...b.nextElementSibling.querySelectorAll('a')]
            .map((a) => ({ page: decodeURIComponent(a.getAttribute('href').slice(1)), title: a.textContent })));
          assert.deepEqual(choices, keyword.pages.map((p) => ({ page: p, title: project.pageTitle(p) })));
          const last = keyword.pages.at(-1);
          await page.click(`#index-list a[href="#${encodeURIComponent(last)}"]`);
          await waitForPage(page, last, project.pageTitle(last), project.title);
        }

        // Typing keeps the keywords that hold the text, and the headings above them.
        const probe = merged.flatMap((k) => k.children).at(-1) ?? merged.at(-1);
        await page.type('#index-filter', probe.name);
        const visible = await page.$$eval('#index-list li:not([hidden]) > .label', (labels) => labels.map((l) => l.textContent));
        assert.ok(visible.includes(probe.name));
        const related = (k) => k.name.includes(probe.name) || k.children.some((c) => c.name.includes(probe.name));
        assert.equal(await page.$$eval('#index-list > li:not([hidden])', (items) => items.length), merged.filter(related).length);
        await page.$eval('#index-filter', (input) => { input.value = ''; input.dispatchEvent(new Event('input')); });
      });

      test('every popup link opens a box with its popup text, which Esc and a click close', async () => {
        let opened = 0;
        for (const file of project.pages) {
          const frame = await show(file);
          pageTexts[file] = await frame.$eval('body', (body) => body.innerText);
          const texts = project.popupTexts(file);
          for (const link of await popupLinks(frame)) {
            const variable = /TextPopup\((pop\d+)/i.exec(await link.evaluate((a) => a.getAttribute('href')))[1];
            const popup = await openPopup(viewer.page, frame, link);
            assert.equal(popup.text, texts[variable], `${file} ${variable}`);
            assert.ok(popup.focused, 'the popup takes the focus');
            assert.ok(await closePopupWithEscape(viewer.page, frame, link), 'Esc gives the focus back to the link');
            opened++;
          }
        }
        assert.ok(opened > 0, 'the project has popup links');

        const frame = pageFrame(viewer.page);
        const [link] = await popupLinks(frame);
        if (!link) return;
        await openPopup(viewer.page, frame, link);
        await frame.click('body', { offset: { x: 2, y: 2 } });
        assert.equal(await frame.$('.quorvex-popup'), null, 'a click closes the popup');
      });

      test('search finds every page that holds a word, Japanese and full-width alike', async () => {
        const page = viewer.page;
        const holding = (word) => project.pages.filter((p) => pageTexts[p]?.includes(word)).sort();
        const words = [...new Set(project.pages
          .map((p) => /[\p{Script=Han}\p{Script=Hiragana}\p{Script=Katakana}ー]{2,}/u.exec(pageTexts[p] ?? ''))
          .filter(Boolean).map((m) => m[0]))].slice(0, 5);
        assert.ok(words.length > 0, 'the pages hold Japanese words');
        for (const word of words) {
          assert.deepEqual((await search(page, word)).sort(), holding(word), word);
        }
        const ascii = project.pages.map((p) => /[A-Za-z]{3,}/.exec(pageTexts[p] ?? '')).find(Boolean)?.[0];
        if (ascii) {
          const fullWidth = [...ascii.toUpperCase()].map((c) => String.fromCharCode(c.charCodeAt(0) + 0xFEE0)).join('');
          assert.deepEqual((await search(page, fullWidth)).sort(), (await search(page, ascii.toLowerCase())).sort());
          assert.ok((await search(page, ascii)).length > 0, ascii);
        }
        assert.deepEqual(await search(page, words[0] + ' 存在しない語句'), []);
      });

      test('a deep link opens its page; links, back and forward walk the pages read', async () => {
        const page = viewer.page;
        const [first, second] = project.pages;
        await page.goto(url('#' + encodeURIComponent(first)));
        await waitForPage(page, first, project.pageTitle(first), project.title);
        await page.click(`#tab-contents`);
        await page.evaluate((f) => { location.hash = '#' + encodeURIComponent(f); }, second);
        await waitForPage(page, second, project.pageTitle(second), project.title);

        // A link inside the page goes through the address too.
        const frame = pageFrame(page);
        const hrefs = await frame.$$eval('a[href]', (links) => links.map((a) => a.getAttribute('href')));
        const target = hrefs.map((h) => project.pageOf(h)).find((p) => p && p !== second);
        if (target) {
          await frame.click(`a[href="${target}"]`);
          await waitForPage(page, target, project.pageTitle(target), project.title);
          assert.equal(decodeURIComponent(await page.evaluate(() => location.hash.slice(1))), target);
          await page.evaluate(() => history.back());
          await waitForPage(page, second, project.pageTitle(second), project.title);
        }
        await page.evaluate(() => history.back());
        await waitForPage(page, first, project.pageTitle(first), project.title);
        await page.evaluate(() => history.forward());
        await waitForPage(page, second, project.pageTitle(second), project.title);

        // An address naming no page of the help loads nothing from elsewhere.
        await page.goto(url('#..%2F..%2Fetc%2Fpasswd'));
        await page.waitForSelector('#notice:not([hidden])');
        const start = await page.evaluate(() => window.QuorvexHelp.data.defaultPage);
        await waitForPage(page, start, project.pageTitle(start), project.title);
      });

      test('no console error, no failed request, nothing loaded from outside the help', () => {
        assert.deepEqual(viewer.problems, []);
      });
    });
  }
}

test('a tested project has a keyword with several pages', () => {
  assert.ok(keywordsWithSeveralPages > 0);
});
