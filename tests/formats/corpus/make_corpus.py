#!/usr/bin/env python3
"""Makes the RTF corpus the corpus tests read: one document written as RTF by
LibreOffice, AbiWord and pandoc, and the same document in the form Word writes.

    python3 tests/formats/corpus/make_corpus.py      (from anywhere)

Needs soffice (libreoffice-writer-nogui), abiword and pandoc. The files are
checked in, so the tests need none of them; run this again only to renew the
files, then check the expected values in RtfCorpusTest.cpp against what the
programs now write (RtfInteropTest.cpp has LibreOffice read them back).

The source document is an OpenDocument text (source.odt, made here from the
XML below) that LibreOffice and pandoc read; AbiWord, whose OpenDocument
import loses lists, reads the same document in its own format (source.abw).
The document holds: a section break and a page break; a two-level numbered
list that a plain paragraph interrupts, that goes on numbering after it and
then starts again at 1; a table with empty cells; a PNG, a BMP and a WMF
picture (both made here byte by byte); hidden text; space before and after
and 1.5 line spacing; left, centre, right and decimal tab stops;
superscript and subscript; Cyrillic in Times New Roman and in Arial; a
hyperlink.

What each program makes of it:
  libreoffice.rtf  soffice --headless --convert-to rtf source.odt (fonts all
                   \fcharset0, pictures as shapes, the WMF turned into a PNG)
  abiword.rtf      abiword --to=rtf source.abw (without a window AbiWord
                   numbers no list; its BMP and WMF come out with no kind)
  pandoc.rtf       pandoc -s -f odt -t rtf source.odt (no hidden text, spacing,
                   tab stops, fonts, breaks, list continuation, nor pictures
                   other than PNG; list numbers as text)
  word_tables.rtf  tables in Word's form: merged down and across, borders,
                   a header row, a row height (written here); and
  libreoffice_tables.rtf  the same as LibreOffice writes it
  word.rtf         written here in Word's own form: \listtable and
                   \listoverridetable with \ls lists and a restart by
                   \listoverridestartat, a \trowd table, \pngblip,
                   \dibitmap0 and \wmetafile8 pictures, a bookmark, a
                   HYPERLINK field, \v, \fcharset204 and \fcharset0 fonts.
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile
import zlib
import base64

HERE = os.path.dirname(os.path.abspath(__file__))


def png(width, height, rgb_rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rgb_rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def bmp(width, height, rgb_rows):
    """A 24-bit BMP file; its DIB is everything after the 14-byte file header."""
    stride = (width * 3 + 3) & ~3
    pixels = b""
    for row in reversed(rgb_rows):  # bottom-up
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        pixels += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def wmf_records():
    """A Windows metafile drawing one filled rectangle in 1000 x 500 units."""
    def record(function, *words):
        return struct.pack("<IH", 3 + len(words), function) + struct.pack("<%dh" % len(words), *words)
    body = (record(0x020B, 0, 0)                      # SETWINDOWORG y x
            + record(0x020C, 500, 1000)               # SETWINDOWEXT y x
            + record(0x02FC, 0, 0x00FF, 0x0000, 0)    # CREATEBRUSHINDIRECT solid red
            + record(0x012D, 0)                       # SELECTOBJECT 0
            + record(0x041B, 450, 950, 50, 50)        # RECTANGLE bottom right top left
            + record(0x0000))                         # EOF
    size_words = (18 + len(body)) // 2
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, size_words, 1, 7, 0)
    return header + body


def placeable_wmf():
    """The metafile with the placeable header that picture files carry."""
    words = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 1000, 500, 1000, 0)
    checksum = 0
    for (w,) in struct.iter_unpack("<H", words):
        checksum ^= w
    return words + struct.pack("<H", checksum) + wmf_records()


RED, BLUE, GREEN, WHITE = (255, 0, 0), (0, 0, 255), (0, 128, 0), (255, 255, 255)
PNG = png(4, 2, [[RED, BLUE, RED, BLUE], [GREEN, WHITE, GREEN, WHITE]])
BMP = bmp(3, 2, [[BLUE, BLUE, RED], [GREEN, RED, WHITE]])
WMF = placeable_wmf()

STYLES = """<?xml version="1.0" encoding="UTF-8"?>
<office:document-styles xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.2">
 <office:font-face-decls>
  <style:font-face style:name="Times New Roman" svg:font-family="'Times New Roman'" style:font-family-generic="roman" style:font-charset="windows-1251"/>
  <style:font-face style:name="Arial" svg:font-family="Arial" style:font-family-generic="swiss"/>
 </office:font-face-decls>
 <office:styles>
  <style:default-style style:family="paragraph">
   <style:text-properties style:font-name="Times New Roman" fo:font-size="12pt" fo:language="ru" fo:country="RU"/>
  </style:default-style>
  <style:style style:name="Standard" style:family="paragraph"/>
 </office:styles>
 <office:automatic-styles>
  <style:page-layout style:name="pm1"><style:page-layout-properties fo:page-width="8.5in" fo:page-height="11in"
   fo:margin-top="1in" fo:margin-bottom="1in" fo:margin-left="1in" fo:margin-right="1in"/></style:page-layout>
  <style:page-layout style:name="pm2"><style:page-layout-properties fo:page-width="11in" fo:page-height="8.5in"
   style:print-orientation="landscape" fo:margin-top="1in" fo:margin-bottom="1in" fo:margin-left="1in"
   fo:margin-right="1in"/></style:page-layout>
 </office:automatic-styles>
 <office:master-styles>
  <style:master-page style:name="Standard" style:page-layout-name="pm1"/>
  <style:master-page style:name="Landscape" style:page-layout-name="pm2"/>
 </office:master-styles>
