#!/usr/bin/python3
"""The web page in Chromium, WebKit or Firefox (--engine): the built folder
served on localhost, driven with real keys and clicks, checked against the
window's own table."""

import argparse
import contextlib
import functools
import glob
import html.parser
import http.server
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import unittest
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait
from selenium.webdriver.webkitgtk.options import Options as WebKitOptions

import bidi

TWIPS_PER_PIXEL = 15
ARGS = None
# Barley 10, worked out by hand: its figures, by field, and the sentence said.
with open(os.path.join(os.path.dirname(__file__), '..', 'barleyten.json')) as f:
    BARLEY_TEN = json.load(f)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm'}

    def log_message(self, *args):
        pass


class UncachedHandler(QuietHandler):
    """Lets the browser keep nothing in its HTTP cache: what a page loads
    without a server comes from its service worker alone."""

    def end_headers(self):
        self.send_header('Cache-Control', 'no-store')
        super().end_headers()


def start_server(site, handler_class=QuietHandler):
    handler = functools.partial(handler_class, directory=site)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def stop_server(server):
    server.shutdown()
    server.server_close()  # refuses connections from now on


CANNOT_START = ('Grain Mix could not start in this browser. '
                'Reload the page; if that does not help, try another browser.')


class SentElements(html.parser.HTMLParser):
    """Every element with an id in a page's HTML: its attributes, the id of
    the nearest enclosing element that has one, and its text."""

    VOID = {'input', 'meta', 'link', 'br', 'img'}

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.elements = {}
        self.open = []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        ids = [e for e in self.open if e]
        if 'id' in attrs:
            self.elements[attrs['id']] = {'tag': tag, 'attrs': attrs, 'text': '',
                                          'parent': ids[-1] if ids else None}
        if tag not in self.VOID:
            self.open.append(attrs.get('id'))

    def handle_endtag(self, tag):
        if tag not in self.VOID:
            self.open.pop()

    def handle_data(self, data):
        if self.open and self.open[-1]:
            self.elements[self.open[-1]]['text'] += data


def open_page(browser, url):
    browser.get(url)
    WebDriverWait(browser, 20).until(
        lambda b: b.execute_script('return document.activeElement.id') == 'CmdExit')
    browser.execute_async_script('document.fonts.ready.then(arguments[0])')


def open_under_worker(browser, url):
    """Opens the page and waits until its service worker serves it."""
    open_page(browser, url)
    WebDriverWait(browser, 20).until(
        lambda b: b.execute_script('return !!navigator.serviceWorker.controller'))


# What an engine's driver cannot do: the tests that need it are skipped, and
# say why.
LACKS = {
    'chromium': {},
    'webkit': {
        'touch': 'WebKitGTK has no touch emulation',
        'media': 'WebKitWebDriver emulates no colour scheme or forced colours',
        'devtools': "the accessibility tree is read through Chromium's DevTools",
        'preload': "WebKitWebDriver runs no script before the page's own",
        'console': 'WebKitWebDriver keeps no console log',
        'held': 'WebKitWebDriver may wait, before its next command, for a page whose '
                'program is held back to finish loading',
    },
    'firefox': {
        'touch': "Firefox's WebDriver BiDi has no touch emulation",
        'media': "Firefox's WebDriver BiDi emulates no colour scheme or forced colours",
        'devtools': "the accessibility tree is read through Chromium's DevTools",
    },
}
# MiniBrowser's window is no narrower than its toolbar.
NARROWEST = {'webkit': 447}


def need(test, what):
    reason = LACKS[ARGS.engine].get(what)
    if reason:
        test.skipTest(f'{ARGS.engine}: {reason}')


def start_browser(scale, page_load='normal'):
    """page_load 'eager': navigating returns once the HTML is parsed, without
    waiting for what the page loads after it."""
    if ARGS.engine == 'firefox':
        browser = bidi.Firefox('/usr/bin/firefox-esr', 1000, 800, scale)
        browser.page_load = page_load
        return browser
    if ARGS.engine == 'webkit':
        options = WebKitOptions()
        options.page_load_strategy = page_load
        options.binary_location = glob.glob('/usr/lib/*/webkit2gtk-4.*/MiniBrowser')[0]
        options.add_argument('--automation')
        os.environ['GDK_SCALE'] = str(scale)  # MiniBrowser's device pixels to a CSS pixel
        browser = webdriver.WebKitGTK(options=options)
        browser.set_window_size(1000, 800)
        browser.toolbar = 800 - browser.execute_script('return innerHeight')
        return browser
    options = Options()
    options.page_load_strategy = page_load
    options.binary_location = '/usr/bin/chromium'
    for argument in ('--headless=new', '--no-sandbox', '--disable-gpu',
                     '--window-size=1000,800', f'--force-device-scale-factor={scale}'):
        options.add_argument(argument)
    options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)


