#!/usr/bin/python3
"""The web page's figures, in headless Chromium against the built folder served
on localhost: load to Exit focused, load to the largest paint, a key press to
every result written, and the bytes the page loads, gzipped. Prints medians.
With --phone, a new user's first visit on a phone instead: 412 x 823 (touch,
mobile), 150 ms round trip, 1.6 Mbit/s down, the processor 4 times slower,
the files gzip-compressed; "1" typed into Barley as soon as it takes typing;
beside it, turn about, a page of plain text as large as the page's HTML.
Usage: bench/web_bench.py [--phone] [WEB-FOLDER]   (default: build-web/web)"""

import functools
import gzip
import http.server
import os
import re
import statistics
import sys
import threading

from selenium import webdriver
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

import lighthouse

LOADS = 21
KEYS = 101

# Runs before the page's own script: when the largest paint so far happened
# (the browser reports each larger one); when Exit takes the focus; for each typed
# key, when the browser starts to apply it, when the field holds the new text
# (the input event starts), and when the page's handling of it, every result
# written, has ended.
PROBE = '''
new PerformanceObserver(list => {
    for (const entry of list.getEntries()) window.paintedAt = entry.startTime;
}).observe({type: 'largest-contentful-paint', buffered: true});
document.addEventListener('focusin', e => {
    if (e.target.id === 'CmdExit' && window.focusedAt === undefined)
        window.focusedAt = performance.now();
}, true);
window.keyTimes = [];
let keyAt = 0, inputAt = 0;
document.addEventListener('beforeinput', () => { keyAt = performance.now(); }, true);
document.addEventListener('input', () => { inputAt = performance.now(); }, true);
window.addEventListener('input', () => {
    const end = performance.now();
    window.keyTimes.push([end - keyAt, end - inputAt]);
});
'''


class Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm'}

    def end_headers(self):
        # Cross-origin isolation gives performance.now() microseconds.
        self.send_header('Cross-Origin-Opener-Policy', 'same-origin')
        self.send_header('Cross-Origin-Embedder-Policy', 'require-corp')
        super().end_headers()

    def log_message(self, *args):
        pass


PHONE_LOADS = 7

# When Barley is on screen and takes typing, and, once "1" is typed there,
# the first frame in which the total shows it; when the program has started
# (it enables the buttons then).
PHONE_PROBE = '''
window.typableAt = null;
window.startedAt = null;
window.answeredAt = null;
new MutationObserver(() => {
    const barley = document.getElementById('Text1');
    const exit = document.getElementById('CmdExit');
    if (barley && !barley.readOnly && typableAt === null) typableAt = performance.now();
    if (exit && !exit.disabled && startedAt === null) startedAt = performance.now();
}).observe(document, {childList: true, subtree: true, attributes: true});
document.addEventListener('beforeinput', () => {
    window.typedAt = performance.now();
    (function answered() {
        if (document.getElementById('amount').value === ' 1') answeredAt = performance.now();
        else requestAnimationFrame(answered);
    })();
}, {capture: true, once: true});
'''
# Once Barley is painted and takes typing, puts the focus there with its text
# selected, as a user's tap would, and resolves: the key follows at once.
TYPABLE = '''const done = arguments[0];
(function wait() {
    if (typableAt === null || !performance.getEntriesByName('first-contentful-paint').length)
        return requestAnimationFrame(wait);
    const barley = document.getElementById('Text1');
    barley.focus();
    barley.select();
    done();
})();'''
# The key "1", straight to the browser: WebDriver's actions take a few
# hundred milliseconds on a processor this slow.
KEY = {'key': '1', 'code': 'Digit1', 'windowsVirtualKeyCode': 49}


