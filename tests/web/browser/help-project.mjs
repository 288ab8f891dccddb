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

function collapse(text) {
  return text.replace(/[ \t\r\n\f]+/g, ' ').trim();
}

// Tags after which the text goes on in another line.
const lineBreaking = 'br|p|div|li|tr|td|th|hr|table|ul|ol|menu|h[1-6]|dt|dd|blockquote|pre';

function firstLine(html) {
  const body = html.replace(/^[\s\S]*?<\/head>/i, '').replace(/<!--[\s\S]*?-->/g, '')
    .replace(/<(script|style|object)\b[\s\S]*?<\/\1>/gi, '');
  const lines = body
    .replace(/<h([1-6])\b[^>]*>([\s\S]*?)<\/h\1>/gi, (whole, level, inside) => `\n${inside.replace(/<br\b[^>]*>/gi, ' ')}\n`)
    .replace(new RegExp(`<\\/?(${lineBreaking})\\b[^>]*>`, 'gi'), '\n')
    .replace(/<[^>]*>/g, '')
    .split('\n').map((line) => collapse(decodeEntities(line).replace(/\u00a0/g, ' ')));
  return lines.find((line) => line !== '') ?? '';
}

// At most 60 characters; longer text cut at the last blank or Japanese
// punctuation mark in the second half of them, else at 60, with "…".
function shorten(text) {
  const chars = [...text];
  if (chars.length <= 60) return text;
  let cut = 60;
  for (let i = 60; i > 30; i--) {
    if (/[ \u00a0\u3000]/.test(chars[i]) || '、。，．・：；！？）」』】'.includes(chars[i - 1])) {
      cut = i;
      break;
    }
  }
  return chars.slice(0, cut).join('').replace(/[ \u00a0\u3000,;:\-、。，．・：；]+$/, '') + '…';
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

  /**
   * What the browser help calls a page: the <title> the conversion wrote; for
   * a page without one its first line of text (a heading that begins the page
   * is one line), cut at a word near 60 characters; the file name only for a
   * page without text.
   */
  pageTitle(page) {
    const html = readText(path.join(this.outDir, 'html', page));
    const match = /<title>([\s\S]*?)<\/title>/i.exec(html);
    const title = match ? collapse(decodeEntities(match[1])) : '';
    return title || shorten(firstLine(html)) || page;
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
