#!/usr/bin/env python3
"""Writes examples/guide: a Japanese help project of our own in the form Word
gives topic files (many topics per file, footnote groups, styles, tables,
lists, split hotspots, embedded pictures). The files are committed; run this
only to make them anew."""

import importlib.util
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
_loader = importlib.util.spec_from_file_location("pictures", os.path.join(HERE, "make-sample-pictures.py"))
pictures = importlib.util.module_from_spec(_loader)
_loader.loader.exec_module(pictures)


def j(text):
    """Text as Word writes it in a Japanese document: every byte of a
    double-byte character as a \\'hh escape, trail bytes 0x5C and 0x7B included."""
    out = []
    for char in text:
        data = char.encode("cp932")
        if len(data) > 1 or data[0] >= 0x80:
            out.append("".join("\\'%02x" % byte for byte in data))
        elif char in "\\{}":
            out.append("\\" + char)
        else:
            out.append(char)
    return "".join(out)


HEADER = (r"{\rtf1\ansi\ansicpg932\uc2\deff0\deflang1033\deflangfe1041"
          r"{\fonttbl{\f0\froman\fcharset0\fprq2{\*\panose 02020603050405020304}Times New Roman;}"
          r"{\f1\froman\fcharset2\fprq2 Symbol;}"
          r"{\f2\fmodern\fcharset128\fprq1 " + j("ＭＳ ゴシック") + r"{\*\falt MS Gothic};}"
          r"{\f3\fnil\fcharset2\fprq2 Wingdings;}}" "\r\n"
          r"{\colortbl;\red0\green0\blue0;\red0\green0\blue255;\red255\green0\blue0;\red0\green128\blue0;}" "\r\n"
          r"{\stylesheet{\widctlpar\adjustright \fs20\cgrid \snext0 Normal;}"
          r"{\s1\keepn\widctlpar\adjustright \b\f2\fs28\cgrid \sbasedon0 \snext0 heading 1;}"
          r"{\s2\sb120\sa60\keepn\widctlpar\adjustright \b\f2\fs24\cgrid \sbasedon0 \snext0 " + j("見出し 2") + ";}"
          r"{\*\cs10 \additive Default Paragraph Font;}"
          r"{\s15\widctlpar\adjustright \fs20\cgrid \sbasedon0 \snext15 footnote text;}"
          r"{\*\cs16 \additive \super \sbasedon10 footnote reference;}}" "\r\n"
          r"{\info{\title guide}{\author Quorvex}}\paperw11906\paperh16838\margl1701\margr1701 "
          r"\widowctrl\ftnbj\aenddoc\formshade\fet0\sectd \linex0\endnhere\sectdefaultcl " "\r\n")

PLAIN = r"\pard\plain \widctlpar\adjustright \fs20\cgrid "


def footnote(mark, text):
    return (r"{\cs16\super " + mark + r"{\footnote \pard\plain \s15\widctlpar\adjustright \fs20\cgrid "
            r"{\cs16\super " + mark + "} " + j(text) + "}}")


def topic(contexts, title=None, keywords=None, alinks=None, heading=None):
    """The footnotes that start a topic, in its first paragraph as Word puts
    them: before the heading of the non-scrolling region, or before the text."""
    notes = [footnote("#", c) for c in contexts]
    if title:
        notes.append(footnote("$", title))
    if keywords:
        notes.append(footnote("K", keywords))
    if alinks:
        notes.append(footnote("A", alinks))
    if heading is None:
        return PLAIN + "\r\n".join(notes) + " "
    return (r"\pard\plain \s1\keepn\widctlpar\adjustright \b\f2\fs28\cgrid {" + "\r\n".join(notes) + " " +
            j(heading) + r"\par }" + "\r\n")


def para(body, extra=""):
    return PLAIN + extra + "{" + body + r"\par }" + "\r\n"


def jump(text, target):
    return r"{\uldb " + j(text) + r"}{\v " + target + "}"


def popup(text, target):
    return r"{\ul " + j(text) + r"}{\v " + target + "}"


def picture_ref(kind, name):
    return r"\{" + kind + " " + name + r"\}"