def start(site, handler, probe, eager=False):
    """Serves the site on localhost and opens headless Chromium, every load a
    first visit: nothing from the cache, nor from the page's service worker."""
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0),
                                             functools.partial(handler, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    options = Options()
    options.binary_location = '/usr/bin/chromium'
    # Back from navigating once the HTML is parsed: the user does not wait
    # for the page's load event to tap a field.
    if eager:
        options.page_load_strategy = 'eager'
    for argument in ('--headless=new', '--no-sandbox', '--disable-gpu'):
        options.add_argument(argument)
    browser = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    browser.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': probe})
    browser.execute_cdp_cmd('Network.enable', {})
    browser.execute_cdp_cmd('Network.setCacheDisabled', {'cacheDisabled': True})
    browser.execute_cdp_cmd('Network.setBypassServiceWorker', {'bypass': True})
    return server, f'http://127.0.0.1:{server.server_address[1]}/', browser


def phone(site):
    handler = type('Handler', (lighthouse.Quiet,), {
        'compress': True,
        'plain': lighthouse.plain_page(os.path.getsize(os.path.join(site, 'index.html')))})
    server, url, browser = start(site, handler, PROBE + PHONE_PROBE, eager=True)
    # The phone Lighthouse's mobile audit stands for.
    browser.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
        'width': 412, 'height': 823, 'deviceScaleFactor': 1.75, 'mobile': True})
    browser.execute_cdp_cmd('Emulation.setTouchEmulationEnabled', {'enabled': True,
                                                                   'maxTouchPoints': 5})
    browser.execute_cdp_cmd('Emulation.setCPUThrottlingRate', {'rate': 4})
    browser.execute_cdp_cmd('Network.emulateNetworkConditions', {
        'offline': False, 'latency': 150, 'downloadThroughput': 1.6e6 / 8,
        'uploadThroughput': 750e3 / 8})

    seen = {k: [] for k in ('plain', 'paint', 'typable', 'typed', 'started', 'answered')}
    lost = 0
    for _ in range(PHONE_LOADS):
        browser.get(url + lighthouse.PLAIN[1:])
        seen['plain'].append(browser.execute_async_script(
            'setTimeout(() => arguments[0](window.paintedAt), 300)'))
        browser.get(url)
        browser.execute_async_script(TYPABLE)
        browser.execute_cdp_cmd('Input.dispatchKeyEvent', {'type': 'keyDown', 'text': '1', **KEY})
        browser.execute_cdp_cmd('Input.dispatchKeyEvent', {'type': 'keyUp', **KEY})
        try:
            WebDriverWait(browser, 20).until(
                lambda b: b.execute_script('return window.answeredAt') is not None)
        except TimeoutException:
            lost += 1
            continue
        # Barley takes typing once it is both on screen and not read-only.
        times = browser.execute_script('''return {paint: paintedAt, typable: Math.max(typableAt,
                performance.getEntriesByName('first-contentful-paint')[0].startTime),
            typed: typedAt, started: startedAt, answered: answeredAt}''')
        for k, v in times.items():
            seen[k].append(v)
    browser.quit()
    server.shutdown()

    med = {k: statistics.median(v) for k, v in seen.items() if v}
    print(f'phone, first visit, median of {PHONE_LOADS} loads, ms after navigation '
          '(x the largest paint):')
    for k, name in (('paint', 'largest contentful paint'),
                    ('typable', 'Barley takes typing'),
                    ('typed', '"1" typed into Barley'),
                    ('started', 'the program started'),
                    ('answered', 'the total shows " 1"')):
        if k in med:
            print(f'  {name}: {med[k]:.0f} ({med[k] / med["paint"]:.2f} x; '
                  f'min {min(seen[k]):.0f}, max {max(seen[k]):.0f})')
    print(f'  plain text as large as the page\'s HTML: largest paint {med["plain"]:.0f}; '
          f'the page\'s is {med["paint"] / med["plain"]:.2f} x')
    print(f'  loads in which the "1" was lost: {lost} of {PHONE_LOADS}')


def main():
    args = sys.argv[1:]
    if args and args[0] == '--phone':
        return phone(args[1] if len(args) > 1 else 'build-web/web')
    site = args[0] if args else 'build-web/web'
    server, url, browser = start(site, Quiet, PROBE)

    loads = []
    paints = []
    for _ in range(LOADS):
        browser.get(url)
        WebDriverWait(browser, 20).until(
            lambda b: b.execute_script('return window.focusedAt') is not None)
        loads.append(browser.execute_script('return window.focusedAt'))
        # A page that draws its form only once the program runs paints after
        # the focus: wait for what it draws then.
        paints.append(browser.execute_async_script(
            'setTimeout(() => arguments[0](window.paintedAt), 300)'))

    browser.find_element(By.ID, 'Text1').click()
    ActionChains(browser).key_down('\ue009').send_keys('a').key_up('\ue009').send_keys('2').perform()
    for i in range(KEYS):
        # '21', then Backspace back to '2': never all zero, so never the message.
        ActionChains(browser).send_keys('1' if i % 2 == 0 else '\ue003').perform()
    keys = browser.execute_script('return window.keyTimes')
    browser.quit()
    server.shutdown()

    # What the page loads: the files its service worker keeps, and the worker.
    with open(os.path.join(site, 'service-worker.js')) as f:
        kept = re.search(r'FILES = \[(.*?)\]', f.read()).group(1)
    loaded = re.findall(r"'([^']+)'", kept) + ['service-worker.js']
    size = sum(len(gzip.compress(open(os.path.join(site, f), 'rb').read(), 9)) for f in loaded)

    print(f'load to Exit focused: median {statistics.median(loads):.1f} ms '
          f'(min {min(loads):.1f}, max {max(loads):.1f}, {len(loads)} loads)')
    print(f'largest contentful paint: median {statistics.median(paints):.1f} ms '
          f'(min {min(paints):.1f}, max {max(paints):.1f})')
    whole = [k[0] for k in keys]
    program = [k[1] for k in keys]
    print(f'key press to every result written: median {statistics.median(whole) * 1000:.0f} us, '
          f'of which the program (text changed to every result written) '
          f'{statistics.median(program) * 1000:.0f} us ({len(keys)} keys)')
    print(f'everything the page loads: {size / 1000:.1f} kB gzipped')


if __name__ == '__main__':
    main()
