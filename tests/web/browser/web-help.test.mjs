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
import { fixtureHotspots, fixturePictureWidth, writeFixtureHelp } from './fixture-help.mjs';
import { HelpProject } from './help-project.mjs';

const sourceDir = process.env.QUORVEX_SOURCE_DIR ?? path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
const converter = process.env.QUORVEX_CONVERT ?? path.join(sourceDir, 'build/release/quorvex-convert');

// The projects whose browser help is tested: the bundled samples (Japanese)
// and an English help written in code (fixture-help.mjs).
const projects = [
  { name: 'examples/sample/sample.hpj', lang: 'ja', write: () => path.join(sourceDir, 'examples/sample/sample.hpj') },
  { name: 'examples/guide/guide.hpj', lang: 'ja', write: () => path.join(sourceDir, 'examples/guide/guide.hpj') },
  { name: 'an English help of our own', lang: 'en', write: (work) => writeFixtureHelp(path.join(work, 'project')) },
];

// The viewer's words these tests look for, in each language.
const words = {
  ja: { allPages: 'すべてのページ', otherPages: 'その他のページ', wordPattern: /[\p{Script=Han}\p{Script=Hiragana}\p{Script=Katakana}ー]{2,}/u },
  en: { allPages: 'All pages', otherPages: 'Other pages', wordPattern: /[A-Za-z]{4,}/ },
};

const variants = [
  { name: 'file://, popups in popup.js', options: [], http: false },
  { name: 'file://, popups in each page', options: ['--no-combine-popups'], http: false },
  { name: 'http://, popups in popup.js', options: [], http: true },
];

let keywordsWithSeveralPages = 0;