def set_viewport(browser, width, height):
    """Gives the page a viewport of this size, or the nearest the engine can
    show; returns the size it got."""
    if ARGS.engine == 'firefox':
        browser.set_window_size(width, height)
        return [width, height]
    size = [max(width, NARROWEST['webkit']), height]
    browser.set_window_size(size[0], height + browser.toolbar)
    WebDriverWait(browser, 5).until(
        lambda b: b.execute_script('return [innerWidth, innerHeight]') == size)
    return size


@contextlib.contextmanager
def before_each_page(test, browser, source):
    """Runs a script in every page the browser opens, before the page's own."""
    need(test, 'preload')
    if ARGS.engine == 'firefox':
        script = browser.add_preload_script(source)
        try:
            yield
        finally:
            browser.remove_preload_script(script)
        return
    script = browser.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': source})
    try:
        yield
    finally:
        browser.execute_cdp_cmd('Page.removeScriptToEvaluateOnNewDocument', script)


def read_layout():
    dump = subprocess.run(['/usr/bin/node', '--no-experimental-fetch', ARGS.layout],
                          check=True, capture_output=True, text=True).stdout
    return json.loads(dump)


class InBrowser(unittest.TestCase):
    """The built site served on localhost, one browser for the class."""

    @classmethod
    def setUpClass(cls):
        cls.server = start_server(ARGS.site)
        cls.url = f'http://127.0.0.1:{cls.server.server_address[1]}/'
        cls.browser = start_browser(1)

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        cls.server.shutdown()