</office:document-styles>
"""

CONTENT = """<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" office:version="1.2">
 <office:font-face-decls>
  <style:font-face style:name="Times New Roman" svg:font-family="'Times New Roman'" style:font-family-generic="roman" style:font-charset="windows-1251"/>
  <style:font-face style:name="Arial" svg:font-family="Arial" style:font-family-generic="swiss"/>
 </office:font-face-decls>
 <office:automatic-styles>
  <style:style style:name="PSection" style:family="paragraph" style:parent-style-name="Standard" style:master-page-name="Landscape"/>
  <style:style style:name="PPage" style:family="paragraph" style:parent-style-name="Standard">
   <style:paragraph-properties fo:break-before="page"/></style:style>
  <style:style style:name="PSpacing" style:family="paragraph" style:parent-style-name="Standard">
   <style:paragraph-properties fo:margin-top="6pt" fo:margin-bottom="12pt" fo:line-height="150%"/></style:style>
  <style:style style:name="PTabs" style:family="paragraph" style:parent-style-name="Standard">
   <style:paragraph-properties><style:tab-stops>
    <style:tab-stop style:position="1in"/>
    <style:tab-stop style:position="2.5in" style:type="center"/>
    <style:tab-stop style:position="4in" style:type="right"/>
    <style:tab-stop style:position="5in" style:type="char" style:char=","/>
   </style:tab-stops></style:paragraph-properties></style:style>
  <style:style style:name="TArial" style:family="text"><style:text-properties style:font-name="Arial"/></style:style>
  <style:style style:name="TSuper" style:family="text"><style:text-properties style:text-position="super 58%"/></style:style>
  <style:style style:name="TSub" style:family="text"><style:text-properties style:text-position="sub 58%"/></style:style>
  <style:style style:name="THidden" style:family="text"><style:text-properties text:display="none"/></style:style>
  <text:list-style style:name="L1">
   <text:list-level-style-number text:level="1" style:num-format="1" style:num-suffix=".">
    <style:list-level-properties text:list-level-position-and-space-mode="label-alignment">
     <style:list-level-label-alignment text:label-followed-by="listtab" fo:text-indent="-0.25in" fo:margin-left="0.5in"/>
    </style:list-level-properties></text:list-level-style-number>
   <text:list-level-style-number text:level="2" style:num-format="a" style:num-suffix=".">
    <style:list-level-properties text:list-level-position-and-space-mode="label-alignment">
     <style:list-level-label-alignment text:label-followed-by="listtab" fo:text-indent="-0.25in" fo:margin-left="1in"/>
    </style:list-level-properties></text:list-level-style-number>
  </text:list-style>
  <style:style style:name="fr1" style:family="graphic"><style:graphic-properties style:vertical-pos="top" style:vertical-rel="baseline"/></style:style>
 </office:automatic-styles>
 <office:body><office:text>
  <text:p text:style-name="Standard">Раздел один: Times New Roman и <text:span text:style-name="TArial">Arial кириллица</text:span>.</text:p>
  <text:p text:style-name="PSection">Раздел два после разрыва раздела.</text:p>
  <text:p text:style-name="PPage">После разрыва страницы.</text:p>
  <text:p text:style-name="PSpacing">Интервалы: до 6, после 12, полуторный.</text:p>
  <text:p text:style-name="PTabs">Табуляция<text:tab/>лево<text:tab/>центр<text:tab/>право<text:tab/>12,50</text:p>
  <text:p text:style-name="Standard">Формула E=mc<text:span text:style-name="TSuper">2</text:span> и H<text:span text:style-name="TSub">2</text:span>O.</text:p>
  <text:p text:style-name="Standard">Скрытый <text:span text:style-name="THidden">секрет</text:span>текст.</text:p>
  <text:p text:style-name="Standard">Ссылка на <text:a xlink:type="simple" xlink:href="https://example.org/veltrix?a=1&amp;b=2">сайт Veltrix</text:a>.</text:p>
  <text:list xml:id="list1" text:style-name="L1">
   <text:list-item><text:p>Пункт один</text:p>
    <text:list><text:list-item><text:p>Подпункт а</text:p></text:list-item>
     <text:list-item><text:p>Подпункт б</text:p></text:list-item></text:list></text:list-item>
   <text:list-item><text:p>Пункт два</text:p></text:list-item>
  </text:list>
  <text:p text:style-name="Standard">Абзац между пунктами.</text:p>
  <text:list text:continue-list="list1" text:style-name="L1">
   <text:list-item><text:p>Пункт три</text:p></text:list-item>
  </text:list>
  <text:list text:style-name="L1">
   <text:list-item text:start-value="1"><text:p>Снова пункт один</text:p>
    <text:list><text:list-item><text:p>Снова подпункт а</text:p></text:list-item></text:list></text:list-item>
  </text:list>
  <table:table table:name="T1">
   <table:table-column table:number-columns-repeated="3"/>
   <table:table-row>
    <table:table-cell office:value-type="string"><text:p>А1</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p/></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>В1</text:p></table:table-cell>
   </table:table-row>
   <table:table-row>
    <table:table-cell office:value-type="string"><text:p/></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>Б2</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p/></table:table-cell>
   </table:table-row>
  </table:table>
  <text:p text:style-name="Standard">Рисунки: <draw:frame draw:style-name="fr1" draw:name="png" text:anchor-type="as-char" svg:width="0.5in" svg:height="0.25in"><draw:image xlink:href="Pictures/p.png" xlink:type="simple" xlink:show="embed" xlink:actuate="onLoad"/></draw:frame> <draw:frame draw:style-name="fr1" draw:name="bmp" text:anchor-type="as-char" svg:width="0.75in" svg:height="0.5in"><draw:image xlink:href="Pictures/b.bmp" xlink:type="simple" xlink:show="embed" xlink:actuate="onLoad"/></draw:frame> <draw:frame draw:style-name="fr1" draw:name="wmf" text:anchor-type="as-char" svg:width="1in" svg:height="0.5in"><draw:image xlink:href="Pictures/w.wmf" xlink:type="simple" xlink:show="embed" xlink:actuate="onLoad"/></draw:frame> конец.</text:p>
  <text:p text:style-name="Standard">Конец документа.</text:p>
 </office:text></office:body>
