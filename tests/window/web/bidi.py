"""Firefox driven over WebDriver BiDi, which it speaks itself (Debian has no
geckodriver): the part of Selenium's driver that the page's tests use, so that
one test body serves every engine. Selenium's ActionChains work unchanged:
BiDi's input actions are WebDriver's own."""

import atexit
import json
import queue
import re
import shutil
import subprocess
import tempfile
import threading

import websocket
from selenium.common.exceptions import (ElementClickInterceptedException,
                                        JavascriptException, NoSuchElementException)
from selenium.webdriver.common.by import By
from selenium.webdriver.remote.command import Command

# What these tests ask of Firefox's BiDi came in by version 127 (the
# viewport's device pixel ratio, the last); 128 is the first ESR with it all.
OLDEST_FIREFOX = 128
# A Firefox that has not said where it listens by then never will.
START_SECONDS = 60


class Element:
    def __init__(self, browser, shared_id):
        self.browser, self.shared_id = browser, shared_id

    def get_attribute(self, name):
        return self.browser.execute_script('return arguments[0].getAttribute(arguments[1])',
                                           self, name)

    def click(self):
        # As WebDriver's element click: scrolled into view, refused when
        # another element would take the click, then pressed at its centre.
        x, y, hit = self.browser.execute_script('''const e = arguments[0];
            e.scrollIntoView({block: 'end', inline: 'nearest'});
            const r = e.getClientRects()[0];
            const x = Math.floor(r.left + r.width / 2), y = Math.floor(r.top + r.height / 2);
            const hit = document.elementFromPoint(x, y);
            return [x, y, !!hit && (hit === e || e.contains(hit)) ? '' : hit && hit.outerHTML];''',
                                                self)
        if hit:
            raise ElementClickInterceptedException(f'the click would land on {hit[:200]}')
        self.browser.perform([{'type': 'pointer', 'id': 'click', 'actions': [
            {'type': 'pointerMove', 'x': x, 'y': y},
            {'type': 'pointerDown', 'button': 0}, {'type': 'pointerUp', 'button': 0}]}])

    def send_keys(self, text):
        self.browser.execute_script('''const e = arguments[0];
            if (document.activeElement !== e) {
                e.focus();
                if (e.setSelectionRange) e.setSelectionRange(e.value.length, e.value.length);
            }''', self)
        self.browser.perform([{'type': 'key', 'id': 'keys', 'actions': [
            {'type': t, 'value': c} for c in text for t in ('keyDown', 'keyUp')]}])


