#!/usr/bin/env python3
"""Draws the two help pictures from screenshots of the program's own window.

    make_pictures.py [--program EXE] [--shots DIR] [--reuse-shots] [--out DIR]

It starts the program (default build/win32/shell/Quenstrel.exe) twice, each time in a fresh
folder, under a private Xvfb and a private Wine prefix whose selection colour is Windows 10's:
once it types a record into the description box, once it selects AAA in the list. The two
client-area screenshots (format-shot.png, delete-shot.png) are kept in the --shots folder when
one is given; with --reuse-shots they are read from there and nothing is started. It then crops
them, draws the red arrows and captions, and writes format_picture.png (324 x 128) and
delete_picture.png (101 x 193) into the --out folder (default resources/).
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FONT = '/usr/share/fonts/truetype/wqy/wqy-microhei.ttc'
RED = (251, 56, 56, 255)
# Windows 10's selection colour; Wine's own default is lighter.
SELECTION = '0 120 215'
RECORD = 'MOV     传送字或字节.'

# Client-area places of the main window's layout.
DESCRIPTION_BOX = (151, 103)  # 分组框3 at 144,87 + 编辑框_功能 at 7,16
LIST_GROUP = (8, 16)          # 分组框1
LIST = (16, 32)               # 分组框1 + 列表框1 at 8,16
LIST_SIZE = (104, 224)
FORMAT_SIZE = (324, 128)
DELETE_SIZE = (101, 193)
DELETE_TOP = 9      # client row the delete picture starts at, a little above the group caption
ITEM_PITCH = 13     # the delete picture's item spacing, as the default font of a Chinese system gives it


def run(args, env, **kw):
    return subprocess.run(args, env=env, check=True, capture_output=True, text=True,
                          errors='replace', **kw).stdout


class Session:
    """A private Xvfb and a private Wine prefix, ended with the session."""

    def __init__(self, work):
        self.env = dict(os.environ)
        self.env['WINEPREFIX'] = os.path.join(work, 'prefix')
        self.xvfb = None
        for n in range(150, 200):
            if os.path.exists(f'/tmp/.X{n}-lock'):
                continue
            self.xvfb = subprocess.Popen(['Xvfb', f':{n}', '-screen', '0', '1280x1024x24',
                                          '-nolisten', 'tcp'],
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.env['DISPLAY'] = f':{n}'
            break
        if not self.xvfb:
            sys.exit('make_pictures: no free X display')
        for _ in range(100):
            if subprocess.run(['xdpyinfo'], env=self.env, capture_output=True).returncode == 0:
                break
            time.sleep(0.1)

    def prepare(self):
        wine_run = os.path.join(ROOT, 'tools', 'wine-run.sh')
        run([wine_run, 'reg', 'add', r'HKCU\Control Panel\Colors', '/v', 'Hilight', '/t',
             'REG_SZ', '/d', SELECTION, '/f'], self.env)

    def close(self):
        subprocess.run(['wineserver', '-k'], env=self.env, capture_output=True)
        self.xvfb.terminate()
        self.xvfb.wait()


def shoot(session, program, act, out):
    """Starts the program in a fresh folder, lets `act` work on its window, saves the shot."""
    folder = tempfile.mkdtemp(prefix='quenstrel-pictures-')
    shutil.copy(program, os.path.join(folder, 'Quenstrel.exe'))
    wine_run = os.path.join(ROOT, 'tools', 'wine-run.sh')
    app = subprocess.Popen([wine_run, os.path.join(folder, 'Quenstrel.exe')], env=session.env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        window = ''
        for _ in range(300):
            window = subprocess.run(['xdotool', 'search', '--onlyvisible', '--name', '^Quenstrel'],
                                    env=session.env, capture_output=True,
                                    text=True).stdout.split()
            if window:
                window = window[0]
                break
            time.sleep(0.1)
        if not window:
            sys.exit('make_pictures: the window did not appear')
        time.sleep(1.0)
        subprocess.run(['xdotool', 'windowfocus', window], env=session.env, capture_output=True)
        geometry = dict(line.split('=') for line in
                        run(['xdotool', 'getwindowgeometry', '--shell', window],
                            session.env).split())
        act(session, window, int(geometry['X']), int(geometry['Y']), out)
    finally:
        app.kill()
        app.wait()
        shutil.rmtree(folder, ignore_errors=True)


def grab(session, window, out):
    run(['import', '-window', window, out], session.env)
    return Image.open(out).convert('RGB')


def type_record(session, window, x, y, out):
    box_x, box_y = DESCRIPTION_BOX
    run(['xdotool', 'mousemove', str(x + box_x + 100), str(y + box_y + 60), 'click', '1'],
        session.env)
    time.sleep(0.3)
    run(['xdotool', 'type', '--delay', '50', RECORD], session.env)
    time.sleep(0.5)
    # The caret blinks: keep the first shot that has it.
    for _ in range(40):
        shot = grab(session, window, out)
        line = shot.crop((box_x, box_y, box_x + FORMAT_SIZE[0], box_y + 20))
        if (0, 0, 0) in line.getdata():
            return
        time.sleep(0.1)
    sys.exit('make_pictures: no caret in the description box')


def select_first_item(session, window, x, y, out):
    run(['xdotool', 'mousemove', str(x + LIST[0] + 20), str(y + LIST[1] + 8), 'click', '1'],
        session.env)
    time.sleep(0.3)
    run(['xdotool', 'mousemove', str(x + 500), str(y + 300)], session.env)
    time.sleep(0.5)
    grab(session, window, out)


def font(size=14):
    return ImageFont.truetype(FONT, size)


def arrow(draw, tail, head, width=2, length=8, half=4):
    """A line from tail to head with a filled head at `head`."""
    (tx, ty), (hx, hy) = tail, head
    dx, dy = hx - tx, hy - ty
    norm = (dx * dx + dy * dy) ** 0.5
    ux, uy = dx / norm, dy / norm
    bx, by = hx - ux * length, hy - uy * length
    draw.line((tx, ty, bx, by), fill=RED, width=width)
    draw.polygon([(hx, hy), (bx - uy * half, by + ux * half), (bx + uy * half, by - ux * half)],
                 fill=RED)


def caption(draw, place, text, anchor='la'):
    draw.text(place, text, font=font(), fill=RED, anchor=anchor)


def text_runs(image, rows):
    """Column runs (left, right) that hold the description box's blue text in `rows`."""
    columns = []
    for x in range(image.width):
        if any(b > r + 40 for r, g, b in (image.getpixel((x, y)) for y in rows)):
            columns.append(x)
    runs = []
    for x in columns:
        if runs and x - runs[-1][1] <= 6:
            runs[-1][1] = x
        else:
            runs.append([x, x])
    return runs