</office:document-content>
"""

MANIFEST = """<?xml version="1.0" encoding="UTF-8"?>
<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.2">
 <manifest:file-entry manifest:full-path="/" manifest:media-type="application/vnd.oasis.opendocument.text"/>
 <manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>
 <manifest:file-entry manifest:full-path="styles.xml" manifest:media-type="text/xml"/>
 <manifest:file-entry manifest:full-path="Pictures/p.png" manifest:media-type="image/png"/>
 <manifest:file-entry manifest:full-path="Pictures/b.bmp" manifest:media-type="image/bmp"/>
 <manifest:file-entry manifest:full-path="Pictures/w.wmf" manifest:media-type="image/x-wmf"/>
</manifest:manifest>
"""


def write_odt(path):
    with zipfile.ZipFile(path, "w") as odt:
        odt.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.text")
        for name, data in (("content.xml", CONTENT), ("styles.xml", STYLES),
                           ("META-INF/manifest.xml", MANIFEST), ("Pictures/p.png", PNG),
                           ("Pictures/b.bmp", BMP), ("Pictures/w.wmf", WMF)):
            odt.writestr(name, data, compress_type=zipfile.ZIP_DEFLATED)


def abw():
    """The document in AbiWord's own format, which it reads best."""
    def data(name, mime, blob):
        return '<d name="%s" mime-type="%s" base64="yes">%s</d>' % (name, mime, base64.b64encode(blob).decode())
    def item(listid, parentid, level, text):
        style = "Numbered List" if level == 1 else "Lower Case List"
        return ('<p level="%d" listid="%d" parentid="%d" style="Normal" props="start-value:1; text-indent:-0.25in; '
                'list-style:%s; field-font:NULL; margin-left:%.2fin"><field type="list_label"/><c>\t%s</c></p>'
                % (level, listid, parentid, style, 0.5 * level, text))
    return """<?xml version="1.0" encoding="UTF-8"?>
<abiword template="false" xmlns:fo="http://www.w3.org/1999/XSL/Format" xmlns:math="http://www.w3.org/1998/Math/MathML"
 xmlns:svg="http://www.w3.org/2000/svg" xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:xlink="http://www.w3.org/1999/xlink"
 xmlns="http://www.abisource.com/awml.dtd" version="3.0.5" fileformat="1.1" props="lang:ru-RU">
<styles>
<s type="P" name="Normal" followedby="Current Settings" props="font-family:Times New Roman; font-size:12pt; lang:ru-RU"/>
<s type="P" name="Numbered List" basedon="Normal" followedby="Current Settings" props="list-style:Numbered List"/>
</styles>
<lists>
<l id="1000" parentid="0" type="0" start-value="1" list-delim="%L." list-decimal="."/>
<l id="1001" parentid="1000" type="1" start-value="1" list-delim="%L." list-decimal="."/>
<l id="1002" parentid="0" type="0" start-value="1" list-delim="%L." list-decimal="."/>
<l id="1003" parentid="1002" type="1" start-value="1" list-delim="%L." list-decimal="."/>
</lists>
<section props="page-width:8.5in; page-height:11in">
<p style="Normal">Раздел один: Times New Roman и <c props="font-family:Arial">Arial кириллица</c>.</p>
</section>
<section props="page-width:11in; page-height:8.5in; orientation:landscape">
<p style="Normal">Раздел два после разрыва раздела.</p>
<p style="Normal"><pbr/>После разрыва страницы.</p>
<p style="Normal" props="margin-top:6pt; margin-bottom:12pt; line-height:1.5">Интервалы: до 6, после 12, полуторный.</p>
<p style="Normal" props="tabstops:1in/L0,2.5in/C0,4in/R0,5in/D0">Табуляция\tлево\tцентр\tправо\t12,50</p>
<p style="Normal">Формула E=mc<c props="text-position:superscript">2</c> и H<c props="text-position:subscript">2</c>O.</p>
<p style="Normal">Скрытый <c props="display:none">секрет</c>текст.</p>
<p style="Normal">Ссылка на <a xlink:href="https://example.org/veltrix?a=1&amp;b=2">сайт Veltrix</a>.</p>
""" + "\n".join([item(1000, 0, 1, "Пункт один"), item(1001, 1000, 2, "Подпункт а"), item(1001, 1000, 2, "Подпункт б"),
                 item(1000, 0, 1, "Пункт два"), '<p style="Normal">Абзац между пунктами.</p>',
                 item(1000, 0, 1, "Пункт три"), item(1002, 0, 1, "Снова пункт один"),
                 item(1003, 1002, 2, "Снова подпункт а")]) + """
<table props="table-column-props:2in/2in/2in/">
<cell props="left-attach:0; right-attach:1; top-attach:0; bot-attach:1"><p style="Normal">А1</p></cell>
<cell props="left-attach:1; right-attach:2; top-attach:0; bot-attach:1"><p style="Normal"></p></cell>
<cell props="left-attach:2; right-attach:3; top-attach:0; bot-attach:1"><p style="Normal">В1</p></cell>
<cell props="left-attach:0; right-attach:1; top-attach:1; bot-attach:2"><p style="Normal"></p></cell>
<cell props="left-attach:1; right-attach:2; top-attach:1; bot-attach:2"><p style="Normal">Б2</p></cell>
<cell props="left-attach:2; right-attach:3; top-attach:1; bot-attach:2"><p style="Normal"></p></cell>
</table>
<p style="Normal">Рисунки: <image dataid="png" props="width:0.5in; height:0.25in"/> <image dataid="bmp" props="width:0.75in; height:0.5in"/> <image dataid="wmf" props="width:1in; height:0.5in"/> конец.</p>
<p style="Normal">Конец документа.</p>
</section>
<data>
""" + "\n".join([data("png", "image/png", PNG), data("bmp", "image/bmp", BMP), data("wmf", "image/x-wmf", WMF)]) + """
</data>
</abiword>
"""