class Page(InBrowser):
    @classmethod
    def setUpClass(cls):
        cls.layout = read_layout()
        cls.controls = cls.layout['controls']
        super().setUpClass()
        # Installed on a page that stays: WebKit leaves pending for good an
        # install that the next page cut short.
        open_under_worker(cls.browser, cls.url)

    def setUp(self):
        open_page(self.browser, self.url)

    def js(self, script, *args):
        return self.browser.execute_script(script, *args)

    def texts(self, names):
        return self.js('return arguments[0].map(n => document.getElementById(n).value)', names)

    def keys(self, *keys):
        ActionChains(self.browser).send_keys(*keys).perform()

    def chord(self, modifier, key):
        ActionChains(self.browser).key_down(modifier).send_keys(key).key_up(modifier).perform()

    def dialog(self):
        return self.js('''const d = document.querySelector('dialog');
            return d && d.open ? {title: d.querySelector('h2').textContent,
                                  text: d.querySelector('p').textContent,
                                  buttons: [...d.querySelectorAll('button')].map(b => b.textContent),
                                  icons: d.querySelectorAll('img, svg').length} : null''')

    def focusChain(self):
        chain = sorted((c for c in self.controls if c['focusOrder'] >= 0),
                       key=lambda c: c['focusOrder'])
        return [c['name'] for c in chain]

    def test_every_control_at_its_place_and_size(self):
        rects = self.js('''const form = document.getElementById('Form1').getBoundingClientRect();
            const out = {form: [form.width, form.height]};
            for (const e of document.querySelectorAll('#Form1 [id]')) {
                const r = e.getBoundingClientRect();
                out[e.id] = [r.left - form.left, r.top - form.top, r.width, r.height, e.hidden];
            }
            return out;''')
        px = lambda twips: round(twips / TWIPS_PER_PIXEL)
        self.assertEqual(rects['form'], [px(self.layout['width']), px(self.layout['height'])])
        for c in self.controls:
            with self.subTest(c['name']):
                if not c['visible']:
                    self.assertTrue(rects[c['name']][4])
                    continue
                left, top = c['left'], c['top']
                parent = c['parent']
                while parent >= 0:
                    left += self.controls[parent]['left']
                    top += self.controls[parent]['top']
                    parent = self.controls[parent]['parent']
                # Each level rounds to whole pixels, as the desktop does.
                self.assertAlmostEqual(rects[c['name']][0], px(left), delta=1)
                self.assertAlmostEqual(rects[c['name']][1], px(top), delta=1)
                self.assertEqual(rects[c['name']][2:4], [px(c['width']), px(c['height'])])
        self.assertEqual(self.js('return document.title'), self.layout['caption'].strip())

    def test_starting_texts(self):
        for c in self.controls:
            if c['kind'] in ('edit', 'multiLineEdit'):
                expected = c['text'].replace('\r\n', '\n')
                self.assertEqual(self.texts([c['name']]), [expected], c['name'])

    def test_tab_and_shift_tab_walk_the_focus_order_and_wrap(self):
        chain = self.focusChain()
        seen = []
        for _ in chain:
            self.keys(Keys.TAB)
            seen.append(self.js('return document.activeElement.id'))
        self.assertEqual(seen, chain[1:] + chain[:1])
        self.chord(Keys.SHIFT, Keys.TAB)
        self.assertEqual(self.js('return document.activeElement.id'), chain[-1])

    def test_keys_and_clicks_reach_the_program_and_its_message_holds_clear(self):
        # The one case of what Form1 decides, to prove the wiring: each key
        # is a change the program answers; Clear's message is the page's
        # dialog, and the program waits inside the click until it goes.
        chain = self.focusChain()
        for _ in range(chain.index('Text1')):
            self.keys(Keys.TAB)
        self.assertEqual(self.js('return document.activeElement.id'), 'Text1')
        amounts = []
        for key in '1.5':
            self.keys(key)
            amounts += self.texts(['amount'])
        self.assertEqual(amounts, [' 1', ' 1', ' 1.5'])
        self.assertIsNone(self.dialog())
        self.browser.find_element(By.ID, 'Command1').click()
        self.assertEqual(self.dialog(), {'title': self.layout['title'],
                                         'text': self.layout['message'],
                                         'buttons': ['OK'], 'icons': 0})
        # The rest of Clear waits: amount still holds the recalculation's text.
        self.assertEqual(self.texts(['amount']), [' 0'])
        self.keys(Keys.ENTER)
        self.assertIsNone(self.dialog())
        editable = [c for c in self.controls if c['kind'] == 'edit' and c['visible']]
        self.assertEqual(self.texts([c['name'] for c in editable]),
                         [c['text'] for c in editable])
        self.assertEqual(self.js('return document.activeElement.id'), 'Command1')

    def test_figures_spoken_once_the_typing_pauses(self):
        self.browser.find_element(By.ID, 'Text1').click()
        self.chord(Keys.CONTROL, 'a')
        self.keys('1')
        said = "return document.querySelector('[role=status][aria-live=polite]').textContent"
        self.assertEqual(self.js(said), '')
        self.keys('0')
        WebDriverWait(self.browser, 5).until(lambda b: self.js(said))
        self.assertEqual(self.js(said), BARLEY_TEN['said'])

    def test_messages_in_a_row_each_settle(self):
        # Clear meets two all-zero runs: two dialogs, one after the other.
        for field, typed in (('Text1', '5'), ('Text2', '0.0')):
            self.browser.find_element(By.ID, field).click()
            self.chord(Keys.CONTROL, 'a')
            self.keys(typed)
        self.assertIsNone(self.dialog())
        self.browser.find_element(By.ID, 'Command1').click()
        for key in (Keys.ENTER, Keys.ESCAPE):
            self.assertEqual(self.dialog()['text'], self.layout['message'])
            self.keys(key)
        self.assertIsNone(self.dialog())
        self.assertEqual(self.js("return document.querySelectorAll('dialog').length"), 0)
        self.assertEqual(self.texts(['amount']), ['0'], 'Clear went on to its end')

    def test_escape_dismisses_the_message_and_focus_returns(self):
        field = self.browser.find_element(By.ID, 'Text5')
        field.click()
        self.keys(Keys.END, '0')  # '00' reads as 0 too: every amount is zero
        self.assertIsNotNone(self.dialog())
        self.keys(Keys.ESCAPE)
        self.assertIsNone(self.dialog())
        self.assertEqual(self.js('return document.activeElement.id'), 'Text5')

    def test_an_amount_that_is_not_a_number_is_marked(self):
        field = self.browser.find_element(By.ID, 'Text3')
        field.click()
        self.keys(Keys.END, 'x')
        self.assertEqual(field.get_attribute('aria-invalid'), 'true')
        self.assertTrue(field.get_attribute('title'))
        self.keys(Keys.BACKSPACE)
        self.assertIsNone(field.get_attribute('aria-invalid'))
        self.assertFalse(field.get_attribute('title'))

    def test_exit_ends_the_program(self):
        self.browser.find_element(By.ID, 'CmdExit').click()
        self.assertFalse(self.js('return !!document.getElementById("Form1")'))
        self.assertIn('Grain Mix has ended', self.js('return document.body.innerText'))
        self.keys(Keys.ENTER)  # the focused "Start again"
        WebDriverWait(self.browser, 20).until(
            lambda b: b.execute_script('return document.activeElement.id') == 'CmdExit')

    def test_accessible_names(self):
        need(self, 'devtools')
        tree = self.browser.execute_cdp_cmd('Accessibility.getFullAXTree', {})['nodes']
        named = {}
        for node in tree:
            role = node.get('role', {}).get('value')
            name = node.get('name', {}).get('value')
            named.setdefault(role, []).append(name)
        expected_fields = sorted(c['accessibleName'] for c in self.controls
                                 if c['kind'] in ('edit', 'multiLineEdit') and c['visible'])
        self.assertEqual(sorted(named.get('textbox', [])), expected_fields)
        self.assertEqual(sorted(named.get('button', [])), ['Clear', 'Exit'])
        hidden = [c['accessibleName'] for c in self.controls if not c['visible']]
        everything = [n for names in named.values() for n in names]
        self.assertFalse(set(hidden) & set(everything))

    def test_nothing_kept_nothing_sent_no_console_error(self):
        self.browser.find_element(By.ID, 'Text1').send_keys('5')
        report = self.browser.execute_async_script('''const done = arguments[0];
            const origin = location.origin;
            navigator.serviceWorker.ready.then(async () => {
                const foreign = performance.getEntriesByType('resource')
                    .map(e => e.name).filter(n => !n.startsWith(origin));
                const cached = {};
                const names = await caches.keys();
                for (const name of names) {
                    const cache = await caches.open(name);
                    for (const request of await cache.keys())
                        cached[request.url] = (await (await cache.match(request)).arrayBuffer())
                            .byteLength;
                }
                const workers = (await navigator.serviceWorker.getRegistrations())
                    .map(r => r.active.scriptURL);
                done({foreign, cookie: document.cookie, local: localStorage.length,
                      session: sessionStorage.length, dbs: (await indexedDB.databases()).length,
                      workers, names, cached});
            });''')
        with self.subTest('storage'):
            kept = ('foreign', 'cookie', 'local', 'session', 'dbs')
            self.assertEqual({k: report[k] for k in kept},
                             {'foreign': [], 'cookie': '', 'local': 0, 'session': 0, 'dbs': 0})
            # The one thing stored: the page's own files, as the server sent them.
            self.assertEqual(report['workers'], [self.url + 'service-worker.js'])
            self.assertEqual(len(report['names']), 1)
            self.assertIn(self.url + 'index.html', report['cached'])
            for url, size in report['cached'].items():
                self.assertTrue(url.startswith(self.url), url)
                path = os.path.join(ARGS.site, url[len(self.url):])
                self.assertEqual(size, os.path.getsize(path), url)
        with self.subTest('console'):
            need(self, 'console')
            errors = [e for e in self.browser.get_log('browser') if e['level'] == 'SEVERE']
            self.assertEqual(errors, [])

    def test_the_form_arrives_in_the_html_not_yet_usable(self):
        with urllib.request.urlopen(self.url) as response:
            page = SentElements()
            page.feed(response.read().decode('utf-8'))
        sent = page.elements
        self.assertEqual(sent['status']['text'], 'Grain Mix is starting.')
        # The amounts are the fields beside Barley's; they alone take typing.
        amounts = next(c['parent'] for c in self.controls if c['name'] == 'Text1')
        for i, c in enumerate(self.controls):
            with self.subTest(c['name']):
                e = sent[c['name']]
                parent = self.controls[c['parent']]['name'] if c['parent'] >= 0 else 'Form1'
                self.assertEqual((e['parent'], e['attrs']['data-control']), (parent, str(i)))
                self.assertEqual('hidden' in e['attrs'], not c['visible'])
                if c['kind'] == 'edit':
                    self.assertEqual((e['tag'], e['attrs']['value']), ('input', c['text']))
                    self.assertEqual('readonly' in e['attrs'], c['parent'] != amounts)
                elif c['kind'] == 'multiLineEdit':
                    # The parser drops the one line break after the tag.
                    self.assertEqual(e['text'], '\n' + c['text'].replace('\r\n', '\n'))
                    self.assertIn('readonly', e['attrs'])
                elif c['kind'] == 'button':
                    self.assertEqual(e['text'], c['text'])
                    self.assertIn('disabled', e['attrs'])
                    # Heard with the button: the program is starting.
                    self.assertEqual(e['attrs']['aria-describedby'], 'status')
                elif c['kind'] == 'label':
                    self.assertEqual(e['text'], c['text'])


