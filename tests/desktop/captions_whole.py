#!/usr/bin/python3
"""Every caption of the window is drawn whole, judged from the pixels: the
program is started on a virtual X display of its own, and the display's
frame buffer is read back. A caption drawn whole leaves the last pixel column
of its room blank, the room being its label up to any field that stands over
it, or the instructions' box. Needs only Xvfb and Python, so that it also runs
in a bare root of another Debian release. Writes the window as a PNG if asked.
  captions_whole.py --program P --layout LAYOUT.json [--png OUT.png]"""

import argparse
import collections
import json
import os
import struct
import subprocess
import sys
import tempfile
import time
import zlib

TWIPS_PER_PIXEL = 15
DESKTOP = (0x00, 0x80, 0x80)  # the instructions' box


def pixels(twips):
    return (twips + TWIPS_PER_PIXEL // 2) // TWIPS_PER_PIXEL


class Screen:
    """An XWD image of 32 bits a pixel, as Xvfb keeps its frame buffer."""

    def __init__(self, path):
        with open(path, 'rb') as f:
            data = f.read()
        head = struct.unpack('>25I', data[:100])
        size, self.width, self.height = head[0], head[4], head[5]
        little, bits, self.stride, ncolours = head[7] == 0, head[11], head[12], head[19]
        assert bits == 32, f'{bits} bits a pixel'
        self.data = data[size + 12 * ncolours:]
        self.order = (2, 1, 0) if little else (1, 2, 3)

    def __call__(self, x, y):
        at = y * self.stride + 4 * x
        return tuple(self.data[at + i] for i in self.order)

    def box(self, predicate, left, top, right, bottom):
        """The bounding box (left, top, right, bottom; exclusive) of matching pixels."""
        xs, ys = [], []
        for y in range(top, bottom):
            for x in range(left, right):
                if predicate(self(x, y)):
                    xs.append(x)
                    ys.append(y)
        return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else None

    def drawn(self):
        """The bounding box of everything that is not the black root window."""
        rows = [self.data[y * self.stride:y * self.stride + 4 * self.width]
                for y in range(self.height)]
        lit = [y for y, row in enumerate(rows) if row.strip(b'\0')]
        if not lit:
            return None
        left = min(len(rows[y]) - len(rows[y].lstrip(b'\0')) for y in lit) // 4
        right = max(len(rows[y].rstrip(b'\0')) + 3 for y in lit) // 4
        return left, lit[0], right, lit[-1] + 1

    def png(self, path, left, top, right, bottom):
        rows = b''.join(b'\0' + b''.join(bytes(self(x, y)) for x in range(left, right))
                        for y in range(top, bottom))
        chunk = lambda kind, body: (struct.pack('>I', len(body)) + kind + body +
                                    struct.pack('>I', zlib.crc32(kind + body)))
        with open(path, 'wb') as f:
            f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack(
                '>IIBBBBB', right - left, bottom - top, 8, 2, 0, 0, 0)) +
                chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b''))


def rect(controls, control):
    """Where a control stands in the client area: as the program places it,
    relative to its group box, each in whole pixels."""
    left, top = pixels(control['left']), pixels(control['top'])
    if control['parent'] >= 0:
        parent = controls[control['parent']]
        left, top = left + pixels(parent['left']), top + pixels(parent['top'])
    return left, top, left + pixels(control['width']), top + pixels(control['height'])


def label_room(controls, label):
    """A label's room ends where a field that stands over it begins."""
    left, top, right, bottom = rect(controls, label)
    for other in controls:
        if other['kind'] in ('edit', 'multiLineEdit', 'button') and other['visible']:
            l, t, r, b = rect(controls, other)
            if left < l < right and t < bottom and top < b:
                right = l
    return left, top, right, bottom


def cut_captions(screen, origin, controls):
    ox, oy = origin
    cut = []
    for control in controls:
        if control['kind'] == 'label' and control['visible']:
            left, top, right, bottom = label_room(controls, control)
            colours = collections.Counter(screen(ox + x, oy + y)
                                          for y in range(top, bottom) for x in range(left, right))
            paper = colours.most_common(1)[0][0]
            if len(colours) == 1 or any(screen(ox + right - 1, oy + y) != paper
                                        for y in range(top, bottom)):
                cut.append(control['text'])
        elif control['kind'] == 'multiLineEdit':
            left, top, right, bottom = rect(controls, control)
            box = screen.box(lambda p: p == DESKTOP, ox + left, oy + top, ox + right, oy + bottom)
            if box is None or any(screen(box[2] - 1, y) != DESKTOP for y in range(box[1], box[3])):
                cut.append(control['name'])
    return cut


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--program', required=True)
    parser.add_argument('--layout', required=True, help='what form1_layout_dump prints')
    parser.add_argument('--png')
    args = parser.parse_args()
    with open(args.layout) as f:
        table = json.load(f)
    controls = table['controls']
    size = (pixels(table['width']), pixels(table['height']))

    with tempfile.TemporaryDirectory() as home:
        # Xvfb takes the first free display and names it on the pipe.
        ready, told = os.pipe()
        server = subprocess.Popen(['Xvfb', '-displayfd', str(told), '-screen', '0', '1024x768x24',
                                   '-br', '-nocursor', '-nolisten', 'tcp', '-fbdir', home],
                                  pass_fds=(told,), stderr=subprocess.DEVNULL)
        os.close(told)
        with os.fdopen(ready) as f:
            display = ':' + f.readline().strip()
        env = {'PATH': os.environ['PATH'], 'HOME': home, 'LANG': 'C.UTF-8',
               'DISPLAY': display, 'QT_QPA_PLATFORM': 'xcb'}
        program = None
        try:
            frame = os.path.join(home, 'Xvfb_screen0')
            program = subprocess.Popen([args.program], env=env)
            # The window is up once its client area stands on the black root,
            # and drawn once two looks a moment apart agree.
            window, last = None, None
            for _ in range(60):
                time.sleep(0.5)
                screen = Screen(frame)
                box = screen.drawn()
                if box and (box[2] - box[0], box[3] - box[1]) == size:
                    if last is not None and screen.data == last:
                        window = box
                        break
                    last = screen.data
            if window is None:
                sys.exit(f'captions_whole: no window of {size[0]} x {size[1]} px appeared')
            if args.png:
                screen.png(args.png, *window)
            cut = cut_captions(screen, window[:2], controls)
        finally:
            if program:
                program.kill()
                program.wait()
            server.terminate()
            server.wait()
    shown = sum(c['kind'] in ('label', 'multiLineEdit') and c['visible'] for c in controls)
    if cut:
        sys.exit(f'captions_whole: {len(cut)} of {shown} captions are cut: ' + ', '.join(cut))
    print(f'captions_whole: all {shown} captions are whole')


main()
