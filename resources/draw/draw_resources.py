#!/usr/bin/env python3
"""Draws the package's bitmaps and icon and writes them into resources/,
together with the stored lookup form, and the key link dialog's stored form
into design/; the forms' button glyphs are drawn here.

The build embeds the files this writes, not this script: run it again only
after changing a picture here, and keep the files it writes with the source.
All pictures use the 16-colour palette below, 4 bits per pixel.
"""

import pathlib
import struct

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# Letters for the palette entries in the pixel tables and drawings.
INK = {
    "K": 0, "M": 1, "E": 2, "O": 3, "N": 4, "P": 5, "T": 6, "S": 7,
    "G": 8, "R": 9, "L": 10, "Y": 11, "B": 12, "F": 13, "C": 14, "W": 15,
}

# The lookup button's glyph, top row first: silver ground, black rim, white glass.
LENZ = [
    "SSSSSSSS",
    "SSSSKKSS",
    "SSSKWWKS",
    "SSSKWWKS",
    "SSSKKKSS",
    "SSKKSSSS",
    "SKKSSSSS",
    "SSSSSSSS",
]


class Canvas:
    def __init__(self, width, height, ground="S"):
        self.width, self.height = width, height
        self.pixels = [[INK[ground]] * width for _ in range(height)]

    def dot(self, x, y, ink):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = INK[ink]

    def fill(self, left, top, right, bottom, ink):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.dot(x, y, ink)

    def frame(self, left, top, right, bottom, ink):
        for x in range(left, right + 1):
            self.dot(x, top, ink)
            self.dot(x, bottom, ink)
        for y in range(top, bottom + 1):
            self.dot(left, y, ink)
            self.dot(right, y, ink)

    def line(self, x0, y0, x1, y1, ink):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.dot(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), ink)

    def disc(self, cx, cy, radius, ink, rim=None):
        for y in range(cy - radius - 1, cy + radius + 2):
            for x in range(cx - radius - 1, cx + radius + 2):
                d = (x - cx) ** 2 + (y - cy) ** 2
                if d <= radius * radius:
                    self.dot(x, y, ink)
                if rim and radius * radius - radius <= d <= radius * radius + radius:
                    self.dot(x, y, rim)

    def ellipse(self, cx, cy, rx, ry, ink, rim, half=None):
        """An ellipse around a centre that may fall between pixels; Half
        "lower" draws only the part below the centre row."""
        for y in range(int(cy - ry - 1), int(cy + ry + 2)):
            if half == "lower" and y < cy:
                continue
            for x in range(int(cx - rx - 1), int(cx + rx + 2)):
                d = ((x - cx) / (rx + 0.5)) ** 2 + ((y - cy) / (ry + 0.5)) ** 2
                if d <= 1 and ink:
                    self.dot(x, y, ink)
                if d <= 1 and rim and self.edge(x, y, cx, cy, rx, ry):
                    self.dot(x, y, rim)

    @staticmethod
    def edge(x, y, cx, cy, rx, ry):
        inside = lambda px, py: ((px - cx) / (rx + 0.5)) ** 2 + ((py - cy) / (ry + 0.5)) ** 2 <= 1
        return not all(inside(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))

    def table(self, rows):
        for y, row in enumerate(rows):
            for x, ink in enumerate(row):
                self.dot(x, y, ink)