def hex_lines(data):
    text = data.hex()
    return "\n".join(text[i:i + 128] for i in range(0, len(text), 128))


def word_rtf():
    """The document as Word writes it: list table, \\ls lists, \\trowd rows."""
    def cyr(text):  # Cyrillic as Windows-1251 hex escapes
        return "".join(c if ord(c) < 128 else "\\'%02x" % c.encode("cp1251")[0] for c in text)
    level = ("{\\listlevel\\levelnfc%d\\levelnfcn%d\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat1"
             "{\\leveltext\\leveltemplateid%d\\'02\\'%02d.;}{\\levelnumbers\\'01;}\\fi-360\\li%d\\lin%d}")
    parts = [
        "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049",
        "{\\fonttbl{\\f0\\froman\\fcharset204\\fprq2 Times New Roman;}{\\f1\\fswiss\\fcharset0\\fprq2 Arial;}"
        "{\\f2\\fswiss\\fcharset204\\fprq2 Arial;}}",
        "{\\colortbl;\\red0\\green0\\blue255;}",
        "{\\*\\listtable{\\list\\listtemplateid100\\listhybrid",
        level % (0, 0, 101, 0, 720, 720), level % (4, 4, 102, 1, 1440, 1440),
        "{\\listname ;}\\listid1}}",
        "{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}"
        "{\\listoverride\\listid1\\listoverridecount1{\\lfolevel\\listoverridestartat\\levelstartat1}\\ls2}}",
        "\\paperw11906\\paperh16838\\margl1701\\margr850\\margt1134\\margb1134\\sectd",
        "\\pard\\plain\\f0\\fs24 " + cyr("Раздел один: Times New Roman и ") + "{\\f1 Arial }{\\f2 "
        + cyr("кириллица") + "}.\\par",
        "\\sect\\sectd\\lndscpsxn\\pgwsxn16838\\pghsxn11906",
        "\\pard\\plain\\f0\\fs24 " + cyr("Раздел два после разрыва раздела.") + "\\par",
        "\\pard\\plain\\f0\\fs24\\page " + cyr("После разрыва страницы.") + "\\par",
        "\\pard\\plain\\sb120\\sa240\\sl360\\slmult1\\f0\\fs24 " + cyr("Интервалы: до 6, после 12, полуторный.")
        + "\\par",
        "\\pard\\plain\\tx1440\\tqc\\tx3600\\tqr\\tx5760\\tqdec\\tx7200\\f0\\fs24 " + cyr("Табуляция")
        + "\\tab " + cyr("лево") + "\\tab " + cyr("центр") + "\\tab " + cyr("право") + "\\tab 12,50\\par",
        "\\pard\\plain\\f0\\fs24 " + cyr("Формула") + " E=mc{\\super 2} " + cyr("и") + " H{\\sub 2}O.\\par",
        "\\pard\\plain\\f0\\fs24 " + cyr("Скрытый ") + "{\\v " + cyr("секрет") + "}" + cyr("текст.") + "\\par",
        "\\pard\\plain\\f0\\fs24 " + cyr("Ссылка на ") + "{\\*\\bkmkstart link}{\\field{\\*\\fldinst "
        "{HYPERLINK \"https://example.org/veltrix?a=1&b=2\"}}{\\fldrslt {\\ul\\cf1 " + cyr("сайт")
        + " Veltrix}}}{\\*\\bkmkend link}.\\par",
    ]
    items = [(1, 0, "Пункт один"), (1, 1, "Подпункт а"), (1, 1, "Подпункт б"), (1, 0, "Пункт два"),
             (0, 0, "Абзац между пунктами."), (1, 0, "Пункт три"), (2, 0, "Снова пункт один"),
             (2, 1, "Снова подпункт а")]
    for ls, ilvl, text in items:
        if ls == 0:
            parts.append("\\pard\\plain\\f0\\fs24 " + cyr(text) + "\\par")
        else:
            indent = 720 * (ilvl + 1)
            parts.append("\\pard\\plain\\fi-360\\li%d\\ls%d\\ilvl%d\\f0\\fs24 %s\\par" % (indent, ls, ilvl, cyr(text)))
    row = "\\trowd\\trgaph108\\trleft-108\\cellx3000\\cellx6000\\cellx9000"
    cell = lambda text: "\\pard\\plain\\intbl\\f0\\fs24 " + cyr(text) + "\\cell"
    parts += [row + cell("А1") + cell("") + cell("В1") + row + "\\row",
              row + cell("") + cell("Б2") + cell("") + row + "\\row"]
    dib = BMP[14:]
    parts += [
        "\\pard\\plain\\f0\\fs24 " + cyr("Рисунки: "),
        "{\\pict\\pngblip\\picw4\\pich2\\picwgoal720\\pichgoal360\n" + hex_lines(PNG) + "}",
        " {\\pict\\dibitmap0\\wbmbitspixel24\\wbmplanes1\\wbmwidthbytes12\\picw3\\pich2\\picwgoal1080\\pichgoal720\n"
        + hex_lines(dib) + "}",
        " {\\pict\\wmetafile8\\picw1764\\pich882\\picwgoal1440\\pichgoal720\n" + hex_lines(wmf_records()) + "}",
        " " + cyr("конец.") + "\\par",
        "\\pard\\plain\\f0\\fs24 " + cyr("Конец документа.") + "\\par",
        "}",
    ]
    return "\n".join(parts) + "\n"


