#!/usr/bin/env python3
"""Writes the built-in skin file (format: skin/README.md).

    gen_skin.py OUT           writes the file
    gen_skin.py --check FILE  exits 1 unless FILE is exactly what this script writes
"""
import math
import struct
import sys
import zlib

FILE_SIZE = 20275  # the size the program hands to the skin library
VERSION = 1
HEADER_SIZE = 32
ENTRY_SIZE = 16

KINDS = ['window', 'caption', 'groupbox', 'label', 'edit', 'listbox', 'button', 'scrollbar']
STATES = ['normal', 'hot', 'pressed', 'disabled', 'focused']
ROLES = ['face', 'text', 'border', 'highlight', 'shadow', 'top', 'bottom']


def rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


# (kind, state, role) -> colour of a slate-blue theme.
COLOURS = {
    ('window', 'normal', 'face'): '#e8edf2',
    ('window', 'normal', 'text'): '#1f2a36',
    ('window', 'normal', 'border'): '#51657a',
    ('caption', 'normal', 'top'): '#5b7690',
    ('caption', 'normal', 'bottom'): '#3f566d',
    ('caption', 'normal', 'text'): '#ffffff',
    ('caption', 'disabled', 'top'): '#9aa9b8',
    ('caption', 'disabled', 'bottom'): '#8494a4',
    ('caption', 'disabled', 'text'): '#e4e9ee',
    ('groupbox', 'normal', 'border'): '#a3b2c1',
    ('groupbox', 'normal', 'text'): '#2c4a6b',
    ('label', 'normal', 'text'): '#1f2a36',
    ('label', 'disabled', 'text'): '#8896a4',
    ('edit', 'normal', 'face'): '#ffffff',
    ('edit', 'normal', 'text'): '#111a24',
    ('edit', 'normal', 'border'): '#8ea0b2',
    ('edit', 'focused', 'border'): '#3d7ab8',
    ('edit', 'disabled', 'face'): '#eef1f4',
    ('edit', 'normal', 'highlight'): '#3d7ab8',
    ('listbox', 'normal', 'face'): '#ffffff',
    ('listbox', 'normal', 'text'): '#111a24',
    ('listbox', 'normal', 'border'): '#8ea0b2',
    ('listbox', 'focused', 'face'): '#3d7ab8',
    ('listbox', 'focused', 'text'): '#ffffff',
    ('button', 'normal', 'top'): '#f7f9fb',
    ('button', 'normal', 'bottom'): '#d9e1e8',
    ('button', 'hot', 'top'): '#ffffff',
    ('button', 'hot', 'bottom'): '#e3ecf5',
    ('button', 'pressed', 'top'): '#c9d4df',
    ('button', 'pressed', 'bottom'): '#dbe3ea',
    ('button', 'disabled', 'top'): '#eef1f4',
    ('button', 'disabled', 'bottom'): '#e6eaee',
    ('button', 'focused', 'top'): '#f7f9fb',
    ('button', 'focused', 'bottom'): '#d9e1e8',
    ('button', 'normal', 'border'): '#7d8fa1',
    ('button', 'focused', 'border'): '#3d7ab8',
    ('button', 'normal', 'text'): '#1f2a36',
    ('button', 'disabled', 'text'): '#9aa6b2',
    ('button', 'normal', 'shadow'): '#b4c0cc',
    ('scrollbar', 'normal', 'face'): '#e1e7ed',
    ('scrollbar', 'normal', 'top'): '#c3ced9',
    ('scrollbar', 'normal', 'bottom'): '#aebccb',
    ('scrollbar', 'hot', 'top'): '#a9b9c9',
    ('scrollbar', 'hot', 'bottom'): '#95a8bb',
    ('scrollbar', 'pressed', 'top'): '#8399af',
    ('scrollbar', 'pressed', 'bottom'): '#70879e',
}

# kind -> (height in pixels, weight, italic, face name); charset 134 is GB2312.
FONTS = {
    'window': (12, 400, 0, '宋体'),
    'caption': (12, 700, 0, '宋体'),
    'groupbox': (12, 400, 0, '宋体'),
    'label': (12, 400, 0, '宋体'),
    'edit': (12, 400, 0, '宋体'),
    'listbox': (12, 400, 0, '宋体'),
    'button': (12, 400, 0, '宋体'),
}
FONT_CHARSET = 134
FACE_BYTES = 32