def format_picture(shot):
    box_x, box_y = DESCRIPTION_BOX
    image = shot.crop((box_x, box_y, box_x + FORMAT_SIZE[0], box_y + FORMAT_SIZE[1]))
    line_rows = range(1, 19)
    # The scroll bar's sliver is at the right edge; the text lies left of it.
    runs = [r for r in text_runs(image, line_rows) if r[1] < FORMAT_SIZE[0] - 8]
    mov, description = runs[0], runs[1]
    caret = max(x for x in range(FORMAT_SIZE[0]) for y in line_rows
                if image.getpixel((x, y)) == (0, 0, 0))
    text_rows = [y for y in line_rows
                 if any(image.getpixel((x, y))[2] > image.getpixel((x, y))[0] + 40
                        for x in range(mov[0], description[1] + 1))]
    top, bottom = text_rows[0], text_rows[-1]
    middle = (top + bottom) // 2

    image = image.convert('RGBA')
    draw = ImageDraw.Draw(image)
    # The gap of spaces between the mnemonic and its description.
    gap = (mov[1] + 2, max(top - 2, 1), description[0] - 2, bottom + 2)  # below the frame line
    draw.rectangle(gap, outline=RED, width=1)
    # 指令: a short arrow up at MOV.
    mov_centre = (mov[0] + mov[1]) // 2
    arrow(draw, (mov_centre, bottom + 30), (mov_centre, bottom + 5))
    caption(draw, (2, bottom + 33), '指令')
    # 空格: a longer one up-left at the gap.
    tail = ((gap[0] + gap[2]) // 2 + 40, bottom + 52)
    arrow(draw, tail, ((gap[0] + gap[2]) // 2 + 3, gap[3] + 3))
    caption(draw, (tail[0], tail[1] + 3), '空格', anchor='ma')
    # 指令说明: from the right, at the end of the description beside the caret.
    tail = (caret + 62, middle)
    arrow(draw, tail, (caret + 5, middle))
    place = (tail[0] + 4, middle)
    while draw.textbbox(place, '指令说明', font=font(), anchor='lm')[1] < 2:  # clear of the frame
        place = (place[0], place[1] + 1)
    caption(draw, place, '指令说明', anchor='lm')
    return image


def repitched_list(shot, pitch):
    """The shot's list with its items moved to ITEM_PITCH rows apart, the rest as it is.

    Under Wine the font makes the items taller; dropping blank rows of each item (never its
    text or the selected item's focus frame) gives the spacing the picture is drawn for.
    """
    left, top = LIST_GROUP[0], DELETE_TOP
    width, height = DELETE_SIZE
    image = shot.crop((left, top, left + width, top + height))
    # The items' columns: as far as the selection bar reaches, left of the scroll bar.
    inner_left, row = LIST[0] + 1, LIST[1] + 5
    bar = shot.getpixel((LIST[0] + 70, row))
    inner_right = max(x for x in range(LIST[0], LIST[0] + LIST_SIZE[0])
                      if shot.getpixel((x, row)) == bar) + 2
    first = LIST[1] + 1
    # Rows kept of each item: its first (focus frame), its last, and the text between.
    dropped = set()
    for i in range(pitch - ITEM_PITCH):
        dropped.add(1 + i // 2 if i % 2 == 0 else pitch - 2 - i // 2)
    kept = [r for r in range(pitch) if r not in dropped]
    for y in range(first - top, height):
        item, row = divmod(y - (first - top), ITEM_PITCH)
        source_y = first + item * pitch + kept[row]
        strip = shot.crop((inner_left, source_y, inner_right, source_y + 1))
        image.paste(strip, (inner_left - left, y))
    return image


def item_pitch(shot):
    """The height of the selected item: its bar runs down a column right of its text."""
    x, y = LIST[0] + 70, LIST[1] + 1
    while shot.getpixel((x, y)) != (255, 255, 255):
        y += 1
    return y - (LIST[1] + 1)


def delete_picture(shot):
    pitch = item_pitch(shot)
    if pitch < ITEM_PITCH:
        sys.exit(f'make_pictures: list items are {pitch} pixels apart, fewer than {ITEM_PITCH}')
    image = repitched_list(shot, pitch).convert('RGBA')
    draw = ImageDraw.Draw(image)
    first_item = LIST[1] + 1 - DELETE_TOP
    # Up-left at the selected item, then down to the caption, right of the items' text.
    arrow(draw, (66, first_item + 42), (38, first_item + ITEM_PITCH - 2))
    arrow(draw, (70, first_item + 48), (70, first_item + 85))
    caption(draw, (50, first_item + 88), '删除选')
    caption(draw, (50, first_item + 104), '中')
    return image


def save(image, path):
    image.save(path, format='PNG', optimize=True)
    print(f'{path}: {image.width} x {image.height}, {os.path.getsize(path)} bytes')


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--program', default=os.path.join(ROOT, 'build/win32/shell/Quenstrel.exe'))
    parser.add_argument('--shots')
    parser.add_argument('--reuse-shots', action='store_true')
    parser.add_argument('--out', default=os.path.join(ROOT, 'resources'))
    args = parser.parse_args()
    if args.reuse_shots and not args.shots:
        sys.exit('make_pictures: --reuse-shots needs --shots DIR')

    work = tempfile.mkdtemp(prefix='quenstrel-pictures-')
    try:
        shots = args.shots or work
        os.makedirs(shots, exist_ok=True)
        os.makedirs(args.out, exist_ok=True)
        format_shot = os.path.join(shots, 'format-shot.png')
        delete_shot = os.path.join(shots, 'delete-shot.png')
        if not args.reuse_shots:
            session = Session(work)
            try:
                session.prepare()
                shoot(session, args.program, type_record, format_shot)
                shoot(session, args.program, select_first_item, delete_shot)
            finally:
                session.close()
        save(format_picture(Image.open(format_shot).convert('RGB')),
             os.path.join(args.out, 'format_picture.png'))
        save(delete_picture(Image.open(delete_shot).convert('RGB')),
             os.path.join(args.out, 'delete_picture.png'))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    main()
