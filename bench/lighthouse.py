#!/usr/bin/python3
"""Lighthouse's mobile audit of the built page, served on localhost: the four
category scores, the first and the largest contentful paint and the
cumulative layout shift, each the median of RUNS runs (default 5). Beside
it, from the same server in the same runs, a page of plain text as large as
the page's HTML: the floor that no page of that size paints under. Prints
the page's largest paint against the floor's.
Usage: bench/lighthouse.py [--gzip] [WEB-FOLDER] [RUNS]   (default: build-web/web 5)
--gzip serves the files compressed, as most static hosts do.
Installs Lighthouse 12.2.3 from npm the first time, outside the checkout
(newer ones need a newer Node.js than Debian 12 has)."""

import functools
import gzip
import http.server
import json
import os
import statistics
import subprocess
import sys
import tempfile
import threading

VERSION = '12.2.3'
CACHE = os.path.join(os.environ.get('XDG_CACHE_HOME', os.path.expanduser('~/.cache')),
                     'grainmix', f'lighthouse-{VERSION}')
LIGHTHOUSE = os.path.join(CACHE, 'node_modules', '.bin', 'lighthouse')
# Chromium runs as root here, hence no sandbox; the rest keeps it from
# talking to anything but the page.
CHROME_FLAGS = ('--headless=new --no-sandbox --disable-gpu --no-first-run '
                '--disable-background-networking --disable-component-update --disable-sync')
CATEGORIES = ('performance', 'accessibility', 'best-practices', 'seo')
PLAIN = '/plain-text.html'


def plain_page(size):
    """An HTML page of plain text, one paragraph, of the given size in bytes."""
    head = ('<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
            '<meta name="viewport" content="width=device-width, initial-scale=1">\n'
            '<meta name="description" content="Plain text">\n'
            '<title>Plain text</title>\n</head>\n<body>\n<p>')
    tail = '</p>\n</body>\n</html>\n'
    words = 'Barley canary millet oats and sunflower seeds in a mix for the birds. '
    text = (words * (size // len(words) + 1))[:max(0, size - len(head) - len(tail))]
    return (head + text + tail).encode()


class Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm'}
    # Keeps connections open, as any web host does: Lighthouse's simulation
    # charges each new connection its round trips.
    protocol_version = 'HTTP/1.1'

    plain = b''
    compress = False
    COMPRESSED = ('.html', '.css', '.js', '.wasm', '.svg', '.webmanifest')

    def log_message(self, *args):
        pass

    def do_GET(self):
        if self.path == PLAIN:
            return self.send_body(self.plain, 'text/html')
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            path = os.path.join(path, 'index.html')
        if not self.compress or not path.endswith(self.COMPRESSED) or not os.path.isfile(path):
            return super().do_GET()
        with open(path, 'rb') as f:
            self.send_body(f.read(), self.guess_type(path))

    # Compressed where asked to and the browser takes it, as most static
    # hosts do.
    def send_body(self, body, content_type):
        compressed = self.compress and 'gzip' in self.headers.get('Accept-Encoding', '')
        if compressed:
            body = gzip.compress(body, 9)
        self.send_response(200)
        self.send_header('Content-Type', content_type)
        if compressed:
            self.send_header('Content-Encoding', 'gzip')
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def install():
    if os.path.exists(LIGHTHOUSE):
        return
    os.makedirs(CACHE, exist_ok=True)
    subprocess.run(['npm', 'install', '--save-exact', '--no-audit', '--no-fund',
                    f'lighthouse@{VERSION}'], cwd=CACHE, check=True)


def audit(url, folder):
    report = os.path.join(folder, 'report.json')
    subprocess.run([LIGHTHOUSE, url, '--quiet', '--output=json', f'--output-path={report}',
                    '--form-factor=mobile', f'--chrome-flags={CHROME_FLAGS}'],
                   check=True, env={**os.environ, 'CHROME_PATH': '/usr/bin/chromium'})
    with open(report) as f:
        result = json.load(f)
    scores = {c: round(result['categories'][c]['score'] * 100) for c in CATEGORIES}
    scores['fcp'] = result['audits']['first-contentful-paint']['numericValue'] / 1000
    scores['lcp'] = result['audits']['largest-contentful-paint']['numericValue'] / 1000
    scores['cls'] = result['audits']['cumulative-layout-shift']['numericValue']
    failed = sorted(a['id'] for a in result['audits'].values()
                    if a.get('scoreDisplayMode') in ('binary', 'numeric', 'metricSavings')
                    and a.get('score') is not None and a['score'] < 1)
    # Each run as it ends: the spread behind the medians.
    print(f'  {url}: ' + ', '.join(f'{k} {v:g}' for k, v in scores.items()), file=sys.stderr)
    return scores, failed


def medians(results):
    return {k: statistics.median(r[k] for r in results) for k in results[0]}


def main():
    args = sys.argv[1:]
    compressed = '--gzip' in args
    args = [a for a in args if a != '--gzip']
    site = args[0] if args else 'build-web/web'
    runs = int(args[1]) if len(args) > 1 else 5
    install()
    handler = type('Handler', (Quiet,), {
        'compress': compressed,
        'plain': plain_page(os.path.getsize(os.path.join(site, 'index.html')))})
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0),
                                             functools.partial(handler, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f'http://127.0.0.1:{server.server_address[1]}/'
    results = {'page': [], 'plain': []}
    failed = set()
    with tempfile.TemporaryDirectory() as folder:
        # Turn about, so that whatever else the machine does weighs on both.
        for _ in range(runs):
            for name, address in (('page', url), ('plain', url + PLAIN[1:])):
                scores, below = audit(address, folder)
                results[name].append(scores)
                if name == 'page':
                    failed.update(below)
    server.shutdown()

    page, plain = medians(results['page']), medians(results['plain'])
    served = 'gzip-compressed' if compressed else 'uncompressed'
    print(f'Lighthouse {VERSION}, mobile, {served}, median of {runs} runs:')
    print('  ' + ', '.join(f'{c} {page[c]:g}' for c in CATEGORIES))
    print(f'  FCP {page["fcp"]:.2f} s, LCP {page["lcp"]:.2f} s, CLS {page["cls"]:.3f}')
    print('  audits below full marks in any run: ' + (', '.join(sorted(failed)) or 'none'))
    print(f'Plain text of the same size ({len(handler.plain)} bytes), same server and runs:')
    print(f'  FCP {plain["fcp"]:.2f} s, LCP {plain["lcp"]:.2f} s')
    print(f'  the page\'s LCP is {page["lcp"] / plain["lcp"]:.2f} x the plain page\'s')


if __name__ == '__main__':
    main()