class Firefox:
    def __init__(self, binary, width, height, scale):
        self.profile = tempfile.mkdtemp(prefix='grainmix-firefox-')
        self.process = subprocess.Popen(
            [binary, '--headless', '--no-remote', '--profile', self.profile,
             '--remote-debugging-port=0', 'about:blank'],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        self.socket = None
        # Ended with the tests even when a test class never got to end it.
        atexit.register(self.quit)
        try:
            self.connect()
            self.set_window_size(width, height, scale)
        except BaseException:
            self.quit()
            raise

    def connect(self):
        # Read on a thread of its own, for as long as Firefox writes: unread,
        # its pipe would fill and stop it.
        address = queue.Queue()

        def read_errors():
            for line in self.process.stderr:
                found = re.search(r'WebDriver BiDi listening on (ws://\S+)', line)
                if found:
                    address.put(found.group(1))
            address.put(None)

        threading.Thread(target=read_errors, daemon=True).start()
        try:
            url = address.get(timeout=START_SECONDS)
        except queue.Empty:
            raise RuntimeError(f'Firefox gave no WebDriver BiDi address in {START_SECONDS} s')
        if not url:
            raise RuntimeError('Firefox ended without a WebDriver BiDi address')
        self.socket = websocket.create_connection(url + '/session', timeout=60,
                                                  suppress_origin=True)
        self.next_id = 0
        self.logged = []
        version = self.send('session.new', {'capabilities': {}})['capabilities']['browserVersion']
        if int(version.split('.')[0]) < OLDEST_FIREFOX:
            raise RuntimeError(f'Firefox {version} is older than {OLDEST_FIREFOX}, '
                               'whose WebDriver BiDi these tests need')
        self.send('session.subscribe', {'events': ['log.entryAdded']})
        # The window Firefox opens with never has the focus: keys reach its
        # page but press no button. A tab opened now does.
        self.context = self.send('browsingContext.create', {'type': 'tab'})['context']
        self.send('browsingContext.activate', {'context': self.context})
        # A page behind it in its history: like a tab the user has used, not
        # one a page's script may close.
        self.get('data:text/html,')

    def send(self, method, params):
        self.next_id += 1
        self.socket.send(json.dumps({'id': self.next_id, 'method': method, 'params': params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get('method') == 'log.entryAdded':
                self.logged.append(message['params'])
            elif message.get('id') == self.next_id:
                if message.get('type') == 'error':
                    raise RuntimeError(f"{method}: {message['error']}: {message['message']}")
                return message['result']

    def set_window_size(self, width, height, scale=1):
        self.send('browsingContext.setViewport', {
            'context': self.context, 'viewport': {'width': width, 'height': height},
            'devicePixelRatio': scale})

    # As Selenium's page load strategy: 'eager' returns once the HTML is parsed.
    page_load = 'normal'

    def get(self, url):
        wait = 'interactive' if self.page_load == 'eager' else 'complete'
        self.send('browsingContext.navigate', {'context': self.context, 'url': url, 'wait': wait})

    def call(self, function, args, wait):
        result = self.send('script.callFunction', {
            'functionDeclaration': function, 'awaitPromise': wait,
            'arguments': [self.serialize(a) for a in args],
            'target': {'context': self.context}})
        if result['type'] == 'exception':
            raise JavascriptException(result['exceptionDetails']['text'])
        return self.deserialize(result['result'])

    def execute_script(self, script, *args):
        return self.call(f'function () {{ {script}\n}}', args, False)

    def execute_async_script(self, script, *args):
        return self.call(f'''function (...args) {{ return new Promise(done => {{
            (function () {{ {script}\n}}).apply(this, [...args, done]); }}); }}''', args, True)

    def find_element(self, by, name):
        # Only what the tests use: anything else must not quietly look up ids.
        if by != By.ID:
            raise NotImplementedError(f'find_element by {by}')
        found = self.execute_script('return document.getElementById(arguments[0])', name)
        if found is None:
            raise NoSuchElementException(name)
        return found

    def perform(self, actions):
        self.send('input.performActions', {'context': self.context, 'actions': actions})

    def execute(self, command, params):
        # What ActionChains sends.
        if command != Command.W3C_ACTIONS:
            raise NotImplementedError(command)
        self.perform(params['actions'])

    def get_log(self, kind):
        entries, self.logged = self.logged, []
        return [{'level': 'SEVERE' if e['level'] == 'error' else e['level'].upper(),
                 'message': e.get('text')} for e in entries]

    def add_preload_script(self, source):
        return self.send('script.addPreloadScript',
                         {'functionDeclaration': f'() => {{ {source} }}'})['script']

    def remove_preload_script(self, script):
        self.send('script.removePreloadScript', {'script': script})

    def quit(self):
        try:
            if self.socket:
                self.socket.close()
        finally:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
            shutil.rmtree(self.profile, ignore_errors=True)

    def serialize(self, value):
        if isinstance(value, Element):
            return {'sharedId': value.shared_id}
        if value is None:
            return {'type': 'null'}
        if isinstance(value, bool):
            return {'type': 'boolean', 'value': value}
        if isinstance(value, (int, float)):
            return {'type': 'number', 'value': value}
        if isinstance(value, str):
            return {'type': 'string', 'value': value}
        if isinstance(value, (list, tuple)):
            return {'type': 'array', 'value': [self.serialize(v) for v in value]}
        return {'type': 'object', 'value': [[k, self.serialize(v)] for k, v in value.items()]}

    def deserialize(self, value):
        kind = value['type']
        if kind in ('null', 'undefined'):
            return None
        if kind == 'node':
            return Element(self, value['sharedId'])
        # Deeper than the serialization goes, or a host object: no value.
        if kind == 'array':
            return [self.deserialize(v) for v in value.get('value', [])]
        if kind == 'object':
            return {k: self.deserialize(v) for k, v in value.get('value', [])}
        return value.get('value')
