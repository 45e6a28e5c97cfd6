#!/usr/bin/env python3
"""Writes large and hostile catalogue files into a folder, for the tests and
benchmarks that load them (they are made at build time, never kept):

    gen_large_catalogue.py OUTDIR [--copies K ...]

adversarial_N.txt  N records in the order that drives the quicksort with a
                   middle pivot quadratic (see adversarial_order)
shuffled_N.txt     the same records in a random order
one_mb_line.txt    a record of one megabyte between two short ones
random_bytes.txt   10 MB of random bytes (the first NUL ends the text early)
random_no_nul.txt  10 MB of random bytes without a NUL
hostile_lines.txt  built-in records with invalid GBK, lone lead bytes before
                   line ends, indented and blank lines, lone CRs and LFs
lf_only.txt        the built-in catalogue with LF line ends
copies_K.txt       K copies of the built-in catalogue, for each --copies K
"""
import argparse
import os
import random

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
builtin = open(os.path.join(root, 'resources', 'builtin_catalogue.txt'), 'rb').read()
builtin_lines = builtin.split(b'\r\n')[:-1]


def adversarial_order(n):
    """rank[p] for each position p: sorting ranks with a Hoare partition around
    the middle element (lower middle) finds the greatest rank there in every
    span, swaps it to the end and leaves a span one shorter, so the sort makes
    about n*n/2 comparisons, and recursing into the left part goes n deep.
    Built by playing the sort through: the element at the middle of [0, h]
    gets rank h, then moves to h as the partition moves it."""
    slot = list(range(n))  # slot[k]: the position whose element is at k now
    rank = [0] * n
    for h in range(n - 1, 0, -1):
        m = h // 2
        rank[slot[m]] = h
        slot[m], slot[h] = slot[h], slot[m]
    return rank


def record(rank):
    """A record whose byte order is its rank's order: a five-letter mnemonic
    in base 26, then a description from the built-in catalogue."""
    letters = []
    rest = rank
    for _ in range(5):
        rest, digit = divmod(rest, 26)
        letters.append(chr(ord('A') + digit))
    line = builtin_lines[rank % len(builtin_lines)]
    description = line.split(b' ', 1)[1].lstrip(b' ') if b' ' in line else b''
    return ''.join(reversed(letters)).encode() + b'   ' + description


def records_file(ranks):
    return b''.join(record(r) + b'\r\n' for r in ranks)


def hostile_lines(rng):
    out = []
    for _ in range(20000):
        line = rng.choice(builtin_lines)
        kind = rng.randrange(8)
        if kind == 0:
            line += bytes([rng.randrange(0x80, 0x100)])  # takes the CR of the line end
        elif kind == 1:
            at = rng.randrange(len(line) + 1)
            line = line[:at] + rng.choice([b'\x80', b'\xff', b'\x81\x0d', b'\xa1']) + line[at:]
        elif kind == 2:
            line = b' ' + line
        elif kind == 3:
            line = rng.choice([b'', b'   ', '\u3000\u3000'.encode('gbk')])
        out.append(line + rng.choice([b'\r\n'] * 6 + [b'\n', b'\r']))
    return b''.join(out) + b'LAST  \xb0'


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('outdir')
    parser.add_argument('--copies', type=int, action='append', default=[])
    args = parser.parse_args()
    os.makedirs(args.outdir, exist_ok=True)
    rng = random.Random(7)
    files = {}
    for n in (20000, 200000):
        ranks = adversarial_order(n)
        files[f'adversarial_{n}.txt'] = records_file(ranks)
        rng.shuffle(ranks)
        files[f'shuffled_{n}.txt'] = records_file(ranks)
    # Lone CRs, spaces and pairs, but no line end inside.
    big = bytes(rng.choice(b'ab \xb0\xa1\r') for _ in range(1 << 20)).replace(b'\r\n', b'')
    files['one_mb_line.txt'] = b'A  x\r\nBIG   ' + big + b'z\r\nC  y\r\n'
    files['random_bytes.txt'] = rng.randbytes(10 << 20)
    files['random_no_nul.txt'] = bytes(b or 1 for b in rng.randbytes(10 << 20))
    files['hostile_lines.txt'] = hostile_lines(rng)
    files['lf_only.txt'] = builtin.replace(b'\r\n', b'\n')
    for k in args.copies:
        files[f'copies_{k}.txt'] = builtin * k
    for name, data in files.items():
        with open(os.path.join(args.outdir, name), 'wb') as f:
            f.write(data)


main()