class Offline(unittest.TestCase):
    """After one visit the page opens and works with the server gone."""

    def test_second_visit_without_a_server(self):
        server = start_server(ARGS.site, UncachedHandler)
        url = f'http://127.0.0.1:{server.server_address[1]}/'
        browser = start_browser(1)
        try:
            open_under_worker(browser, url)
            stop_server(server)
            open_page(browser, url)
            browser.find_element(By.ID, 'Text1').click()
            ActionChains(browser).key_down(Keys.CONTROL).send_keys('a').key_up(Keys.CONTROL) \
                .send_keys('10').perform()
            self.assertEqual(browser.execute_script(
                'return document.getElementById("amount").value'), ' 10')
        finally:
            browser.quit()
            stop_server(server)

    def test_a_new_build_replaces_the_old_files(self):
        with tempfile.TemporaryDirectory() as copy:
            site = os.path.join(copy, 'web')
            shutil.copytree(ARGS.site, site)
            # Files the browser may still hold in its HTTP cache.
            server = start_server(site)
            url = f'http://127.0.0.1:{server.server_address[1]}/'
            browser = start_browser(1)
            try:
                open_under_worker(browser, url)
                with open(os.path.join(site, 'grainmix.js'), 'a') as f:
                    f.write('/* the next build */\n')
                worker = os.path.join(site, 'service-worker.js')
                with open(worker) as f:
                    text = f.read()
                with open(worker, 'w') as f:
                    f.write(re.sub(r"CACHE = '[^']*'", "CACHE = 'grainmix-next'", text))
                open_page(browser, url)
                caches = '''const done = arguments[0];
                    caches.keys().then(names => done(names));'''
                WebDriverWait(browser, 20).until(
                    lambda b: b.execute_async_script(caches) == ['grainmix-next'])
                script = browser.execute_async_script('''const done = arguments[0];
                    caches.open('grainmix-next').then(c => c.match('grainmix.js'))
                        .then(r => r.text()).then(done);''')
                self.assertTrue(script.endswith('/* the next build */\n'))
            finally:
                browser.quit()
                stop_server(server)