for (const help of projects) {
  for (const variant of variants) {
    describe(`${help.name} (${variant.name})`, () => {
      let work, project, chromium, server, base, viewer;
      const pageTexts = {};  // page -> the text the browser shows

      const url = (fragment = '') => `${base}index.html${fragment}`;
      const show = async (file) => {
        await viewer.page.evaluate((f) => { location.hash = '#' + encodeURIComponent(f); }, file);
        return waitForPage(viewer.page, file, project.pageTitle(file), project.title);
      };

      before(async () => {
        work = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvex-web-'));
        const webDir = await convert(converter, help.write(work), path.join(work, 'out'), variant.options);
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
          const book = others.length === project.pages.length ? words[help.lang].allPages : words[help.lang].otherPages;
          expected.push({ depth: 0, name: book, page: null },
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

      test('search finds every page that holds a word in its text, title or keywords, Japanese and full-width alike', async () => {
        const page = viewer.page;
        const keywords = {};  // page -> its keywords in the index
        for (const entry of project.sitemap('.hhk')) {
          for (const local of entry.locals) (keywords[project.pageOf(local)] ??= []).push(entry.name);
        }
        const fold = (text) => text.toLowerCase();
        const holds = (p, word) => [pageTexts[p] ?? '', project.pageTitle(p), ...(keywords[p] ?? [])]
          .some((text) => fold(text).includes(fold(word)));
        const holding = (word) => project.pages.filter((p) => holds(p, word)).sort();
        const found = [...new Set(project.pages
          .map((p) => words[help.lang].wordPattern.exec(pageTexts[p] ?? ''))
          .filter(Boolean).map((m) => m[0]))].slice(0, 5);
        assert.ok(found.length > 0, 'the pages hold words');
        for (const word of found) {
          assert.deepEqual((await search(page, word)).sort(), holding(word), word);
        }
        const ascii = project.pages.map((p) => /[A-Za-z]{3,}/.exec(pageTexts[p] ?? '')).find(Boolean)?.[0];
        if (ascii) {
          const fullWidth = [...ascii.toUpperCase()].map((c) => String.fromCharCode(c.charCodeAt(0) + 0xFEE0)).join('');
          assert.deepEqual((await search(page, fullWidth)).sort(), (await search(page, ascii.toLowerCase())).sort());
          assert.ok((await search(page, ascii)).length > 0, ascii);
        }
        assert.deepEqual(await search(page, found[0] + ' 存在しない語句'), []);
      });

      test('every title is found by each of its words, pages with the word in their title first', async () => {
        const page = viewer.page;
        for (const file of project.pages) {
          const title = project.pageTitle(file);
          for (const word of title.split(/[\s\u3000]+/).filter((w) => w !== '')) {
            const pages = await page.evaluate((w) => window.QuorvexHelp.search.find(w)
              .map((hit) => window.QuorvexHelp.data.pages[hit.page].f), word);
            assert.ok(pages.includes(file), `"${word}" of "${title}" finds ${file}`);
            const inTitle = pages.map((p) => project.pageTitle(p).toLowerCase().includes(word.toLowerCase()));
            assert.ok(inTitle.every((yes, i) => yes || !inTitle.slice(i).includes(true)), `title matches first for "${word}"`);
          }
        }
        // Through the search pane too: a whole title brings a page of that title first.
        const title = project.pageTitle(project.pages[0]);
        assert.equal(project.pageTitle((await search(page, title))[0]), title);
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

// What only the English help of our own shows: the viewer's words in
// English, an untitled page by its heading, a page whose name begins with a
// dot, and a phone-sized window with a picture wider than it.
describe('an English help of our own, in detail', () => {
  let work, project, chromium, base, viewer;
  const phone = { width: 375, height: 667 };
  const japanese = /[\p{Script=Han}\p{Script=Hiragana}\p{Script=Katakana}]/u;

  before(async () => {
    work = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvex-web-'));
    const webDir = await convert(converter, writeFixtureHelp(path.join(work, 'project')), path.join(work, 'out'));
    project = new HelpProject(path.join(work, 'out'));
    chromium = await launch();
    base = pathToFileURL(webDir).href + '/';
    viewer = await openViewer(chromium.browser, `${base}index.html`, base);
  });

  after(async () => {
    await chromium?.close();
    fs.rmSync(work, { recursive: true, force: true });
  });

  // Every text of the viewer itself a reader can meet: its elements' text and
  // their titles, labels and placeholders, outside the help's own names.
  const viewerWords = (page) => page.evaluate(() => {
    const own = (element) => !element.closest('#contents-tree, #index-list .label, #index-list a, #search-results, #help-title');
    const texts = [document.documentElement.lang];
    for (const element of document.querySelectorAll('body *')) {
      if (!own(element) || element.tagName === 'SCRIPT') continue;
      for (const node of element.childNodes) if (node.nodeType === Node.TEXT_NODE && node.textContent.trim()) texts.push(node.textContent.trim());
      for (const name of ['title', 'aria-label', 'placeholder']) if (element.getAttribute(name)) texts.push(element.getAttribute(name));
    }
    for (const toggle of document.querySelectorAll('#contents-tree .toggle')) texts.push(toggle.title);
    return texts;
  });

  test('the viewer speaks English: tabs, books, buttons, messages', async () => {
    const page = viewer.page;
    const seen = await viewerWords(page);
    assert.equal(seen[0], 'en');
    for (const word of ['Contents', 'Index', 'Search', 'Type the keyword to find', 'Words to search for']) {
      assert.ok(seen.includes(word), `${word} in ${seen.join(' | ')}`);
    }
    assert.deepEqual((await contentsRows(page)).filter((row) => row.depth === 0).map((row) => row.name),
      ['Getting started', 'Troubleshooting', 'Other pages']);
    await search(page, 'Troubleshooting');
    seen.push(...await viewerWords(page));
    assert.equal(await page.$eval('#search-status', (status) => status.textContent), '1 topic found.');
    await search(page, 'window');
    assert.equal(await page.$eval('#search-status', (status) => status.textContent), '2 topics found.');
    await search(page, 'nowhere to be found');
    assert.equal(await page.$eval('#search-status', (status) => status.textContent), 'Nothing found.');
    await selectTab(page, 'index');
    await page.type('#index-filter', 'no such keyword');
    assert.equal(await page.$eval('#index-empty', (empty) => empty.hidden ? '' : empty.textContent), 'No keyword matches.');
    seen.push(...await viewerWords(page));
    await page.goto(`${base}index.html#gone.html`);
    await page.waitForSelector('#notice:not([hidden])');
    assert.equal(await page.$eval('#notice', (notice) => notice.textContent), 'The page \u201cgone.html\u201d is not in this help.');
    seen.push(...await viewerWords(page));
    assert.deepEqual(seen.filter((text) => japanese.test(text)), []);
  });

  test('an untitled page is listed by its first heading; a page named with a dot opens from its link and keyword', async () => {
    const page = viewer.page;
    await page.goto(`${base}index.html`);
    await page.waitForFunction(() => document.body.dataset.viewer === 'ready');
    await openAllBooks(page);
    const rows = await contentsRows(page);
    assert.ok(rows.some((row) => row.depth === 1 && row.name === 'Details of the window' && row.page === 'untitled.html'));
    assert.ok(rows.some((row) => row.depth === 1 && row.name === 'Dotted page' && row.page === '.x.html'));
    assert.ok(!rows.some((row) => /\.html$/.test(row.name)), 'no entry is called by its file name');

    await selectTab(page, 'index');
    const window = await page.waitForSelector('xpath///button[contains(@class,"several") and .="window"]');
    await window.click();
    assert.deepEqual(await window.evaluate((b) => [...b.nextElementSibling.querySelectorAll('a')].map((a) => a.textContent)),
      ['Getting started', 'Details of the window']);
    assert.deepEqual(await search(page, 'window'), ['untitled.html', 'start.html']);
    assert.equal(await page.$eval('#search-results a', (a) => a.textContent), 'Details of the window');

    await selectTab(page, 'index');
    const dots = await page.waitForSelector('xpath///button[contains(@class,"several") and .="dots"]');
    await dots.click();
    await page.click('#index-list a[href="#.x.html"]');
    await waitForPage(page, '.x.html', 'Dotted page', project.title);
    await page.evaluate(() => { location.hash = '#start.html'; });
    const frame = await waitForPage(page, 'start.html', 'Getting started', project.title);
    await frame.click('a[href=".x.html"]');
    await waitForPage(page, '.x.html', 'Dotted page', project.title);
  });

  test('on a phone the page has the screen, and the navigation is one tap away', async () => {
    const { page, problems } = await openViewer(chromium.browser, `${base}index.html#start.html`, base, phone);
    await waitForPage(page, 'start.html', 'Getting started', project.title);
    const layout = () => page.evaluate(() => {
      const box = (selector) => {
        const element = document.querySelector(selector);
        const rect = element.getBoundingClientRect();
        return { left: rect.left, top: rect.top, right: rect.right, bottom: rect.bottom, shown: getComputedStyle(element).display !== 'none' };
      };
      return { frame: box('#page-frame'), bar: box('.bar'), side: box('#side'), contents: box('#pane-contents') };
    });
    let at = await layout();
    assert.deepEqual([at.frame.left, at.frame.top, at.frame.right, at.frame.bottom], [0, at.bar.bottom, phone.width, phone.height]);
    assert.ok(at.bar.bottom <= 60, 'the bar stays small');
    assert.equal(at.side.shown, false, 'the navigation is away');

    // Each of contents, index and search: one tap on its button.
    for (const [name, field] of [['index', '#index-filter'], ['search', '#search-input'], ['contents', null]]) {
      await page.click(`.nav-buttons button[data-tab="tab-${name}"]`);
      at = await layout();
      assert.ok(at.side.shown && at.side.left === 0 && at.side.right === phone.width, `${name}: the navigation covers the page`);
      assert.ok(await page.$eval(`#pane-${name}`, (pane) => !pane.hidden), name);
      if (field) assert.ok(await page.$eval(field, (input) => document.activeElement === input), `${name}: its field has the focus`);
    }
    assert.ok(at.contents.shown);
    await page.click('#contents-tree a[href="#trouble.html"]');
    await waitForPage(page, 'trouble.html', 'Troubleshooting', project.title);
    at = await layout();
    assert.equal(at.side.shown, false, 'choosing a page takes the navigation away');
    // The button of the pane on show closes it again, and so does Esc.
    await page.click('.nav-buttons button[data-tab="tab-contents"]');
    await page.click('.nav-buttons button[data-tab="tab-contents"]');
    assert.equal((await layout()).side.shown, false);
    await page.click('.nav-buttons button[data-tab="tab-search"]');
    await page.keyboard.press('Escape');
    assert.equal((await layout()).side.shown, false);
    assert.deepEqual(problems, []);
    await page.close();
  });

  test('on a phone a wide picture fits the screen, and its map areas shrink with it', async () => {
    const { page, problems } = await openViewer(chromium.browser, `${base}index.html#start.html`, base, phone);
    const frame = await waitForPage(page, 'start.html', 'Getting started', project.title);
    await frame.waitForFunction(() => document.querySelector('img[usemap]').complete);
    const picture = await frame.$eval('img[usemap]', (img) => {
      const rect = img.getBoundingClientRect();
      return {
        left: rect.left, top: rect.top, width: rect.width, height: rect.height, viewWidth: document.documentElement.clientWidth,
        scrollWidth: document.documentElement.scrollWidth,
        areas: [...document.querySelectorAll('area')].map((area) => ({ href: area.getAttribute('href'), coords: area.coords.split(',').map(Number) })),
      };
    });
    assert.ok(picture.width < fixturePictureWidth && picture.left + picture.width <= picture.viewWidth, 'the picture fits');
    assert.equal(picture.scrollWidth, picture.viewWidth, 'nothing sticks out sideways');
    assert.ok(Math.abs(picture.height / picture.width - 90 / fixturePictureWidth) < 0.01, 'in its proportions');
    const scale = picture.width / fixturePictureWidth;
    for (const hotspot of fixtureHotspots) {
      const area = picture.areas.find((a) => a.href === hotspot.page);
      const expected = [hotspot.x, hotspot.y, hotspot.x + hotspot.width, hotspot.y + hotspot.height].map((v) => v * scale);
      area.coords.forEach((value, i) => assert.ok(Math.abs(value - expected[i]) <= 1, `${hotspot.page}: ${area.coords} for ${expected}`));
    }
    // A tap in the middle of a hotspot, where it is shown now, opens its page.
    const frameBox = await (await page.$('#page-frame')).boundingBox();
    for (const hotspot of fixtureHotspots) {
      await page.evaluate(() => { location.hash = '#start.html'; });
      await waitForPage(page, 'start.html', 'Getting started', project.title);
      const x = frameBox.x + picture.left + (hotspot.x + hotspot.width / 2) * scale;
      const y = frameBox.y + picture.top + (hotspot.y + hotspot.height / 2) * scale;
      await page.mouse.click(x, y);
      await waitForPage(page, hotspot.page, project.pageTitle(hotspot.page), project.title);
    }
    assert.deepEqual(problems, []);
    await page.close();
  });

  test('no console error, no failed request', () => {
    assert.deepEqual(viewer.problems, []);
  });
});