def word_tables_rtf():
    """A price list in Word's form of tables: a header row with a background,
    a cell merged down two rows, one merged across two columns, single
    borders with a red one, vertical alignment, a row height and widths
    Word states beside the edges, and a Cyrillic cell."""
    borders = "".join(f"\\clbrdr{side}\\brdrs\\brdrw10" for side in "tlbr")
    red_top = "\\clbrdrt\\brdrs\\brdrw30\\brdrcf2" + "".join(f"\\clbrdr{side}\\brdrs\\brdrw10" for side in "lbr")

    def row(header, cells, height=""):
        words = "\\trowd\\irow0\\trgaph108\\trleft-108" + height + ("\\trhdr" if header else "")
        return words + "".join(f"{merge}{border}\\clwWidth{width}\\clftsWidth3\\cellx{edge}"
                               for merge, border, width, edge in cells) + "\n"

    return ("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman;}}\n"
            "{\\colortbl;\\red220\\green230\\blue255;\\red255\\green0\\blue0;}\n"
            "\\pard Before the table.\\par\n"
            + row(True, [("\\clcbpat1", borders, 2108, 2000), ("\\clcbpat1", borders, 3000, 5000),
                         ("\\clcbpat1", red_top, 3000, 8000)])
            + "\\pard\\intbl\\b Name\\b0\\cell\\pard\\intbl\\qc Price\\cell\\pard\\intbl Notes\\cell\\row\n"
            + row(False, [("\\clvmgf\\clvertalc", borders, 2108, 2000), ("", borders, 3000, 5000),
                          ("", borders, 3000, 8000)], "\\trrh400")
            + "\\pard\\intbl Merged down\\cell\\pard\\intbl\\qr 100\\cell\\pard\\intbl A note"
              "\\par \\'c2\\'f2\\'ee\\'f0\\'ee\\'e9 \\'e0\\'e1\\'e7\\'e0\\'f6\\cell\\row\n"
            + row(False, [("\\clvmrg", borders, 2108, 2000), ("\\clmgf", borders, 3000, 5000),
                          ("\\clmrg", borders, 3000, 8000)])
            + "\\pard\\intbl\\cell\\pard\\intbl\\qc Merged across\\cell\\pard\\intbl\\cell\\row\n"
            "\\pard After the table.\\par\n}\n")


