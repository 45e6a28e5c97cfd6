#!/usr/bin/env python3
"""Writes the seed inputs of every fuzz target into fuzz/corpus/<target>/.

    make_corpus.py [corpus-dir]

The seeds are the built-in catalogue and the cases that catch faults: invalid
GBK, lone lead bytes before line ends and at the end, NULs, LF-only and
CR-only line ends, full-width spaces, indented lines, 15- and 16-byte
mnemonics.
"""
import os
import sys

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'fuzz', 'corpus')
builtin = open(os.path.join(root, 'resources', 'builtin_catalogue.txt'), 'rb').read()


def gbk(text):
    return text.encode('gbk')


# Catalogue files.
files = {
    'builtin': builtin,
    'records': gbk('MOV     传送字或字节.  \r\nINC     加 1.  \r\nNEG     求反(以    0 减之).  \r\n'
                   'FSUBP  \r\nXCHG    交换寄存器.  \r\n'),
    'blank_and_indented': gbk('MOV  b.\r\n\r\n    \r\n\u3000\u3000\r\n ADD  indented\r\n'
                              '\u3000FW   full-width first\r\nAND  a.\r\nCMP  c'),
    'invalid_gbk': b'A  \x81\x20x\r\nB  \xff\xff\x80\x7f\r\nC  \x81\x0d\x0a\r\nD  \xa1',
    'lead_before_line_end': b'A  x\xb0\r\nB  y\r\nC  \xd7\r\n\r\nD  z\xb0',
    'nul': b'B  x\r\nA  y\xb0\x00C  z\r\n',
    'lf_only': gbk('MOV  传送\nADD  加\nSUB  减\n'),
    'cr_only': gbk('MOV  传送\rADD  加\rSUB  减\r'),
    'mnemonic_widths': gbk('ABCDEFGHIJKLMNO 十五.  \r\nABCDEFGHIJKLMNOP 十六.  \r\n'
                           'ABCDEFGHIJKLMN  十四\r\n'),
    'tabs_and_crs': b'MOV\tx y\r\n\r\r\n\nA \r\r\n',
    'duplicates': b'WAIT  a\r\nWAIT  a\r\nWAIT     b\r\nWAIT\r\nWAIT  \r\n',
}


def write(target, name, data):
    folder = os.path.join(out, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


texts = {
    'record': gbk('MOV     传送字或字节.  '),
    'registers': gbk('寄存器 把AX,CX 翟没懦沁儒') + b'\xd8\xad\xd8\xbf\xa3\xac\xa9\xa6\x81\x40',
    'lone_leads': b'ab\xd4\x61\xb0\x01\xb0\x3f\xff \xb0',
    'blanks': gbk('\u3000\u3000MOV\u3000 X  ') + b'\xb0\xa1\xa1\xb0',
    'line_ends': b'A\r\nB\r\r\n\nC\xb0\r\nX\n\r',
}

for name, data in files.items():
    write('fuzz_load', name, data)
    # Editing: command byte, list index, box-edit call, box NUL selection NUL file.
    for command, box, selected in ((0, gbk('cmp  比较 两个 数.'), b''), (1, b'WAIT  changed\x80', b''),
                                   (2, b'', b''), (7, b'x y', b'MOV'), (4, b'', b'WAIT')):
        write('fuzz_editing', f'{name}_{command}', bytes([command, 3, 2]) + box + b'\0' + selected
              + b'\0' + data)
for name, data in list(texts.items()) + [('builtin', builtin)]:
    write('fuzz_fold', name, data)
    write('fuzz_character_wise', name, data)
for name, data in texts.items():
    write('fuzz_take_field', name, b' ' + data)
    write('fuzz_take_field', name + '_tab', b'\t' + data)
write('fuzz_take_field', 'spaces_only', b'    ')

# Search: field selector, event script, amount, query LF records.
for name, head, query in (('description', b'\x01\x00\x00', b'jcq'),
                          ('mnemonic', b'\x00\x00\x00', b'MOV'),
                          ('shrinks', b'\x00\x10\x40', b'A'),
                          ('replaced', b'\x00\x0b\x80', b'X'),
                          ('grows', b'\x01\x0d\x10', b'j'),
                          ('nested', b'\x00\x0e\x00', b'AA'),
                          ('chinese_query', b'\x01\x00\x00', gbk('寄存器'))):
    write('fuzz_search', name, head + query + b'\n' + builtin)
write('fuzz_search', 'edges', b'\x01\x00\x00 \n' + files['invalid_gbk'] + files['mnemonic_widths'])

write('fuzz_sort', 'builtin_lines', b'\n' + builtin)
write('fuzz_sort', 'prefixes', b',MOV,ADD,,Mov,MOVSB,MOV,\xff,\x80,a,A,AA,A')
write('fuzz_sort', 'equal', b'|' + b'|'.join([b'WAIT'] * 64))
write('fuzz_sort', 'descending', b' ' + b' '.join(b'%03d' % k for k in range(200, 0, -1)))

write('fuzz_find_pad', 'record', b'\x00\x05\x0f' + b' ' + gbk('交换寄存器') + b'XCHG' + texts['record'])
write('fuzz_find_pad', 'bytes', b'\x01\xff\x80\x7f' + texts['lone_leads'])
