// Two helps converted together: a contents entry and a jump of one help open
// the other help's page in its own viewer, from file:// and over http, with
// no console error or failed request.
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { promisify } from 'node:util';
import { launch, openViewer, pageFrame, serve, waitForPage } from './help-browser.mjs';

const sourceDir = process.env.QUORVEX_SOURCE_DIR ?? path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
const converter = process.env.QUORVEX_CONVERT ?? path.join(sourceDir, 'build/release/quorvex-convert');

function topic(context, title, body) {
  const note = (mark, text) => `{\\cs16\\super ${mark}{\\footnote \\pard\\plain {\\cs16\\super ${mark}} ${text}}}`;
  return `${note('#', context)}${note('$', title)}${body}\\par `;
}

// A project of one Word-form document in `folder`, with its .cnt.
function writeHelp(folder, name, topics, cnt) {
  fs.mkdirSync(folder, { recursive: true });
  const rtf = '{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}' +
    '{\\stylesheet{\\fs20 Normal;}}\n' + topics.join('\\page\n') + '}\n';
  fs.writeFileSync(path.join(folder, `${name}.rtf`), rtf, 'latin1');
  fs.writeFileSync(path.join(folder, `${name}.cnt`), cnt, 'latin1');
  fs.writeFileSync(path.join(folder, `${name}.hpj`), `[OPTIONS]\r\nTITLE=${name} help\r\nLCID=0x409\r\n[FILES]\r\n${name}.rtf\r\n`, 'latin1');
  return path.join(folder, `${name}.hpj`);
}

for (const http of [false, true]) {
  describe(`two helps converted together (${http ? 'http://' : 'file://'})`, () => {
    let work, out, chromium, server, base;

    before(async () => {
      work = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvex-run-'));
      const main = writeHelp(path.join(work, 'main'), 'main',
        [topic('start', 'Start', 'See the {\\uldb glossary term}{\\v term@gloss.hlp} now.')], '1 Start=start\r\n1 Term=term@gloss.hlp\r\n');
      const gloss = writeHelp(path.join(work, 'gloss'), 'gloss',
        [topic('term', 'The term', 'Back to the {\\uldb start}{\\v start@main.hlp}.')], '1 The term=term\r\n');
      out = path.join(work, 'out');
      await promisify(execFile)(converter, [main, gloss, out, '--web', '--quiet']);
      chromium = await launch();
      if (http) {
        server = await serve(out);
        base = server.url;
      } else {
        base = pathToFileURL(out).href + '/';
      }
    });

    after(async () => {
      await chromium?.close();
      await server?.close();
      fs.rmSync(work, { recursive: true, force: true });
    });

    // Waits until the whole window shows the glossary's viewer on its term page.
    async function expectGlossaryTerm(page) {
      await page.waitForFunction(() => location.pathname.endsWith('/gloss/web/index.html'), { timeout: 10000 });
      await page.waitForFunction(() => document.body.dataset.viewer === 'ready', { timeout: 10000 });
      await waitForPage(page, 'term.html', 'The term', 'gloss help');
    }

    test('a contents entry of one help opens the other help\'s page', async () => {
      const viewer = await openViewer(chromium.browser, `${base}main/web/index.html`, base);
      const entry = await viewer.page.waitForSelector('#contents-tree a.label ::-p-text(Term)');
      await Promise.all([viewer.page.waitForNavigation(), entry.click()]);
      await expectGlossaryTerm(viewer.page);
      assert.deepEqual(viewer.problems, []);
      await viewer.page.close();
    });

    test('a jump in a page of one help opens the other help\'s page, and its jump leads back', async () => {
      const viewer = await openViewer(chromium.browser, `${base}main/web/index.html#start.html`, base);
      await waitForPage(viewer.page, 'start.html', 'Start', 'main help');
      const link = await pageFrame(viewer.page).waitForSelector('a ::-p-text(glossary term)');
      await Promise.all([viewer.page.waitForNavigation(), link.click()]);
      await expectGlossaryTerm(viewer.page);
      const back = await pageFrame(viewer.page).waitForSelector('a ::-p-text(start)');
      await Promise.all([viewer.page.waitForNavigation(), back.click()]);
      await viewer.page.waitForFunction(() => location.pathname.endsWith('/main/web/index.html'), { timeout: 10000 });
      await waitForPage(viewer.page, 'start.html', 'Start', 'main help');
      assert.deepEqual(viewer.problems, []);
      await viewer.page.close();
    });

    test('the run\'s own page lists both helps and opens each', async () => {
      const page = await chromium.browser.newPage();
      await page.goto(`${base}index.html`);
      const names = await page.$$eval('li > a', (links) => links.map((a) => a.textContent));
      assert.deepEqual(names, ['main help', 'gloss help']);
      await Promise.all([page.waitForNavigation(), page.click('a ::-p-text(gloss help)')]);
      await page.waitForFunction(() => document.body.dataset.viewer === 'ready', { timeout: 10000 });
      assert.match(page.url(), /\/gloss\/web\/index.html$/);
      await page.close();
    });
  });
}