def word_nested_rtf():
    """A form in Word's form of a table inside a table's cell: the inner rows'
    paragraphs at \\itap2, their definitions after their cells in
    \\nesttableprops, a flattened copy in \\nonesttables for readers that know
    no nesting, an inner cell with a background, and text after the inner
    table in the outer cell."""
    borders = "".join(f"\\clbrdr{side}\\brdrs\\brdrw10" for side in "tlbr")

    def inner_row(cells, first_background=""):
        return ("{\\*\\nesttableprops\\trowd\\irow0\\trgaph108\\trleft0"
                + first_background + "".join(f"{borders}\\cellx{edge}" for edge in cells) + "\\nestrow}"
                "{\\nonesttables\\par }\n")

    outer = "\\trowd\\irow0\\trgaph108\\trleft-108" + f"{borders}\\cellx2500{borders}\\cellx8000\n"
    return ("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman;}}\n"
            "{\\colortbl;\\red255\\green255\\blue0;}\n"
            "\\pard Before the form.\\par\n"
            + outer
            + "\\pard\\intbl\\itap1 Applicant\\cell\n"
            "\\pard\\intbl\\itap2 Name\\nestcell\\pard\\intbl\\itap2 \\'c8\\'e2\\'e0\\'ed\\nestcell\n"
            + inner_row([4500, 7800], "\\clcbpat1")
            + "\\pard\\intbl\\itap2 City\\nestcell\\pard\\intbl\\itap2 Moscow\\par Tverskaya 1\\nestcell\n"
            + inner_row([4500, 7800])
            + "\\pard\\intbl\\itap1 Signed on arrival.\\cell\n"
            + outer + "\\row\n"
            + outer
            + "\\pard\\intbl\\itap1 Second\\cell\\pard\\intbl\\itap1 plain cell\\cell\n"
            + outer + "\\row\n"
            "\\pard After the form.\\par\n}\n")