def png_bytes(width, height, rgb):
    raw = b"".join(b"\0" + bytes(rgb) * width for _ in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def hex_lines(data):
    text = data.hex()
    return "\r\n".join(text[i:i + 128] for i in range(0, len(text), 128))


def basics():
    bullet = picture_ref("bml", "bullet.bmp")
    return (HEADER +
            topic(["top", "contents_top"], "ガイドの目次", "ガイド;目次", heading="ガイド") +
            r"\pard\plain \s1\keepn\widctlpar\adjustright \b\f2\fs28\cgrid {" + j("Quorvex ガイド") + r"\par }" +
            para(j("このガイドは、ヘルプの読み方を説明します。")) +
            para(bullet + jump("インストール", "install")) +
            para(bullet + jump("使い方", "usage")) +
            para(bullet + jump("表の例", "usage_table")) +
            para(bullet + jump("設定", "settings")) +
            para(picture_ref("bmc", "screen.bmp") + " " + picture_ref("bmct", "toolbar.shg")) +
            r"\page " + "\r\n" +
            topic(["install"], "インストール", "インストール;準備,インストール", "setup", heading="インストール") +
            para(j("次の順に進めます。")) +
            r"\pard\plain \fi-360\li720\widctlpar\adjustright \fs20\cgrid {\listtext\pard\plain \f2 1.\tab}{" +
            j("ファイルを展開します。") + r"\par }" +
            r"{\listtext\pard\plain \f2 2.\tab}{" + j("設定ファイルを確認します。") + r"\par }" +
            para(j("用語: ") + popup("ドライバ", "term_driver") + j("と") + popup("ショートカット", "term_shortcut")) +
            r"\pard\plain \fi-360\li720\widctlpar\adjustright \fs20\cgrid {\pntext\pard\plain\f1 \'b7\tab}{" +
            j("表示の") + jump("使い方", "usage") + r"\par }" +
            r"{\pntext\pard\plain\f3 \'a7\tab}{" + j("細かい") + jump("設定", "settings>main") + r"\par }" +
            r"\page " + "\r\n" +
            topic(["usage"], "使い方", "使い方;操作:表", heading="使い方") +
            para(r"{\b " + j("太字") + r"}" + j("と") + r"{\i " + j("斜体") + r"}" + j("と") +
                 r"{\cf3 " + j("赤い文字") + r"}" + j("、H") + r"{\sub 2}O" + j("、m") + r"{\super 2}" +
                 r"\tab " + j("タブの後") + r"\line " + j("改行の後") + r"\~" + j("です。")) +
            r"\pard\plain \s2\sb120\sa60\keepn\widctlpar\adjustright \b\f2\fs24\cgrid {" + j("表の例") +
            footnote("#", "usage_table") + r"\par }" +
            PLAIN + r"\trowd \trgaph108\trleft-108\trbrdrt\brdrs\brdrw10 \trbrdrl\brdrs\brdrw10 "
            r"\clbrdrt\brdrs\brdrw10 \clbrdrl\brdrs\brdrw10 \cellx2000\clbrdrt\brdrs\brdrw10 \cellx5000 "
            r"\pard\plain \intbl\widctlpar\adjustright \fs20\cgrid {\b " + j("キー") + r"\cell " + j("働き") +
            r"\cell }\pard\plain \intbl\widctlpar\adjustright \fs20\cgrid {\row }" +
            r"\pard\plain \intbl\widctlpar\adjustright \fs20\cgrid {F1\cell " + j("ヘルプを開く") +
            r"\cell }\pard\plain \intbl\widctlpar\adjustright \fs20\cgrid {\row }" +
            r"\pard\plain \intbl\widctlpar\adjustright \fs20\cgrid {Esc\cell " + j("閉じる") +
            r"\cell }\pard\plain \intbl\widctlpar\adjustright \fs20\cgrid {\row }" +
            para(j("中央の段落"), r"\qc ") +
            para(j("字下げした段落"), r"\li720 ") +
            para(j("詳しくは ") + r"{\field{\*\fldinst {HYPERLINK \"https://example.com/quorvex/\" }}{\fldrslt {\ul\cf2 " +
                 j("ウェブサイト") + r"}}}" + j(" をご覧ください。")) +
            "}\r\n")


def reference():
    dib = pictures.bmp_file(*pictures.screen_pixels(), pictures.PALETTE)[14:]
    return (HEADER +
            topic(["settings"], "設定", "設定;操作,設定", "setup", heading="設定") +
            para(j("設定は") + r"\plain\uldb " + j("使い方") + r"\plain\v usage\plain\fs20 " + j("の後で行います。")) +
            para(j("分かれた") + r"{\uldb " + j("リン") + r"}{\uldb\b " + j("ク") + r"}{\v %ins}{\v tall}" + j("です。")) +
            para(j("埋め込みの図: ") + r"{\pict\dibitmap0\picw32\pich24\picwgoal480\pichgoal360 " + "\r\n" +
                 hex_lines(dib) + "}") +
            para(j("もう一枚: ") + r"{\*\shppict{\pict\pngblip\picw8\pich8\picwgoal120\pichgoal120 " + "\r\n" +
                 hex_lines(png_bytes(8, 8, (0, 128, 255))) + r"}}{\nonshppict{\pict\wmetafile8\picw10\pich10 0100}}") +
            r"\page " + "\r\n" +
            topic(["term_driver"]) +
            para(j("ドライバ: 機器を動かすためのソフトウエアです。")) +
            para(j("\"引用符\" と \\ 記号も表示されます。")) +
            r"\page " + "\r\n" +
            topic(["term_shortcut"], "ショートカット", "ショートカット") +
            para(j("ショートカット: よく使う操作を") + r"{\b " + j("キー") + r"}" + j("で行います。")) +
            r"\page " + "\r\n" +
            topic(["faq"], "よくある質問", "質問;ガイド", heading="よくある質問") +
            para(jump("関連する話題", "!ALink(setup)") + " " + jump("索引から", "!KLink(" + j("操作") + ")") + " " +
                 jump("サポート", "!ExecFile(https://example.com/support)") + " " +
                 jump("目次へ", "!JumpContents()") + " " + jump("最初へ", "!JI(`guide.hlp',`top')")) +
            para(r"\{button " + j("設定") + r",JI(`',`settings')\}" + " " + jump("別のヘルプ", "other@other.hlp")) +
            "}\r\n")


PROJECT = """; Quorvex guide: a help project in Word's form
[OPTIONS]
TITLE=Quorvex ガイド
CONTENTS=top
ROOT=rtf
BMROOT=bmp
LCID=0x411 0x0 0x0 ; 日本語
HLP=guide.hlp

[FILES]
basics.rtf
reference.rtf

[WINDOWS]
main="Quorvex ガイド",(653,102,360,600),0,(255,255,226),(r12632256),1

[ALIAS]
; the help buttons of the program's dialogs
IDH_TOP = top
IDH_SETTINGS=settings
IDH_INSTALL = install ; the setup dialog

[MAP]
#include "guide.hm"
IDH_INSTALL 0x0002

[CONFIG]
BrowseButtons()
"""

MAP = """// Help context numbers of the guide
#define IDH_TOP 100
#define IDH_SETTINGS 0x0103
"""

CONTENTS = """:Base guide.hlp
:Title Quorvex ガイド
1 はじめに=top
1 使い方
2 インストール=install
2 使い方=usage
2 表の例=usage_table
1 参考
2 設定=settings
2 よくある質問=faq
"""


def write(folder, name, text, crlf=True):
    data = text.replace("\n", "\r\n") if crlf and isinstance(text, str) else text
    if isinstance(data, str):
        data = data.encode("cp932")
    path = os.path.join(folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "examples", "guide")
    write(folder, "guide.hpj", PROJECT)
    write(folder, "guide.hm", MAP)
    write(folder, "guide.cnt", CONTENTS)
    write(folder, "rtf/basics.rtf", basics().encode("ascii"), crlf=False)
    write(folder, "rtf/reference.rtf", reference().encode("ascii"), crlf=False)
    width, height, rows = pictures.screen_pixels()
    write(folder, "bmp/screen.bmp", pictures.bmp_file(width, height, rows, pictures.PALETTE), crlf=False)
    bullet = [[4 if 2 <= x < 6 and 2 <= y < 6 else 0 for x in range(8)] for y in range(8)]
    write(folder, "bmp/bullet.bmp", pictures.bmp_file(8, 8, bullet, pictures.PALETTE), crlf=False)
    width, height, rows = pictures.toolbar_pixels()
    hotspots = [(0xE3, 0, 0, 16, 16, "jump", "install"), (0xE2, 16, 0, 16, 16, "popup", "term_driver"),
                (0xC8, 32, 0, 16, 16, "macro", "Exit()")]
    write(folder, "bmp/toolbar.shg", pictures.shg_file(width, height, rows, pictures.PALETTE, hotspots), crlf=False)


if __name__ == "__main__":
    main()