class TypedBeforeTheStart(unittest.TestCase):
    """An amount typed while the program is still on its way is kept, and
    answered once the program starts."""

    def test_typed_amount_shows_in_the_figures_once_the_program_starts(self):
        need(self, 'held')
        barley = BARLEY_TEN
        release = threading.Event()

        class Held(UncachedHandler):
            def do_GET(self):
                if self.path.endswith('/grainmix.wasm'):
                    release.wait(30)
                super().do_GET()

        server = start_server(ARGS.site, Held)
        browser = start_browser(1, 'eager')
        try:
            browser.get(f'http://127.0.0.1:{server.server_address[1]}/')
            browser.find_element(By.ID, barley['field']).click()
            ActionChains(browser).key_down(Keys.CONTROL).send_keys('a').key_up(Keys.CONTROL) \
                .send_keys(barley['typed']).perform()
            state = '''return [document.getElementById('CmdExit').disabled,
                document.getElementById(arguments[0]).value]'''
            self.assertEqual(browser.execute_script(state, barley['field']),
                             [True, barley['typed']], 'typed before the program started')
            release.set()
            WebDriverWait(browser, 20).until(
                lambda b: not b.execute_script(state, barley['field'])[0])
            # Read in a task after those the start queued: the program hears
            # the typing in one of them.
            figures = browser.execute_async_script('''const done = arguments[1];
                setTimeout(() => done(Object.fromEntries(arguments[0].map(
                    n => [n, document.getElementById(n).value]))));''', list(barley['figures']))
            self.assertEqual(figures, barley['figures'])
            # The next key goes on into Barley too.
            self.assertEqual(browser.execute_script('return document.activeElement.id'),
                             barley['field'])
        finally:
            release.set()
            browser.quit()
            stop_server(server)


class StartFailure(unittest.TestCase):
    """A program that cannot load or start says so in one plain sentence,
    rather than leaving the page starting for ever."""

    def test_each_failure_gives_the_sentence(self):
        def garble(site):
            path = os.path.join(site, 'grainmix.wasm')
            with open(path, 'rb') as f:
                data = f.read()
            with open(path, 'wb') as f:  # the header stays, the rest is noise
                f.write(data[:8] + bytes(b ^ 0xA5 for b in data[8:]))

        def drop_last_control(site):
            path = os.path.join(site, 'index.html')
            with open(path) as f:
                lines = f.readlines()
            # The last in the table, when every other could already be taken over.
            last = f'id="{read_layout()["controls"][-1]["name"]}"'
            with open(path, 'w') as f:
                f.writelines(line for line in lines if last not in line)

        def without_webassembly(site):
            # As a browser without it: a script of the site's own, before the rest.
            with open(os.path.join(site, 'no-webassembly.js'), 'w') as f:
                f.write('delete window.WebAssembly;\n')
            path = os.path.join(site, 'index.html')
            with open(path) as f:
                page = f.read()
            with open(path, 'w') as f:
                f.write(page.replace('<script', '<script src="no-webassembly.js"></script>'
                                                '<script', 1))

        cases = [
            ('a damaged grainmix.wasm', garble),
            ('a page without one of the controls', drop_last_control),
            ('no grainmix.js', lambda site: os.remove(os.path.join(site, 'grainmix.js'))),
            ('no WebAssembly', without_webassembly),
        ]
        browser = start_browser(1)
        try:
            for name, damage in cases:
                with self.subTest(name), tempfile.TemporaryDirectory() as copy:
                    site = os.path.join(copy, 'web')
                    shutil.copytree(ARGS.site, site)
                    damage(site)
                    server = start_server(site)
                    try:
                        browser.get(f'http://127.0.0.1:{server.server_address[1]}/')
                        WebDriverWait(browser, 10).until(lambda b: b.execute_script(
                            'return document.getElementById("status").textContent')
                            != 'Grain Mix is starting.')
                        self.assertEqual(browser.execute_script(
                            'return document.getElementById("status").textContent'),
                            CANNOT_START)
                        self.assertTrue(browser.execute_script(
                            'return document.getElementById("CmdExit").disabled'))
                    finally:
                        stop_server(server)
        finally:
            browser.quit()


