// A small English help project written in code, for what the bundled samples
// (Japanese, every topic titled, tiny pictures) do not show: the viewer's
// English words, a topic without a title, a page whose name begins with a
// dot, a word that stands in a title only, and a picture wider than a phone
// with an image map.
import fs from 'node:fs';
import path from 'node:path';

/** Where the fixture's hotspots lie on its 900 x 90 picture, and the pages they open. */
export const fixtureHotspots = [
  { x: 40, y: 15, width: 240, height: 60, context: 'untitled', page: 'untitled.html' },
  { x: 620, y: 15, width: 240, height: 60, context: 'trouble', page: 'trouble.html' },
];
export const fixturePictureWidth = 900;
const pictureHeight = 90;

class Bytes {
  constructor() { this.bytes = []; }
  u8(v) { this.bytes.push(v & 255); return this; }
  u16(v) { return this.u8(v).u8(v >> 8); }
  u32(v) { return this.u16(v & 0xFFFF).u16(v >>> 16); }
  // The compressed numbers of segmented pictures: a short form for small values.
  word(v) { return v < 128 ? this.u8(v << 1) : this.u8(((v & 0x7F) << 1) | 1).u8(v >> 7); }
  dword(v) { return v < 32768 ? this.u16(v << 1) : this.u16(((v & 0x7FFF) << 1) | 1).u16(v >> 15); }
  text(s) { for (const c of Buffer.from(s, 'latin1')) this.u8(c); return this.u8(0); }
  append(other) { this.bytes.push(...other.bytes); return this; }
}

// A segmented picture (.shg): one 1-bit bitmap, black where the hotspots are, with jump hotspots.
function segmentedPicture(width, height, hotspots) {
  const stride = Math.ceil(width / 32) * 4;
  const pixels = new Bytes();
  for (let row = 0; row < height; row++) {
    const y = height - 1 - row;  // bottom-up, as a DIB
    for (let byte = 0; byte < stride; byte++) {
      let bits = 0;
      for (let bit = 0; bit < 8; bit++) {
        const x = byte * 8 + bit;
        const inside = hotspots.some((h) => x >= h.x && x < h.x + h.width && y >= h.y && y < h.y + h.height);
        if (x < width && !inside) bits |= 0x80 >> bit;  // 1: white
      }
      pixels.u8(bits);
    }
  }
  const section = new Bytes().u8(1).u16(hotspots.length).u32(0);
  for (const h of hotspots) section.u8(0xE3).u8(0).u8(0).u16(h.x).u16(h.y).u16(h.width).u16(h.height).u32(0);
  for (const h of hotspots) section.text(`hotspot ${h.context}`).text(h.context);

  const palette = new Bytes().u32(0x000000).u32(0xFFFFFF);
  const header = new Bytes().u8(6).u8(0).dword(96).dword(96).word(1).word(1).dword(width).dword(height)
    .dword(2).dword(0).dword(pixels.bytes.length).dword(section.bytes.length);
  const dataOffset = header.bytes.length + 8 + palette.bytes.length;
  header.u32(dataOffset).u32(dataOffset + pixels.bytes.length);
  const file = new Bytes().u16(0x506C).u16(1).u32(8).append(header).append(palette).append(pixels).append(section);
  return Buffer.from(file.bytes);
}

function footnote(mark, text) {
  return `{\\cs16\\super ${mark}{\\footnote \\pard\\plain \\s15\\fs20 {\\cs16\\super ${mark}} ${text}}}`;
}

const topics = [
  footnote('#', 'start') + footnote('$', 'Getting started') + footnote('K', 'window;dots') +
    'This help shows the viewer in English. Read {\\uldb the hidden page}{\\v .x}, see {\\ul a note}{\\v trouble}, ' +
    'or choose a part of the picture:\\par \\{bmc wide.shg\\}\\par ',
  footnote('#', '.x') + footnote('$', 'Dotted page') + footnote('K', 'dots') +
    'A page named after a context string that begins with a dot.\\par ',
  footnote('#', 'trouble') + footnote('$', 'Troubleshooting') +
    'When the program fails, start it again.\\par ',
  footnote('#', 'untitled') + footnote('K', 'window') +
    '\\pard\\plain \\s1\\b\\fs28 Details of the window\\par \\pard\\plain \\fs20 The window shows the pages of the help.\\par ',
];

const rtf = '{\\rtf1\\ansi\\ansicpg1252\\deff0\r\n{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n' +
  '{\\stylesheet{\\fs20 \\snext0 Normal;}{\\s1\\b\\fs28 \\sbasedon0 \\snext0 heading 1;}' +
  '{\\s15\\fs20 \\sbasedon0 \\snext15 footnote text;}{\\*\\cs16 \\additive \\super footnote reference;}}\r\n' +
  topics.join('\r\n\\page ') + '\r\n}\r\n';

/** Writes the project into `folder`; returns the path of its .hpj. */
export function writeFixtureHelp(folder) {
  fs.mkdirSync(folder, { recursive: true });
  const lines = (...text) => text.join('\r\n') + '\r\n';
  fs.writeFileSync(path.join(folder, 'fixture.hpj'), lines('[OPTIONS]', 'TITLE=Fixture Help', 'LCID=0x409 0x0 0x0',
    'CONTENTS=start', 'CNT=fixture.cnt', '', '[FILES]', 'topics.rtf'));
  fs.writeFileSync(path.join(folder, 'fixture.cnt'), lines(':Base fixture.hlp', ':Title Fixture Help',
    '1 Getting started=start', '1 Troubleshooting=trouble'));
  fs.writeFileSync(path.join(folder, 'topics.rtf'), rtf, 'latin1');
  fs.writeFileSync(path.join(folder, 'wide.shg'), segmentedPicture(fixturePictureWidth, pictureHeight, fixtureHotspots));
  return path.join(folder, 'fixture.hpj');
}
