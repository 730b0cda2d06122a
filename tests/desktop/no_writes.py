#!/usr/bin/python3
"""The Linux program writes nothing, opens no network socket and starts no
other program. On the display and session bus this process was given, with
an empty home, it runs under strace while a user types an amount into
Barley's field, clicks Clear, dismisses the message and clicks Exit. Any file
opened for writing, made, moved or removed outside /dev, /proc, /sys and /tmp
(the home counts as outside, though it lives in /tmp) fails, as does any
socket other than a local or netlink one."""

import argparse
import glob
import os
import re
import subprocess
import sys
import tempfile
import time

from form1dump import Layout, anchored

TRACED = ('execve,execveat,open,openat,openat2,creat,truncate,mkdir,mkdirat,rename,renameat,'
          'renameat2,unlink,unlinkat,rmdir,link,linkat,symlink,symlinkat,socket,connect,bind')
NAMING = {'creat', 'truncate', 'mkdir', 'mkdirat', 'rename', 'renameat', 'renameat2', 'unlink',
          'unlinkat', 'rmdir', 'link', 'linkat', 'symlink', 'symlinkat'}
WRITE_FLAGS = re.compile(r'O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND|O_TMPFILE')
QUOTED = re.compile(r'"((?:[^"\\]|\\.)*)"')
CRASH = re.compile(r'--- SIG(SEGV|ABRT|BUS|FPE|ILL)|\+\+\+ killed by')


def fail(message):
    sys.exit(f'no_writes: {message}')


def xdotool(*args, timeout=30):
    return subprocess.run(['xdotool', *args], check=True, capture_output=True, text=True,
                          timeout=timeout).stdout


def find_window(name, seconds):
    try:
        return xdotool('search', '--sync', '--onlyvisible', '--name', anchored(name),
                       timeout=seconds).split()[0]
    except (subprocess.TimeoutExpired, subprocess.CalledProcessError):
        return None


def shown(name):
    return subprocess.run(['xdotool', 'search', '--onlyvisible', '--name', anchored(name)],
                          capture_output=True).returncode == 0


def geometry(window):
    values = dict(line.split('=', 1) for line in xdotool('getwindowgeometry', '--shell',
                                                          window).split())
    return int(values['X']), int(values['Y']), int(values['WIDTH']), int(values['HEIGHT'])


def trace_findings(lines, home, program):
    """The calls that wrote, connected or started another program."""
    def allowed(path):
        if path == home or path.startswith(home + '/'):
            return False
        return re.match(r'/(dev|proc|sys|tmp)(/|$)', path) is not None

    def paths_allowed(line):
        return all(allowed(p) for p in QUOTED.findall(line))

    for line in lines:
        call = line.split('(', 1)[0]
        # A call that found its name already there changed nothing.
        if '= -1 EEXIST' in line:
            continue
        if call in ('execve', 'execveat'):
            # env is how the program was started.
            bad = f'"{program}"' not in line and not line.startswith('execve("/usr/bin/env"')
        elif call in ('open', 'openat', 'openat2'):
            bad = WRITE_FLAGS.search(line) and not paths_allowed(line)
        elif call in NAMING:
            bad = not paths_allowed(line)
        elif call == 'socket':
            bad = not re.search(r'AF_UNIX|AF_LOCAL|AF_NETLINK', line)
        elif call in ('connect', 'bind'):
            bad = 'AF_INET' in line
        else:
            bad = False
        if bad:
            yield line


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--program', required=True)
    parser.add_argument('--layout', required=True, help='the control table dump program')
    args = parser.parse_args()
    layout = Layout(args.layout)
    program = os.path.realpath(args.program)

    work = tempfile.mkdtemp(prefix='grainmix-nowrite.')
    home = os.path.join(work, 'home')
    xdg = {'XDG_CONFIG_HOME': '.config', 'XDG_CACHE_HOME': '.cache',
           'XDG_DATA_HOME': '.local/share', 'XDG_STATE_HOME': '.local/state',
           'XDG_RUNTIME_DIR': 'run'}
    for folder in xdg.values():
        os.makedirs(os.path.join(home, folder), mode=0o700)
    # Nothing of the caller's session leaks in: an empty home, its XDG
    # folders inside it, and only the display and the bus made for this test.
    environment = [f'{k}={os.path.join(home, v)}' for k, v in xdg.items()] + [
        'PATH=/usr/bin:/bin', 'LANG=C.UTF-8', f'HOME={home}', f'DISPLAY={os.environ["DISPLAY"]}',
        f'XAUTHORITY={os.environ.get("XAUTHORITY", "")}',
        f'DBUS_SESSION_BUS_ADDRESS={os.environ["DBUS_SESSION_BUS_ADDRESS"]}']
    traced = subprocess.Popen(['strace', '-f', '-ff', '-qq', '-y', '-o', f'{work}/trace',
                               '-e', f'trace={TRACED}', 'env', '-i', *environment, program])

    window = find_window(layout.caption, 30)
    if window is None:
        traced.kill()
        fail('the window did not open')
    x, y, width, height = geometry(window)
    print(f'window {window} at {x},{y}, {width}x{height} (no window manager, no frame)')
    if (width, height) != layout.size:
        fail(f'the window is {width}x{height}, not {layout.size[0]}x{layout.size[1]}')

    def click(name):
        left, top, _, _ = layout.rect(name)
        xdotool('mousemove', '--sync', str(x + left + 6), str(y + top + 6), 'click', '1')

    # Where the five results stand: typing must change what is drawn there.
    left, top, w, h = layout.rect(layout.parent('protein')['name'])

    def grab_figures(path):
        subprocess.run(['import', '-window', 'root', '-crop', f'{w}x{h}+{x + left}+{y + top}',
                        '+repage', path], check=True)

    grab_figures(f'{work}/before.png')
    click(layout.field_named('Barley'))
    xdotool('key', '--clearmodifiers', 'ctrl+a')
    xdotool('type', '--delay', '80', '10')
    time.sleep(0.5)
    grab_figures(f'{work}/after.png')
    compared = subprocess.run(['compare', '-metric', 'AE', f'{work}/before.png',
                               f'{work}/after.png', 'null:'], capture_output=True, text=True)
    if compared.stderr.split()[:1] == ['0']:
        fail('typing 10 into Barley changed no figure on screen')

    # Clear shows the message only when some amount was not 0: its box
    # proves that the typing arrived.
    click('Command1')
    box = find_window(layout.title, 10)
    if box is None:
        fail('Clear showed no message, so the typed amount never arrived')
    xdotool('windowfocus', '--sync', box, 'key', 'Return')
    for _ in range(50):
        if not shown(layout.title):
            break
        time.sleep(0.1)
    else:
        fail('Return left the message up')

    click('CmdExit')
    try:
        status = traced.wait(10)
    except subprocess.TimeoutExpired:
        traced.kill()
        fail('Exit did not end the program')
    if status != 0:
        fail(f'the program ended with status {status}')

    lines = []
    for part in sorted(glob.glob(f'{work}/trace.*')):
        with open(part, encoding='utf-8', errors='replace') as f:
            lines += f.read().splitlines()
    if any(CRASH.search(line) for line in lines):
        fail('the program crashed')
    findings = list(trace_findings(lines, home, program))
    left_behind = [os.path.join(d, f) for d, _, files in os.walk(home) for f in files]
    if findings or left_behind:
        fail('wrote, connected or started another program (trace: '
             f'{work}/trace.*):\n' + '\n'.join(findings + left_behind))
    print('no file written, no network socket opened, no other program started; exit status 0')


if __name__ == '__main__':
    main()