def run(*command, cwd):
    print("+", " ".join(command))
    subprocess.run(command, cwd=cwd, check=True, timeout=300)


def main():
    with tempfile.TemporaryDirectory() as work:
        env_home = os.path.join(work, "home")
        os.makedirs(env_home)
        os.environ["HOME"] = env_home
        source = os.path.join(work, "source.odt")
        write_odt(source)
        shutil.copy(source, os.path.join(HERE, "source.odt"))
        profile = "file://" + os.path.join(work, "profile")
        run("soffice", "-env:UserInstallation=" + profile, "--headless", "--norestore",
            "--convert-to", "rtf", "--outdir", work, source, cwd=work)
        shutil.copy(os.path.join(work, "source.rtf"), os.path.join(HERE, "libreoffice.rtf"))
        with open(os.path.join(HERE, "source.abw"), "w", encoding="utf-8") as out:
            out.write(abw())
        run("abiword", "--to=rtf", "-o", os.path.join(HERE, "abiword.rtf"), os.path.join(HERE, "source.abw"),
            cwd=work)
        run("pandoc", "-s", "-f", "odt", "-t", "rtf", "-o", os.path.join(HERE, "pandoc.rtf"), source, cwd=work)
    with open(os.path.join(HERE, "word.rtf"), "w", encoding="ascii", newline="\r\n") as out:
        out.write(word_rtf())
    # The tables of Word's form, and LibreOffice's own RTF of them (read by
    # it into a document of its own, then written).
    word_and_libreoffice("tables", word_tables_rtf())
    word_and_libreoffice("nested", word_nested_rtf())


def word_and_libreoffice(kind, rtf):
    """word_KIND.rtf as given, and LibreOffice's own RTF of it (read by it
    into a document of its own, then written) as libreoffice_KIND.rtf."""
    original = os.path.join(HERE, f"word_{kind}.rtf")
    with open(original, "w", encoding="ascii", newline="\r\n") as out:
        out.write(rtf)
    with tempfile.TemporaryDirectory() as work:
        profile = "file://" + os.path.join(work, "profile")
        run("soffice", "-env:UserInstallation=" + profile, "--headless", "--norestore",
            "--convert-to", "odt", "--outdir", work, original, cwd=work)
        run("soffice", "-env:UserInstallation=" + profile, "--headless", "--norestore",
            "--convert-to", "rtf", "--outdir", work, os.path.join(work, f"word_{kind}.odt"), cwd=work)
        shutil.copy(os.path.join(work, f"word_{kind}.rtf"), os.path.join(HERE, f"libreoffice_{kind}.rtf"))


if __name__ == "__main__":
    sys.exit(main())