METRICS = ['border', 'radius', 'padx', 'pady', 'thickness', 'caption', 'focusinset']
# kind -> metric -> pixels
METRIC_VALUES = {
    'window': {'border': 1, 'caption': 24},
    'groupbox': {'border': 1, 'radius': 4, 'padx': 6},
    'edit': {'border': 1, 'radius': 2, 'padx': 2, 'pady': 1},
    'listbox': {'border': 1, 'radius': 2},
    'button': {'border': 1, 'radius': 3, 'padx': 8, 'pady': 3, 'focusinset': 3},
    'scrollbar': {'thickness': 15, 'radius': 3},
}

MASK_RADII = [2, 3, 4, 6, 8]
RAMP_STATES = ['normal', 'hot', 'pressed', 'disabled', 'focused']


def info_section():
    pairs = [('name', '青灰'), ('format', str(VERSION)), ('theme', 'slate'),
             ('note', '按钮、编辑框、列表框与分组框的配色、字体和尺寸')]
    return b''.join(f'{k}={v}'.encode('gbk') + b'\0' for k, v in pairs), len(pairs)


def colour_section():
    out = b''
    for (kind, state, role), text in COLOURS.items():
        r, g, b = rgb(text)
        out += struct.pack('<BBBxBBBB', KINDS.index(kind), STATES.index(state),
                           ROLES.index(role), r, g, b, 255)
    return out, len(COLOURS)


def font_section():
    out = b''
    for kind, (height, weight, italic, face) in FONTS.items():
        name = face.encode('gbk').ljust(FACE_BYTES, b'\0')
        out += struct.pack('<BxhHBB', KINDS.index(kind), -height, weight, italic, FONT_CHARSET)
        out += name
    return out, len(FONTS)


def metric_section():
    out = b''
    count = 0
    for kind, values in METRIC_VALUES.items():
        for metric, value in values.items():
            out += struct.pack('<BBh', KINDS.index(kind), METRICS.index(metric), value)
            count += 1
    return out, count


def corner_mask(radius):
    """Coverage of a top-left rounded corner, 4x4 samples per pixel."""
    rows = []
    for y in range(radius):
        for x in range(radius):
            inside = 0
            for sy in range(4):
                for sx in range(4):
                    dx = radius - (x + (sx + 0.5) / 4)
                    dy = radius - (y + (sy + 0.5) / 4)
                    inside += math.hypot(dx, dy) <= radius
            rows.append(round(inside * 255 / 16))
    return bytes(rows)


def mask_section():
    out = b''
    for radius in MASK_RADII:
        out += struct.pack('<BBxx', radius, radius) + corner_mask(radius)
        out += b'\0' * (-len(out) % 4)
    return out, len(MASK_RADII)


def ramp_section():
    """Button faces: 64 colours from top to bottom, eased, per state."""
    out = b''
    for state in RAMP_STATES:
        top = rgb(COLOURS[('button', state, 'top')])
        bottom = rgb(COLOURS[('button', state, 'bottom')])
        out += struct.pack('<BBxx', STATES.index(state), 64)
        for i in range(64):
            t = (1 - math.cos(math.pi * i / 63)) / 2
            out += bytes(round(a + (b - a) * t) for a, b in zip(top, bottom))
    return out, len(RAMP_STATES)


def build():
    sections = [(b'INFO', *info_section()), (b'COLR', *colour_section()),
                (b'FONT', *font_section()), (b'METR', *metric_section()),
                (b'MASK', *mask_section()), (b'RAMP', *ramp_section())]
    count = len(sections) + 1  # and the reserve that fills the file to its size
    offset = HEADER_SIZE + ENTRY_SIZE * count
    table = b''
    body = b''
    for tag, data, items in sections:
        data += b'\0' * (-len(data) % 4)
        table += struct.pack('<4sIII', tag, offset + len(body), len(data), items)
        body += data
    reserve = FILE_SIZE - offset - len(body)
    assert reserve >= 0, 'the sections outgrew the file'
    table += struct.pack('<4sIII', b'RSRV', offset + len(body), reserve, 0)
    body += b'\0' * reserve
    header = struct.pack('<4sHHIHHII8x', b'.SHE', VERSION, HEADER_SIZE, FILE_SIZE, count,
                         ENTRY_SIZE, HEADER_SIZE, 0)
    data = bytearray(header + table + body)
    struct.pack_into('<I', data, 20, zlib.crc32(bytes(data)))
    assert len(data) == FILE_SIZE
    return bytes(data)


def main(argv):
    data = build()
    if len(argv) == 3 and argv[1] == '--check':
        with open(argv[2], 'rb') as f:
            same = f.read() == data
        if not same:
            print(f'{argv[2]} differs from what {argv[0]} writes', file=sys.stderr)
        return 0 if same else 1
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    with open(argv[1], 'wb') as f:
        f.write(data)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
