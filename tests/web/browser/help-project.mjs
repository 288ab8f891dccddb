// What a converted HTML Help project holds, read straight from its Shift-JIS
// files, as the expectations for the browser help made from it.
import fs from 'node:fs';
import path from 'node:path';
import vm from 'node:vm';

const shiftJis = new TextDecoder('shift_jis');

function readText(file) {
  return shiftJis.decode(fs.readFileSync(file));
}

function decodeEntities(text) {
  return text.replace(/&(#x[0-9a-f]+|#\d+|amp|lt|gt|quot);/gi, (whole, name) => {
    const lower = name.toLowerCase();
    if (lower.startsWith('#x')) return String.fromCodePoint(parseInt(lower.slice(2), 16));
    if (lower.startsWith('#')) return String.fromCodePoint(parseInt(lower.slice(1), 10));
    return { amp: '&', lt: '<', gt: '>', quot: '"' }[lower];
  });
}

/** The converted project in `outDir` (the HTML Help files and web/ beside them). */
export class HelpProject {
  constructor(outDir) {
    this.outDir = outDir;
    this.webDir = path.join(outDir, 'web');
    const hhp = fs.readdirSync(outDir).find((name) => name.endsWith('.hhp'));
    this.base = hhp.slice(0, -4);
    this.title = /^Title=(.*)$/m.exec(readText(path.join(outDir, hhp)))[1].replace(/\r$/, '');
    // In the order the converter lists a folder: letter case ignored first.
    this.pages = fs.readdirSync(path.join(this.webDir, 'html')).filter((name) => /\.html?$/i.test(name))
      .sort((a, b) => (a.toLowerCase() < b.toLowerCase() ? -1 : a.toLowerCase() > b.toLowerCase() ? 1 : a < b ? -1 : a > b ? 1 : 0));
  }

  /** The page a Local value names, when the browser help has it. */
  pageOf(local) {
    const name = local.replace(/^html\//i, '').replace(/#.*$/, '');
    return this.pages.find((page) => page.toLowerCase() === name.toLowerCase()) ?? null;
  }

  /** Entries of the .hhc or .hhk, in order: depth (0 = top), name, Locals. */
  sitemap(extension) {
    const file = path.join(this.outDir, this.base + extension);
    if (!fs.existsSync(file)) return [];
    const entries = [];
    let depth = -1;
    let entry = null;
    for (const line of readText(file).split(/\r?\n/)) {
      if (/<UL>/i.test(line)) depth++;
      if (/<\/UL>/i.test(line)) depth--;
      if (/<OBJECT type="text\/sitemap">/i.test(line)) entries.push(entry = { depth, name: '', locals: [] });
      const param = /<param name="([^"]*)" value="(.*)">\s*$/i.exec(line);
      if (!param || !entry) continue;
      if (param[1] === 'Name' && !entry.keyword) entry.name = decodeEntities(param[2]);
      if (param[1] === 'Keyword') entry.name = entry.keyword = decodeEntities(param[2]);
      if (param[1] === 'Local') entry.locals.push(param[2]);
    }
    return entries;
  }

  /** The <title> of a page as the conversion wrote it; the file name when it has none. */
  pageTitle(page) {
    const match = /<title>([\s\S]*?)<\/title>/i.exec(readText(path.join(this.outDir, 'html', page)));
    const title = match ? decodeEntities(match[1]).replace(/[ \t\r\n\f]+/g, ' ').trim() : '';
    return title || page;
  }

  /** The popup texts a page can show, by variable name (popN), from its head or popup.js,
   * read as a browser reads the script's strings. */
  popupTexts(page) {
    let source = readText(path.join(this.outDir, 'html', page));
    if (/src="popup\.js"/i.test(source)) source = readText(path.join(this.outDir, 'html', 'popup.js'));
    const texts = {};
    for (const match of source.matchAll(/^(pop\d+)="(.*)"\r?$/gm)) texts[match[1]] = vm.runInNewContext(`"${match[2]}"`);
    return texts;
  }
}
