#!/usr/bin/env python3
"""Zips a folder's files, sorted, with fixed times and modes and no extra
fields holding owners or times, so that the same files always give the same
bytes. Both the web page's ZIP and the Windows ZIP are written so.
Usage: zip-folder.py FOLDER OUT.zip   (times from SOURCE_DATE_EPOCH, if set)"""
import os
import sys
import time
import zipfile

folder, out = sys.argv[1], sys.argv[2]
# A ZIP cannot hold times before 1980.
epoch = max(int(os.environ.get('SOURCE_DATE_EPOCH', '315532800')), 315532800)
stamp = time.gmtime(epoch)[:6]
paths = sorted(os.path.relpath(os.path.join(d, f), folder)
               for d, _, files in os.walk(folder) for f in files)
with zipfile.ZipFile(out, 'w') as archive:
    for path in paths:
        entry = zipfile.ZipInfo(path.replace(os.sep, '/'), stamp)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.create_system = 3
        entry.external_attr = 0o644 << 16
        with open(os.path.join(folder, path), 'rb') as f:
            archive.writestr(entry, f.read(), compresslevel=9)
