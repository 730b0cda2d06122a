#!/usr/bin/python3
"""The web page's figures, in headless Chromium against the built folder served
on localhost: load to Exit focused, load to the largest paint, a key press to
every result written, and the bytes the page loads, gzipped. Prints medians.
Usage: bench/web_bench.py [WEB-FOLDER]   (default: build-web/web)"""

import functools
import gzip
import http.server
import os
import re
import statistics
import sys
import threading

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

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


def main():
    site = sys.argv[1] if len(sys.argv) > 1 else 'build-web/web'
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0),
                                             functools.partial(Quiet, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f'http://127.0.0.1:{server.server_address[1]}/'

    options = Options()
    options.binary_location = '/usr/bin/chromium'
    for argument in ('--headless=new', '--no-sandbox', '--disable-gpu'):
        options.add_argument(argument)
    browser = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    browser.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': PROBE})
    # Every load as a first visit: nothing from the cache.
    browser.execute_cdp_cmd('Network.enable', {})
    browser.execute_cdp_cmd('Network.setCacheDisabled', {'cacheDisabled': True})
    # Nor anything from the service worker that the page registers once it runs.
    browser.execute_cdp_cmd('Network.setBypassServiceWorker', {'bypass': True})

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
