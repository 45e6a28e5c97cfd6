#!/usr/bin/env python3
"""Checks that the built-in catalogue keeps every property the program relies on.

Usage: check_catalogue.py [CATALOGUE [INITIALS_TABLE]]
Defaults: resources/builtin_catalogue.txt and resources/initials_table.bin.
Prints one line per property ("ok" or "FAIL" with the lines concerned) and
exits with 1 when any property fails.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SIZE = 11568
LINE_COUNT = 223
CHINESE_COUNT = 2096
FULL_STOPS = 98  # among lines 1-132

MNEMONICS = """
MOV MOVSX MOVZX PUSH POP PUSHA POPA PUSHAD POPAD BSWAP XCHG CMPXCHG XADD XLAT
IN OUT LEA LDS LES LFS LGS LSS LAHF SAHF PUSHF POPF PUSHD POPD
ADC INC AAA DAA SUB SBB DEC NEG CMP AAS DAS MUL IMUL AAM DIV IDIV AAD CBW CWD
CWDE CDQ
AND OR XOR NOT TEST SHL SAL SHR SAR ROL ROR RCL RCR
MOVS CMPS SCAS LODS STOS REP REPE/REPZ REPNE/REPNZ REPC REPNC
JMP CALL RET/RETF JA/JNBE JAE/JNB JB/JNAE JBE/JNA JG/JNLE JGE/JNL JL/JNGE
JLE/JNG JE/JZ JNE/JNZ JC JNC JNO JNP/JPO JNS JO JP/JPE JS LOOP LOOPE/LOOPZ
LOOPNE/LOOPNZ JCXZ JECXZ
INT INTO IRET
HLT WAIT ESC LOCK NOP STC CLC CMC STD CLD STI CLI
DW PROC ENDP SEGMENT ASSUME ENDS END
CLC CMC STC CLD STD CLI STI NOP HLT WAIT ESC LOCK
FINIT FCLEX FDISI FENI WAIT FWAIT FNOP FXCH FXCH FSTSW FSTSW FLDCW FSTCW FLDENV
FSTENV FRSTOR FSAVE FFREE FDECSTP FINCSTP FSETPM FLDZ FLD1 FLDPI FLDL2T FLDL2E
FLDLG2 FLDLN2 FLD FLD FLD FILD FILD FILD FBLD FST FST FIST FIST FSTP FSTP FSTP
FISTP FISTP FISTP FBSTP FCMOVB FCMOVBE FCMOVE FCMOVNB FCMOVNBE FCMOVNE FCMOVNU
FCMOVU FCOM FCOMI FCOMIP FCOM FCOM FICOM FICOM FICOMP FICOMP FTST FUCOM FUCOMP
FUCOMPP FXAM
FADD FADDP FIADD FSUB FSUBP FSUBR FSUBRP FISUB FISUBR FMUL FMULP FIMUL FDIV
FDIVP FDIVR FDIVRP FIDIV FIDIVR FCHS FABS FSQRT FSCALE FRNDINT
""".split()

# (first line, last line, description column)
BLOCKS = [(1, 67, 8), (68, 93, 12), (94, 98, 16), (99, 120, 12),
          (121, 132, 8), (133, 200, 22), (201, 223, 22)]
FLOAT_TABLE = range(133, 201)
PROSE = range(201, 224)
EMPTY_LINES = {205, 207, 208, 209, 211, 212, 214, 215, 216, 217, 218}
LONGEST_LINE = 222

# (line, column, text from that column up to the trailing spaces, field 2)
TELLING_ROWS = [
    (1, 8, '传送字或字节.', None),
    (2, 8, '先符号扩展,再传送.', None),
    (12, 8, '比较并交换操作数.(第二个操作数必须为累加器AL/AX/EAX)', None),
    (15, 8, 'I/O端口输入. ( 语法: IN   累加器,    {端口号│DX} )',
     'I/O端口输入.(语法:IN累加器,{端口号│DX})'),
    (30, 8, '加 1.', '加1.'),
    (36, 8, '求反(以    0 减之).', '求反(以0减之).'),
    (70, 12, '当ZF=0或比较结果不相等,且CX/ECX<>0时重复', None),
    (96, 16, 'CX不为零且标志Z=0时循环.', None),
    (103, 12, '当芯片引线TEST为高电平时使CPU进入等待状态.', None),
    (108, 12, '清进位标志位.', None),
    (121, 8, '进位位置0指令', None),
    (130, 8, '等待', None),
    (133, 22, '初始化浮点部件                  机器码  9B DB E3', '初始化浮点部件机器码9BDBE3'),
    (137, 22, '同步CPU和FPU                    机器码  9B', '同步CPU和FPU机器码9B'),
    (141, 5, 'ST(i)            交换ST(0)和ST(i)                机器码  D9 C1iii',
     'ST(i)交换ST(0)和ST(i)机器码D9C1iii'),
    (161, 7, 'real4 ptr mem  装入mem的单精度浮点数             机器码  D9 mm000mmm',
     'real4ptrmem装入mem的单精度浮点数机器码D9mm000mmm'),
    (205, 5, '', ''),
    (223, 22, '这个指令是把 ST 的数值舍入成整数，FPU    提供四种舍入方式，由 FPU 的控制字组'
     '(control    word)中的 RC 两个位决定',
     '这个指令是把ST的数值舍入成整数，FPU提供四种舍入方式，由FPU的控制字组(controlword)中的RC两个位决定'),
]

ASCII_ALLOWED = set(b'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 '
                    b'!"()*+,-./:;<=>[]^{}')
FULL_COMMA, FULL_STOP = '，'.encode('gbk'), '。'.encode('gbk')
BAR, PI = '│'.encode('gbk'), 'π'.encode('gbk')
SYMBOLS = {FULL_COMMA: PROSE, FULL_STOP: PROSE}  # symbol -> lines allowed
NAMED_SYMBOLS = {BAR: {'IN', 'OUT'}, PI: {'FLDPI'}, b'"': {'JNS', 'JS'}}
MACHINE_CODE = '机器码'.encode('gbk')
OPERAND = re.compile(rb'ST\(i\)|ax|mem|(word|dword|qword|real4|real8|real10|tbyte) ptr mem')
ENCODING = re.compile(rb'[0-9A-F]{2}( ([0-9A-F]{2}|[0-9A-F][01]iii|mm[01]{3}mmm))*')


def Gbk(text):
    return text.encode('gbk')


def Chars(line):
    """Splits a line into characters: one byte, or a lead byte with its trail."""
    i, out = 0, []
    while i < len(line):
        step = 2 if line[i] >= 0x80 else 1
        out.append(line[i:i + step])
        i += step
    return out


def IsValidPair(pair):
    return (len(pair) == 2 and 0x81 <= pair[0] <= 0xFE
            and 0x40 <= pair[1] <= 0xFE and pair[1] != 0x7F)


def IsChinese(pair):
    try:
        ch = pair.decode('gbk')
    except UnicodeDecodeError:
        return False
    return '\u3400' <= ch <= '\u4dbf' or '\u4e00' <= ch <= '\u9fff'


def Field(text, number):
    """Field 1 is the first word; any other number joins every non-space byte
    after the first word ends at a space (the program's field rule)."""
    out, ends = bytearray(), 0
    for i, b in enumerate(text):
        if b == 0x20:
            continue
        out.append(b)
        if i + 1 < len(text) and text[i + 1] == 0x20:
            ends += 1
            if ends == 1:
                if number == 1:
                    return bytes(out)
                out = bytearray()
    return bytes(out)


def Fold(text, table):
    out, i = bytearray(), 0
    while i < len(text):
        b = text[i]
        if b < 0x80 or i + 1 == len(text):
            out.append(b)
            i += 1
            continue
        cell = table[b * 1000 + text[i + 1]]
        out += text[i:i + 2] if cell == 0x20 else bytes([cell])
        i += 2
    return bytes(out)


def LineList(numbers):
    numbers = sorted(set(numbers))
    shown = ', '.join(str(n) for n in numbers[:40])
    return 'line ' + shown if len(numbers) == 1 else 'lines ' + shown + (' ...' if len(numbers) > 40 else '')


def ColumnOf(number):
    for first, last, column in BLOCKS:
        if first <= number <= last:
            return column
    return None


def CheckSize(data, lines):
    return [] if len(data) == SIZE else [f'{len(data)} bytes, expected {SIZE}']


def CheckLineEnds(data, lines):
    problems = []
    if not data.endswith(b'\r\n'):
        problems.append('the text does not end in CR LF')
    if len(lines) != LINE_COUNT:
        problems.append(f'{len(lines)} lines, expected {LINE_COUNT}')
    bad = [n for n, l in Numbered(lines) if any(c < 0x20 or c == 0x7F for c in l)]
    if bad:
        problems.append('TAB, NUL, lone CR or LF or another control byte in ' + LineList(bad))
    bad = [n for n, l in Numbered(lines) if any(c[0] >= 0x80 and not IsValidPair(c) for c in Chars(l))]
    if bad:
        problems.append('bytes that are not GBK in ' + LineList(bad))
    return problems


def Numbered(lines):
    return list(enumerate(lines, 1))


def CheckMnemonics(data, lines):
    problems = []
    got = [Field(l, 1).decode('ascii', 'replace') for l in lines]
    wrong = [n for n, (a, b) in enumerate(zip(got, MNEMONICS), 1) if a != b]
    if wrong or len(got) != len(MNEMONICS):
        problems.append('mnemonic not the expected one in ' + LineList(wrong or [len(got)]))
    bad = [n for n, m in enumerate(got, 1) if not re.fullmatch(r'[A-Z12/]+', m)]
    if bad:
        problems.append('mnemonic has a byte other than A-Z, 1, 2, / in ' + LineList(bad))
    repeated = {m for m in got if got.count(m) > 1}
    summary = (len(set(got)), len(repeated), sum(got.count(m) for m in repeated))
    if summary != (194, 23, 52):
        problems.append('%d distinct mnemonics, %d repeated in %d records; expected 194, 23, 52' % summary)
    return problems


def CheckLayout(data, lines):
    problems = {'begins with a space': [], 'description not at its column': [],
                'not one to eighteen spaces after the mnemonic': [],
                'not exactly two trailing spaces': []}
    for n, line in Numbered(lines):
        if line.startswith(b' '):
            problems['begins with a space'].append(n)
            continue
        if not line.endswith(b'  ') or line.endswith(b'   '):
            problems['not exactly two trailing spaces'].append(n)
        mnemonic = Field(line, 1)
        rest = line[len(mnemonic):-2]
        gap = len(rest) - len(rest.lstrip(b' '))
        if rest and not 1 <= gap <= 18:
            problems['not one to eighteen spaces after the mnemonic'].append(n)
        column = ColumnOf(n)
        if n in FLOAT_TABLE or not rest or column is None:
            continue
        if len(mnemonic) + gap != column:
            problems['description not at its column'].append(n)
    return [f'{what}: {LineList(ns)}' for what, ns in problems.items() if ns]


def CheckTellingRows(data, lines):
    bad = []
    for n, column, text, field in TELLING_ROWS:
        if n > len(lines):
            bad.append(n)
            continue
        line = lines[n - 1]
        expected = Gbk(text)
        head_ok = line[:column].rstrip(b' ') == Gbk(MNEMONICS[n - 1]) and (not text or line[column - 1] == 0x20)
        if not head_ok or line[column:-2] != expected or not line.endswith(b'  ') or \
                Field(line, 2) != Gbk(text if field is None else field):
            bad.append(n)
    return ['not as quoted: ' + LineList(bad)] if bad else []


def CheckEmptyDescriptions(data, lines):
    empty = {n for n, l in Numbered(lines) if Field(l, 2) == b''}
    problems = []
    if empty != EMPTY_LINES:
        problems.append('empty description field in ' + LineList(empty) +
                        '; expected ' + LineList(EMPTY_LINES))
    bad = [n for n in EMPTY_LINES if n <= len(lines) and lines[n - 1] != Field(lines[n - 1], 1) + b'  ']
    if bad:
        problems.append('not mnemonic and two spaces: ' + LineList(bad))
    return problems


def CheckLengths(data, lines):
    if not lines:
        return ['no lines']
    problems = []
    sizes = [len(l) for l in lines]
    if min(sizes) != 7:
        problems.append(f'shortest line {min(sizes)} bytes, expected 7')
    short = [n for n, l in Numbered(lines) if len(l) == min(sizes) and Field(l, 2)]
    if short:
        problems.append('shortest lines that are more than a mnemonic: ' + LineList(short))
    longest = [n for n, s in enumerate(sizes, 1) if s == max(sizes)]
    if max(sizes) != 283 or longest != [LONGEST_LINE]:
        problems.append(f'longest line {max(sizes)} bytes in {LineList(longest)}; '
                        f'expected 283 bytes in line {LONGEST_LINE} alone')
    return problems


def CheckCharacters(data, lines):
    problems = {}
    def Note(what, n):
        problems.setdefault(what, []).append(n)
    seen = {symbol: set() for symbol in NAMED_SYMBOLS}
    for n, line in Numbered(lines):
        mnemonic = Field(line, 1)
        for c in Chars(line[len(mnemonic):]):
            if c in NAMED_SYMBOLS:
                seen[c].add(mnemonic.decode('ascii', 'replace'))
            elif c in SYMBOLS:
                if n not in SYMBOLS[c]:
                    Note(c.decode('gbk') + ' outside lines 201-223', n)
            elif len(c) == 2 and not IsChinese(c):
                Note('a double-byte character that is neither Chinese nor a listed symbol', n)
            elif len(c) == 1 and c[0] not in ASCII_ALLOWED:
                Note('an ASCII byte outside the allowed set', n)
            if n in PROSE and c in (b',', b'.'):
                Note('half-width comma or full stop in the prose lines', n)
    out = [f'{what}: {LineList(ns)}' for what, ns in problems.items()]
    for symbol, owners in NAMED_SYMBOLS.items():
        if seen[symbol] != owners:
            out.append('%s stands in %s; expected exactly %s' % (
                symbol.decode('gbk'), sorted(seen[symbol]) or 'no record', sorted(owners)))
    return out


def CountChinese(lines):
    listed = {FULL_COMMA, FULL_STOP, BAR, PI}
    return sum(1 for l in lines for c in Chars(l) if len(c) == 2 and c not in listed)


def CheckChineseCount(data, lines):
    count = CountChinese(lines)
    hanzi = sum(1 for l in lines for c in Chars(l) if len(c) == 2 and IsChinese(c))
    problems = []
    if count != CHINESE_COUNT:
        problems.append(f'{count} double-byte characters besides the four symbols, expected {CHINESE_COUNT}')
    if hanzi != count:
        problems.append(f'only {hanzi} of them are Chinese characters')
    return problems


def CheckFullStops(data, lines):
    ending = [n for n, l in Numbered(lines[:132]) if l.rstrip(b' ').endswith(b'.')]
    problems = []
    if len(ending) != FULL_STOPS:
        problems.append(f'{len(ending)} of lines 1-132 end in ".", expected {FULL_STOPS}')
    late = [n for n in ending if n >= 121]
    if late:
        problems.append('the short second wording ends in ".": ' + LineList(late))
    return problems


def CheckFloatTable(data, lines):
    problems = {}
    def Note(what, n):
        problems.setdefault(what, []).append(n)
    for n in FLOAT_TABLE:
        if n > len(lines):
            break
        line = lines[n - 1]
        mnemonic = Field(line, 1)
        head = line[len(mnemonic):22]
        operand = head.strip(b' ')
        if operand:
            start = len(mnemonic) + head.index(operand)
            end = start + len(operand)
            if not OPERAND.fullmatch(operand):
                Note('operand not ST(i), ax or a memory operand', n)
            elif operand.endswith(b'mem') and end != 20:
                Note('memory operand does not end at column 20', n)
            elif end > 21:
                Note('operand runs up to column 22', n)
        if len(line) <= 22 or line[22] == 0x20 or line[21] != 0x20:
            Note('description proper not at column 22', n)
        at = line.find(MACHINE_CODE)
        if at < 0 or line.count(MACHINE_CODE) != 1:
            Note('"机器码" missing or repeated', n)
            continue
        if not 52 <= at <= 58 or line[at - 1] != 0x20 or not line[22:at].strip(b' '):
            Note('"机器码" not after a description, between columns 52 and 58', n)
        if line[at + 6:at + 8] != b'  ' or not ENCODING.fullmatch(line[at + 8:-2]):
            Note('"机器码" not followed by two spaces and the encoding', n)
    return [f'{what}: {LineList(ns)}' for what, ns in problems.items()]


def CheckLoadOrder(data, lines):
    order = sorted(range(len(lines)), key=lambda i: lines[i])
    names = [Field(lines[i], 1).decode('ascii', 'replace') for i in order]
    problems = []
    if names[:9] != 'AAA AAD AAM AAS ADC AND ASSUME BSWAP CALL'.split() or \
            names[-8:] != 'TEST WAIT WAIT WAIT XADD XCHG XLAT XOR'.split():
        problems.append('sorted catalogue does not begin AAA ... CALL and end TEST ... XOR')
    waits = [i + 1 for i in order if Field(lines[i], 1) == b'WAIT']
    if waits != [137, 103, 130]:
        problems.append(f'WAIT records sort as lines {waits}, expected [137, 103, 130]')
    return problems


# (query, field, mnemonics of the hits in catalogue order)
SEARCH_FACTS = [
    ('jcq', 2, 'ASSUME BSWAP LAHF OUT SAHF XCHG'),
    ('JCQ', 2, ''),
    ('bAX', 2, 'CWD CWDE PUSHA'),
    ('MOVS', 1, 'MOVS MOVSX'),
    ('XCHG', 1, 'CMPXCHG XCHG'),
    ('FSTP', 1, 'FSTP FSTP FSTP'),
    ('FSUBP', 1, 'FSUBP'),
]
FIELD_FACTS = [
    ('MOVS', '串传送.(MOVSB传送字符.MOVSW传送字.MOVSD传送双字.)'),
    ('MOVSX', '先符号扩展,再传送.'),
]


def CheckSearchFacts(data, lines, table):
    if table is None or len(table) != 256000:
        return ['no 256000-byte initials table to fold with']
    problems = []
    if Fold(Gbk('寄存器'), table) != b'jcq':
        problems.append('the initials table does not fold 寄存器 to jcq')
    order = sorted(range(len(lines)), key=lambda i: lines[i])
    for query, number, expected in SEARCH_FACTS:
        hits = [i for i in order if Gbk(query) in Field(Fold(lines[i], table), number)]
        names = ' '.join(Field(lines[i], 1).decode('ascii', 'replace') for i in hits)
        if names != expected:
            problems.append(f'"{query}" in field {number} hits {names or "nothing"} '
                            f'({LineList([i + 1 for i in hits])}); expected {expected or "nothing"}')
    for mnemonic, field in FIELD_FACTS:
        records = [l for l in lines if Field(l, 1) == Gbk(mnemonic)]
        if [Field(l, 2) for l in records] != [Gbk(field)]:
            problems.append(f'{mnemonic} description field is not "{field}"')
    return problems


CHECKS = [
    ('size', CheckSize), ('line ends and control bytes', CheckLineEnds),
    ('mnemonics and their order', CheckMnemonics), ('block columns and spaces', CheckLayout),
    ('quoted rows', CheckTellingRows), ('empty descriptions', CheckEmptyDescriptions),
    ('shortest and longest line', CheckLengths), ('characters and their places', CheckCharacters),
    ('Chinese character count', CheckChineseCount), ('final full stops', CheckFullStops),
    ('floating-point table', CheckFloatTable), ('sorted order', CheckLoadOrder),
]


def Main(argv):
    path = argv[1] if len(argv) > 1 else os.path.join(ROOT, 'resources', 'builtin_catalogue.txt')
    table_path = argv[2] if len(argv) > 2 else os.path.join(ROOT, 'resources', 'initials_table.bin')
    data = open(path, 'rb').read()
    lines = data.split(b'\r\n')
    if lines and lines[-1] == b'':
        lines.pop()
    table = open(table_path, 'rb').read() if os.path.exists(table_path) else None
    results = [(name, check(data, lines)) for name, check in CHECKS]
    results.append(('search facts', CheckSearchFacts(data, lines, table)))
    failed = 0
    for name, problems in results:
        if not problems:
            print(f'ok    {name}')
        for problem in problems:
            print(f'FAIL  {name}: {problem}')
        failed += bool(problems)
    print(f'{len(results) - failed} of {len(results)} properties hold')
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(Main(sys.argv))
