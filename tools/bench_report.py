#!/usr/bin/env python3
"""Runs quenstrel_bench with repetitions and prints the medians, each search
also as a ratio to the floor (folding the same bytes once) at the same size.

    tools/bench_report.py [path/to/quenstrel_bench] [--repetitions N] [--filter REGEX]
"""
import argparse
import json
import subprocess
import sys

parser = argparse.ArgumentParser()
parser.add_argument('bench', nargs='?', default='build/native/bench/quenstrel_bench')
parser.add_argument('--repetitions', type=int, default=9)
parser.add_argument('--filter', default='.')
args = parser.parse_args()

out = subprocess.run(
    [args.bench, f'--benchmark_filter={args.filter}', f'--benchmark_repetitions={args.repetitions}',
     '--benchmark_report_aggregates_only=true', '--benchmark_format=json'],
    check=True, capture_output=True, text=True).stdout
medians = {}
for b in json.loads(out)['benchmarks']:
    if b.get('aggregate_name') == 'median':
        medians[b['run_name']] = b

floor = {name.split('/')[1]: b['real_time'] for name, b in medians.items() if name.startswith('BM_Floor/')}
print(f"{'benchmark':<28}{'median':>14}{'throughput':>14}{'vs floor':>10}")
for name, b in medians.items():
    size = name.split('/')[1] if '/' in name else ''
    unit = b['time_unit']
    rate = b.get('bytes_per_second')
    rate_text = f"{rate / 1e9:.2f} GB/s" if rate else ''
    ratio = ''
    if name.startswith('BM_Search') and size in floor:
        ratio = f"{b['real_time'] / floor[size]:.2f}x"
    print(f"{name:<28}{b['real_time']:>11.2f} {unit:<2}{rate_text:>14}{ratio:>10}")