class Zoom(unittest.TestCase):
    """No caption is clipped and no instruction line wraps, at 100% and 200%."""

    MEASURE = '''const done = arguments[0];
        document.fonts.ready.then(() => {
            const ctx = document.createElement('canvas').getContext('2d');
            const inner = e => { const s = getComputedStyle(e);
                return e.clientWidth - parseFloat(s.paddingLeft) - parseFloat(s.paddingRight); };
            const width = (e, line) => { ctx.font = getComputedStyle(e).font;
                return ctx.measureText(line).width; };
            const clipped = [];
            for (const e of document.querySelectorAll('#Form1 .label, #Form1 .button'))
                if (width(e, e.textContent) > inner(e) || e.scrollHeight > e.clientHeight)
                    clipped.push(e.id);
            const notes = document.getElementById('Text27');
            notes.value.split('\\n').forEach((line, i) => {
                if (width(notes, line) > inner(notes)) clipped.push('Text27 line ' + (i + 1)); });
            done({clipped, fonts: [...document.fonts].filter(f => f.status === 'loaded').length});
        });'''

    def test_nothing_clipped(self):
        server = start_server(ARGS.site)
        try:
            for scale in (1, 2):
                with self.subTest(f'at {scale * 100}%'):
                    browser = start_browser(scale)
                    try:
                        open_page(browser, f'http://127.0.0.1:{server.server_address[1]}/')
                        self.assertEqual(browser.execute_script('return devicePixelRatio'), scale)
                        result = browser.execute_async_script(self.MEASURE)
                        self.assertEqual(result['clipped'], [])
                        self.assertEqual(result['fonts'], 2)
                    finally:
                        browser.quit()
        finally:
            server.shutdown()


AXE = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                   'node_modules', 'axe-core', 'axe.min.js')


