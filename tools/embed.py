#!/usr/bin/env python3
"""Writes a C++ source that holds a data file's bytes: embed.py FILE SYMBOL OUT."""
import sys

path, symbol, out = sys.argv[1:4]
data = open(path, 'rb').read()
rows = []
for i in range(0, len(data), 24):
    rows.append(','.join(str(b) for b in data[i:i + 24]))
body = ',\n'.join(rows) if data else '0'
with open(out, 'w', encoding='ascii') as f:
    f.write('#include <cstddef>\n#include <string_view>\n\n')
    f.write(f'namespace {{\nalignas(16) const unsigned char kBytes[] = {{\n{body}}};\n}}\n\n')
    f.write(f'namespace quenstrel {{\nstd::string_view {symbol}() {{\n')
    f.write(f'  return {{reinterpret_cast<const char*>(kBytes), {len(data)}u}};\n}}\n}}\n')