def lens(c, cx, cy, radius, handle):
    """A magnifying glass: glass, rim and a handle to the lower left."""
    c.disc(cx, cy, radius, "W", rim="K")
    c.dot(cx - radius // 2, cy - radius // 2, "C")
    for i in range(1, handle + 1):
        x, y = cx - radius + 1 - i, cy + radius - 1 + i
        c.dot(x, y, "K")
        c.dot(x + 1, y, "K")
        c.dot(x, y - 1, "O")


def lookup_dialog():
    """A small window with a record grid, one row chosen, and a lens."""
    c = Canvas(24, 24)
    c.fill(1, 1, 20, 19, "S")
    c.frame(1, 1, 20, 19, "K")
    c.fill(2, 2, 19, 4, "N")
    c.fill(17, 2, 19, 4, "S")
    c.dot(18, 3, "K")
    c.fill(3, 6, 18, 15, "W")
    c.frame(3, 6, 18, 15, "G")
    for y in (8, 10, 12, 14):
        c.line(4, y, 17, y, "S")
    c.line(9, 7, 9, 14, "S")
    c.fill(4, 11, 17, 11, "B")
    c.fill(13, 17, 18, 18, "G")
    lens(c, 18, 17, 4, 3)
    return c


def lookup_fill():
    """Two records side by side, a value carried from the right one to the left."""
    c = Canvas(24, 24)
    for left in (1, 15):
        c.fill(left, 3, left + 7, 20, "W")
        c.frame(left, 3, left + 7, 20, "K")
        c.fill(left + 1, 4, left + 6, 6, "T")
        for y in (9, 12, 15, 18):
            c.line(left + 2, y, left + 5, y, "G")
    c.line(3, 12, 6, 12, "B")
    c.line(17, 12, 20, 12, "R")
    c.line(9, 12, 14, 12, "R")
    c.line(10, 11, 11, 10, "R")
    c.line(10, 13, 11, 14, "R")
    return c


def smart_lookup():
    """A database drum with a lens over it and a spark: both lookups in one."""
    c = Canvas(24, 24)
    left, right, top, bottom, ry = 2, 15, 5, 18, 2
    cx = (left + right) / 2
    rx = (right - left) / 2
    c.fill(left, top, right, bottom, "T")
    c.line(left, top, left, bottom, "K")
    c.line(right, top, right, bottom, "K")
    c.ellipse(cx, bottom, rx, ry, "T", rim="K", half="lower")
    for y in (9, 13):
        c.ellipse(cx, y, rx - 1, ry, None, rim="E", half="lower")
    c.ellipse(cx, top, rx, ry, "C", rim="K")
    lens(c, 17, 14, 4, 4)
    for d in range(3):
        c.dot(20 + d, 2 + d, "Y")
        c.dot(22 - d, 2 + d, "Y")
    c.dot(21, 1, "Y")
    c.dot(21, 5, "Y")
    return c


def main_icon():
    """The package's icon: a large lens over a record grid; corners clear."""
    c = Canvas(32, 32, ground="W")
    c.frame(2, 4, 25, 25, "K")
    c.fill(3, 5, 24, 8, "N")
    for y in range(11, 25, 3):
        c.line(3, y, 24, y, "S")
    c.line(10, 9, 10, 24, "S")
    c.fill(3, 15, 24, 16, "B")
    c.disc(20, 17, 7, "C", rim="K")
    c.disc(20, 17, 6, "W")
    c.disc(20, 17, 5, "C")
    c.dot(17, 14, "W")
    c.dot(18, 14, "W")
    c.dot(17, 15, "W")
    for i in range(7):
        c.fill(14 - i, 22 + i, 15 - i, 23 + i, "K")
    clear = [[x < 2 or x > 28 or y < 3 or y > 30 for x in range(32)] for y in range(32)]
    return c, clear


def check_mark():
    """The OK button's glyph: a green tick on an olive ground (the button
    takes the bottom left pixel's colour as transparent)."""
    c = Canvas(16, 16, ground="O")
    for dy in (0, 1, 2):
        c.line(3, 7 + dy, 6, 10 + dy, "E")
        c.line(6, 10 + dy, 12, 4 + dy, "E")
    c.line(3, 7, 6, 10, "L")
    c.line(6, 10, 12, 4, "L")
    return c


def cross():
    """The Cancel button's glyph: a red diagonal cross on an olive ground."""
    c = Canvas(16, 16, ground="O")
    for i in range(9):
        c.fill(3 + i, 3 + i, 4 + i, 4 + i, "M")
        c.fill(3 + i, 12 - i, 4 + i, 13 - i, "M")
    c.line(4, 3, 11, 10, "R")
    c.line(4, 12, 11, 5, "R")
    return c


def plus_sign():
    """The Add button's glyph: a black plus sign on grey."""
    c = Canvas(16, 16, ground="S")
    c.fill(7, 3, 8, 12, "K")
    c.fill(3, 7, 12, 8, "K")
    return c


def minus_sign():
    """The Remove button's glyph: a black minus sign on grey."""
    c = Canvas(16, 16, ground="S")
    c.fill(3, 7, 12, 8, "K")
    return c


def pack_rows(pixels, width, bits):
    """Pixel rows, bottom row first, packed and padded to 4 bytes."""
    stride = (width * bits + 31) // 32 * 4
    out = bytearray()
    for row in reversed(pixels):
        packed = bytearray(stride)
        for x, value in enumerate(row):
            bit = x * bits
            packed[bit // 8] |= value << (8 - bits - bit % 8)
        out += packed
    return bytes(out)


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 2835, 2835, 16, 0)


def bmp(canvas):
    pixels = pack_rows(canvas.pixels, canvas.width, 4)
    offset = 14 + 40 + 16 * 4
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info_header(canvas.width, canvas.height, len(pixels)) + palette_bytes() + pixels


def ico(canvas, clear):
    pixels = [[0 if clear[y][x] else v for x, v in enumerate(row)] for y, row in enumerate(canvas.pixels)]
    colour = pack_rows(pixels, canvas.width, 4)
    mask = pack_rows([[1 if t else 0 for t in row] for row in clear], canvas.width, 1)
    image = info_header(canvas.width, canvas.height * 2, len(colour) + len(mask)) + palette_bytes() + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", canvas.width, canvas.height, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def binary_property(name, data, indent):
    """A binary property of the text form format: the size in 4 bytes, then
    the data, as hex pairs over lines."""
    blob = struct.pack("<I", len(data)) + data
    hexed = blob.hex().upper()
    lines = [hexed[i:i + 64] for i in range(0, len(hexed), 64)]
    pad = " " * indent
    return f"{pad}{name} = {{\n" + "\n".join(pad + "  " + line for line in lines) + "}\n"


FONT = """  {p}.Charset = DEFAULT_CHARSET
  {p}.Color = clWindowText
  {p}.Height = -11
  {p}.Name = 'MS Sans Serif'
  {p}.Style = []
"""


def default_lookup_form():
    """The stored form of the default lookup form."""
    ok = binary_property("Glyph.Data", bmp(check_mark()), 6)
    cancel = binary_property("Glyph.Data", bmp(cross()), 6)
    return (
        "object DefaultLookupForm: TDefaultLookupForm\n"
        "  Left = 287\n"
        "  Top = 259\n"
        "  ActiveControl = lGrid\n"
        "  BorderStyle = bsDialog\n"
        "  Caption = 'LookupDialog'\n"
        "  ClientHeight = 243\n"
        "  ClientWidth = 445\n"
        "  Color = clBtnFace\n"
        + FONT.format(p="Font")
        + "  OldCreateOrder = False\n"
        "  Position = poDefaultSizeOnly\n"
        "  PixelsPerInch = 96\n"
        "  TextHeight = 13\n"
        "  object lGrid: TDBGrid\n"
        "    Left = 0\n"
        "    Top = 0\n"
        "    Width = 445\n"
        "    Height = 210\n"
        "    Align = alClient\n"
        "    Options = [dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs, "
        "dgConfirmDelete, dgCancelOnExit]\n"
        "    ReadOnly = True\n"
        "    TabOrder = 0\n"
        + FONT.format(p="  TitleFont")
        + "    OnDblClick = lGridDblClick\n"
        "  end\n"
        "  object Panel1: TPanel\n"
        "    Left = 0\n"
        "    Top = 210\n"
        "    Width = 445\n"
        "    Height = 33\n"
        "    Align = alBottom\n"
        "    Caption = ''\n"
        "    TabOrder = 1\n"
        "    object bOk: TBitBtn\n"
        "      Left = 285\n"
        "      Top = 4\n"
        "      Width = 75\n"
        "      Height = 25\n"
        "      Caption = 'OK'\n"
        "      Default = True\n"
        "      ModalResult = 1\n"
        "      TabOrder = 0\n"
        + ok
        + "    end\n"
        "    object bCancel: TBitBtn\n"
        "      Left = 365\n"
        "      Top = 4\n"
        "      Width = 75\n"
        "      Height = 25\n"
        "      Cancel = True\n"
        "      Caption = 'Cancel'\n"
        "      ModalResult = 2\n"
        "      TabOrder = 1\n"
        + cancel
        + "    end\n"
        "  end\n"
        "end\n"
    )


def key_link_dlg():
    """The stored form of the key link dialog."""

    def static_text(name, left, width, caption, tab):
        return (
            f"  object {name}: TStaticText\n"
            f"    Left = {left}\n"
            "    Top = 13\n"
            f"    Width = {width}\n"
            "    Height = 17\n"
            f"    Caption = '{caption}'\n"
            + FONT.format(p="  Font").replace("Style = []", "Style = [fsBold]")
            + "    ParentFont = False\n"
            f"    TabOrder = {tab}\n"
            "  end\n"
        )

    def list_box(name, left, width, height, tab, extra=""):
        return (
            f"  object {name}: TListBox\n"
            f"    Left = {left}\n"
            "    Top = 30\n"
            f"    Width = {width}\n"
            f"    Height = {height}\n"
            "    ItemHeight = 13\n"
            f"    TabOrder = {tab}\n"
            f"    OnClick = {name}Click\n"
            + extra
            + "  end\n"
        )

    def speed_button(name, left, caption, glyph):
        return (
            f"  object {name}: TSpeedButton\n"
            f"    Left = {left}\n"
            "    Top = 216\n"
            "    Width = 76\n"
            "    Height = 25\n"
            f"    Caption = '{caption}'\n"
            "    Enabled = False\n"
            + binary_property("Glyph.Data", bmp(glyph), 4)
            + f"    OnClick = {name}Click\n"
            "  end\n"
        )

    def bit_button(name, left, caption, settings, tab, glyph):
        return (
            f"  object {name}: TBitBtn\n"
            f"    Left = {left}\n"
            "    Top = 252\n"
            "    Width = 75\n"
            "    Height = 25\n"
            f"    Caption = '{caption}'\n"
            + settings
            + f"    TabOrder = {tab}\n"
            + binary_property("Glyph.Data", bmp(glyph), 4)
            + "  end\n"
        )

    return (
        "object KeyLinkDlg: TKeyLinkDlg\n"
        "  Left = 245\n"
        "  Top = 108\n"
        "  ActiveControl = bOK\n"
        "  BorderStyle = bsDialog\n"
        "  Caption = 'Lookup Key Connection'\n"
        "  ClientHeight = 281\n"
        "  ClientWidth = 435\n"
        "  Color = clBtnFace\n"
        + FONT.format(p="Font")
        + "  OldCreateOrder = False\n"
        "  Position = poScreenCenter\n"
        "  PixelsPerInch = 96\n"
        "  TextHeight = 13\n"
        + speed_button("bAdd", 135, "&Add", plus_sign())
        + speed_button("bRemove", 225, "&Remove", minus_sign())
        + static_text("LeftLabel", 7, 105, "Destination Fields", 0)
        + static_text("RightLabel", 305, 83, "Lookup Fields", 1)
        + static_text("MiddleLabel", 136, 74, "Connections", 2)
        + list_box("LeftListBox", 5, 126, 209, 3)
        + list_box("RightListBox", 305, 126, 211, 4)
        + list_box("MiddleListBox", 135, 166, 181, 5, "    OnExit = MiddleListBoxExit\n")
        + bit_button("bOK", 275, "OK", "    Default = True\n    ModalResult = 1\n", 6, check_mark())
        + bit_button("bCancel", 355, "Cancel", "    Cancel = True\n    ModalResult = 2\n", 7, cross())
        + "end\n"
    )


def main():
    here = pathlib.Path(__file__).resolve().parent.parent
    glyph = Canvas(8, 8)
    glyph.table(LENZ)
    (here / "LENZ.bmp").write_bytes(bmp(glyph))
    (here / "TLOOKUPDIALOG.bmp").write_bytes(bmp(lookup_dialog()))
    (here / "TLOOKUPFILL.bmp").write_bytes(bmp(lookup_fill()))
    (here / "TSMARTDBLOOKUP.bmp").write_bytes(bmp(smart_lookup()))
    (here / "MAINICON.ico").write_bytes(ico(*main_icon()))
    (here / "TDEFAULTLOOKUPFORM.form").write_text(default_lookup_form())
    (here.parent / "design" / "TKEYLINKDLG.form").write_text(key_link_dlg())


if __name__ == "__main__":
    main()