class Phone(InBrowser):
    """The same controls laid out for a touch screen where the window does not
    fit, and the page's accessibility at both layouts."""

    # Every control the user reads or touches, and whether it holds typed text.
    CONTROLS = '''return [...document.querySelectorAll(
            '#Form1 .label, #Form1 .edit, #Form1 .instructions, #Form1 .button')]
        .filter(e => !e.hidden).map(e => { const r = e.getBoundingClientRect();
            return {id: e.id, field: e.tagName === 'INPUT', left: r.left, top: r.top,
                    right: r.right, bottom: r.bottom, width: r.width, height: r.height,
                    font: parseFloat(getComputedStyle(e).fontSize)}; })'''
    # Whether the control shows, whole and on top, inside what the user sees.
    IN_SIGHT = '''const view = visualViewport;
        return arguments[0].filter(id => { const e = document.getElementById(id);
            const r = e.getBoundingClientRect();
            const onTop = document.elementFromPoint((r.left + r.right) / 2,
                                                    (r.top + r.bottom) / 2) === e;
            return !(onTop && r.top >= view.offsetTop && r.bottom <= view.offsetTop + view.height
                     && r.left >= 0 && r.right <= view.width); })'''
    RESULTS = list(BARLEY_TEN['figures'])  # the total and the results: the bar

    def open(self, width, height, touch=True, scheme='light', forced='none'):
        """Opens the page in a viewport of this size, or the nearest the engine
        can show, and returns that size. Without touch emulation only the
        width chooses the layout."""
        if ARGS.engine != 'chromium':
            if (scheme, forced) != ('light', 'none'):
                need(self, 'media')
            size = set_viewport(self.browser, width, height)
            open_page(self.browser, self.url)
            return size
        self.browser.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
            'width': width, 'height': height, 'deviceScaleFactor': 1, 'mobile': touch})
        self.browser.execute_cdp_cmd('Emulation.setTouchEmulationEnabled',
                                     {'enabled': touch, 'maxTouchPoints': 5 if touch else 1})
        self.browser.execute_cdp_cmd('Emulation.setEmulatedMedia', {'features': [
            {'name': 'prefers-color-scheme', 'value': scheme},
            {'name': 'forced-colors', 'value': forced}]})
        open_page(self.browser, self.url)
        return [width, height]

    def js(self, script, *args):
        return self.browser.execute_script(script, *args)

    def grains(self):
        return self.js("return [...document.querySelectorAll('#Frame2 input')].map(e => e.id)")

    def test_laid_out_for_a_phone_exactly_where_the_window_does_not_fit(self):
        layout = read_layout()
        width, height = layout['width'] // 15, layout['height'] // 15
        # Width alone on any screen; height too on a touch screen on its side.
        for view_width, view_height, touch, phone in (
                (width, 800, False, False), (width - 1, 800, False, True),
                (width, height - 1, False, False), (1000, height, True, False),
                (1000, height - 1, True, True)):
            with self.subTest(f'{view_width} x {view_height}, touch {touch}'):
                if touch:
                    need(self, 'touch')
                self.open(view_width, view_height, touch)
                laid_out = self.js("return getComputedStyle(document.documentElement)"
                                   ".getPropertyValue('--layout').trim()")
                self.assertEqual(laid_out == 'phone', phone)

    def focused(self):
        return self.js('return document.activeElement.id')

    def keys(self, *keys):
        ActionChains(self.browser).send_keys(*keys).perform()

    def tap(self, name):
        # Scrolled to where the user sees it, as the user would, then touched.
        field = self.browser.find_element(By.ID, name)
        self.js("arguments[0].scrollIntoView({block: 'center'})", field)
        field.click()

    def test_big_enough_to_touch_and_to_read_in_portrait_and_landscape(self):
        fits = read_layout()['width'] // TWIPS_PER_PIXEL
        for width, height in ((360, 740), (320, 568), (740, 360), (360, 340)):
            with self.subTest(f'{width} x {height}'):
                if width >= fits:  # a phone by touch alone
                    need(self, 'touch')
                width, height = self.open(width, height)
                controls = self.js(self.CONTROLS)
                for c in controls:
                    if c['field'] or c['id'] in ('Command1', 'CmdExit'):
                        self.assertGreaterEqual(min(c['width'], c['height']), 44, c['id'])
                    self.assertGreaterEqual(c['font'], 16 if c['field'] else 14, c['id'])
                    self.assertLessEqual(c['right'], width, c['id'])
                self.assertLessEqual(self.js('return document.documentElement.scrollWidth'),
                                     width)

    def test_grains_in_one_column_in_reading_order_names_beside_fields(self):
        self.open(360, 740)
        at = {c['id']: c for c in self.js(self.CONTROLS)}
        names = self.js('''return [...document.querySelectorAll('#Frame2 [id]')]
            .map(e => e.id)''')
        rows = list(zip(names[0::2], names[1::2]))  # each name, then its field
        self.assertEqual(len(rows), 27)
        tops = [at[field]['top'] for _, field in rows]
        self.assertEqual(tops, sorted(set(tops)))
        for name, field in rows:
            middle = (at[name]['top'] + at[name]['bottom']) / 2
            self.assertTrue(at[field]['top'] <= middle <= at[field]['bottom'], name)
            self.assertLess(at[name]['right'], at[field]['left'], name)
        bar = max(at[r]['bottom'] for r in self.RESULTS)
        self.assertLess(bar, tops[0])
        self.assertGreater(at['Text27']['top'], tops[-1])

    def test_opens_at_its_top_and_nothing_scrolled_into_view_rests_under_the_bar(self):
        self.open(360, 740)
        first = self.grains()[0]
        self.assertEqual((self.js('return scrollY'), self.focused()), (0, 'CmdExit'))
        self.assertEqual(self.js(self.IN_SIGHT, self.RESULTS + [first]), [])
        # A click as the page opens reaches Barley's field, not the bar.
        self.browser.find_element(By.ID, 'Text1').click()
        self.assertEqual(self.focused(), 'Text1')
        # From below, as a browser brings to the top a field it looks for.
        field = self.browser.find_element(By.ID, first)
        self.js('scrollTo(0, document.body.scrollHeight); arguments[0].scrollIntoView()', field)
        self.assertEqual(self.js(self.IN_SIGHT, [first]), [])

    def test_results_in_sight_while_typing_with_the_keyboard_up(self):
        self.open(360, 340)
        grains = self.grains()
        for grain, typed in ((grains[0], '4'), (grains[-1], '6')):
            self.tap(grain)
            self.keys(Keys.END, typed)
            self.assertEqual(self.js(self.IN_SIGHT, self.RESULTS + [grain]), [], grain)
        self.assertEqual(self.js("return document.getElementById('amount').value"), ' 10')

    def test_bar_follows_the_visible_part_while_the_keyboard_is_up(self):
        # A browser that keeps the page's size under the keyboard and shows a
        # lower part of it: the visual viewport moves, the page does not.
        fake = '''const view = new EventTarget();
            Object.assign(view, {offsetTop: 0, offsetLeft: 0, width: 360, height: 740, scale: 1});
            Object.defineProperty(window, 'visualViewport', {value: view});'''
        with before_each_page(self, self.browser, fake):
            self.open(360, 740)
            grain = self.grains()[-1]
            self.tap(grain)
            self.js('''Object.assign(visualViewport, {offsetTop: 300, height: 340});
                visualViewport.dispatchEvent(new Event('resize'));''')
            self.assertEqual(self.js(self.IN_SIGHT, self.RESULTS + [grain]), [])

    def test_a_scroll_away_from_the_focused_grain_stays_put(self):
        # Typed an amount, then scrolled down to Clear: the page must not pull
        # the field back into sight, nor a click on Clear land short.
        self.open(360, 740)
        self.tap(self.grains()[0])
        self.keys(Keys.END, '4')
        scrolled = self.js('''document.getElementById('Command1').scrollIntoView({block: 'end'});
            return scrollY''')
        # Gecko reports a scroll of the page as one of the visible area too;
        # the other engines may not, so each is told it as Gecko tells it.
        # The page has had its chance once its handler has run (dispatchEvent
        # returns after it), a frame has been drawn after it (the second
        # frame's callback) and a task it queued then has run (ours, queued
        # later, runs after it).
        settled = self.browser.execute_async_script('''const done = arguments[0];
            visualViewport.dispatchEvent(new Event('scroll'));
            requestAnimationFrame(() => requestAnimationFrame(
                () => setTimeout(() => done(scrollY))));''')
        self.assertGreater(scrolled, 0)
        self.assertEqual(settled, scrolled)
        self.assertEqual(self.js(self.IN_SIGHT, ['Command1']), [])

    def test_enter_goes_down_the_grains_on_a_phone_only(self):
        self.open(360, 740)
        grains = self.grains()
        self.tap(grains[0])
        seen = [self.focused()]
        for _ in grains:
            self.keys(Keys.ENTER)
            seen.append(self.focused())
            if seen[-1] in grains:
                self.assertEqual(self.js(self.IN_SIGHT, [seen[-1]]), [], seen[-1])
        # After the last grain the keyboard goes away: nothing keeps the focus.
        self.assertEqual(seen, grains + [''])
        self.open(1000, 800, touch=False)
        self.browser.find_element(By.ID, grains[0]).click()
        self.keys(Keys.ENTER)
        self.assertEqual(self.focused(), grains[0])

    def test_forced_colours_keep_every_edge_the_mark_and_the_focus_ring(self):
        edgeless = '''return [...document.querySelectorAll(
                '#Form1 .frame, #Form1 .edit, #Form1 .instructions, #Form1 .button')]
            .filter(e => !e.hidden).filter(e => { const s = getComputedStyle(e);
                return !(s.borderTopStyle !== 'none' && parseFloat(s.borderTopWidth) > 0) &&
                       !(s.outlineStyle !== 'none' && parseFloat(s.outlineWidth) > 0); })
            .map(e => e.id)'''
        need(self, 'media')
        for width, height, touch in ((1280, 800, False), (360, 740, True)):
            with self.subTest(f'{width} x {height}'):
                self.open(width, height, touch, forced='active')
                self.assertEqual(self.js(edgeless), [])
                ring = self.js('''const s = getComputedStyle(document.activeElement);
                    return [document.activeElement.id, s.outlineStyle !== 'none',
                            parseFloat(s.outlineWidth)]''')
                self.assertEqual(ring[:2], ['CmdExit', True])
                self.assertGreaterEqual(ring[2], 2)
                # The invalid amount's colour is gone: its mark must not be.
                self.tap('Text3')
                self.keys(Keys.END, 'x')
                self.assertEqual(self.js('''return getComputedStyle(
                    document.getElementById('Text3')).borderTopStyle'''), 'dashed')

    def test_no_accessibility_violation_in_either_layout(self):
        self.assertTrue(os.path.exists(AXE), 'no axe-core: run bash scripts/deps.sh web')
        with open(AXE) as f:
            axe = f.read()
        # 412 x 823: the phone Lighthouse's mobile audit stands for.
        for width, height, touch, scheme in ((1280, 800, False, 'light'),
                                             (360, 740, True, 'light'),
                                             (412, 823, True, 'light'),
                                             (360, 740, True, 'dark')):
            with self.subTest(f'{width} x {height} {scheme}'):
                self.open(width, height, touch, scheme)
                self.js(axe)
                found = self.browser.execute_async_script('''const done = arguments[0];
                    axe.run(document).then(r => done(r.violations.map(
                        v => [v.id, v.nodes.map(n => n.target.join(' '))])));''')
                self.assertEqual(found, [])
                headings = self.js('''return [...document.querySelectorAll('h1, h2, h3')]
                    .map(h => [h.tagName, h.textContent])''')
                self.assertEqual(headings, [['H1', 'Grain Mix']])


