#!/usr/bin/python3
"""Lighthouse's mobile audit of the built page, served on localhost: the four
category scores, the largest contentful paint and the cumulative layout
shift, each the median of RUNS runs (default 3).
Usage: bench/lighthouse.py [--gzip] [WEB-FOLDER] [RUNS]   (default: build-web/web 3)
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


class Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm'}
    # Keeps connections open, as any web host does: Lighthouse's simulation
    # charges each new connection its round trips.
    protocol_version = 'HTTP/1.1'

    def log_message(self, *args):
        pass


class Compressing(Quiet):
    COMPRESSED = ('.html', '.css', '.js', '.wasm', '.svg', '.webmanifest')

    def do_GET(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            path = os.path.join(path, 'index.html')
        if (not path.endswith(self.COMPRESSED) or not os.path.isfile(path)
                or 'gzip' not in self.headers.get('Accept-Encoding', '')):
            return super().do_GET()
        with open(path, 'rb') as f:
            body = gzip.compress(f.read(), 9)
        self.send_response(200)
        self.send_header('Content-Type', self.guess_type(path))
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
    scores['lcp'] = result['audits']['largest-contentful-paint']['numericValue'] / 1000
    scores['cls'] = result['audits']['cumulative-layout-shift']['numericValue']
    failed = sorted(a['id'] for a in result['audits'].values()
                    if a.get('scoreDisplayMode') in ('binary', 'numeric', 'metricSavings')
                    and a.get('score') is not None and a['score'] < 1)
    return scores, failed


def main():
    args = sys.argv[1:]
    compressed = '--gzip' in args
    args = [a for a in args if a != '--gzip']
    site = args[0] if args else 'build-web/web'
    runs = int(args[1]) if len(args) > 1 else 3
    install()
    handler = Compressing if compressed else Quiet
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0),
                                             functools.partial(handler, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f'http://127.0.0.1:{server.server_address[1]}/'
    results = []
    failed = set()
    with tempfile.TemporaryDirectory() as folder:
        for _ in range(runs):
            scores, below = audit(url, folder)
            results.append(scores)
            failed.update(below)
    server.shutdown()

    median = {k: statistics.median(r[k] for r in results) for k in results[0]}
    served = 'gzip-compressed' if compressed else 'uncompressed'
    print(f'Lighthouse {VERSION}, mobile, {served}, median of {runs} runs:')
    print('  ' + ', '.join(f'{c} {median[c]:g}' for c in CATEGORIES))
    print(f'  LCP {median["lcp"]:.2f} s, CLS {median["cls"]:.3f}')
    print('  audits below full marks in any run: ' + (', '.join(sorted(failed)) or 'none'))


if __name__ == '__main__':
    main()