class Result(unittest.TextTestResult):
    """Counts a test passed when all of it that could run in this engine did,
    and skipped when none of it could: a test whose every case was skipped
    proved nothing."""

    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.cases_run = set()

    def addSubTest(self, test, subtest, outcome):
        super().addSubTest(test, subtest, outcome)
        if outcome is None:
            self.cases_run.add(test.id())

    def counts(self):
        whole = lambda test: getattr(test, 'test_case', test).id()
        failed = {whole(t) for t, _ in self.failures + self.errors}
        skipped = {whole(t) for t, _ in self.skipped} - self.cases_run - failed
        return self.testsRun - len(failed | skipped), len(skipped), len(failed)

    def summary(self):
        passed, skipped, failed = self.counts()
        return (f'{ARGS.engine}: {passed} passed, {skipped} skipped, {failed} failed '
                f'({len(self.skipped)} tests or cases skipped)')


@contextlib.contextmanager
def display():
    """MiniBrowser draws on a display: a virtual one of the test's own, on a
    number the server chooses."""
    if ARGS.engine != 'webkit':
        yield
        return
    read, write = os.pipe()
    server = subprocess.Popen(['Xvfb', '-displayfd', str(write), '-screen', '0', '2560x1600x24',
                               '-nolisten', 'tcp'], pass_fds=(write,),
                              stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as f:
        os.environ['DISPLAY'] = ':' + f.readline().strip()
    try:
        yield
    finally:
        server.terminate()
        server.wait()


if __name__ == '__main__':
    parser = argparse.ArgumentParser()
    parser.add_argument('--site', required=True)
    parser.add_argument('--layout', required=True)
    parser.add_argument('--engine', choices=sorted(LACKS), default='chromium')
    ARGS, rest = parser.parse_known_args()
    with display():
        run = unittest.main(argv=[sys.argv[0]] + rest, verbosity=2, exit=False,
                            testRunner=unittest.TextTestRunner(resultclass=Result, verbosity=2))
    print(run.result.summary())
    # CTest reports a run in which nothing could run as skipped (SKIP_RETURN_CODE).
    nothing_ran = run.result.counts()[0] == 0
    sys.exit(1 if not run.result.wasSuccessful() else 77 if nothing_ran else 0)
