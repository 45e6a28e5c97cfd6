#!/usr/bin/env python3
"""Writes resources/initials_table.bin: the pinyin initial of every GB2312 character.

The cell of the GBK pair (lead, trail) is the byte at lead * 1000 + trail; it
holds a lower-case letter, or a space where the pair has no initial. Every
other byte is a space. The script checks the table against its known figures
and writes nothing if any of them is off.

Usage: gen_initials_table.py [OUT]
"""
import os
import sys

SIZE = 256000
STRIDE = 1000
SPACE = 0x20
FIRST_TRAIL = 0xA1
LAST_TRAIL = 0xFE
ROW_CELLS = LAST_TRAIL - FIRST_TRAIL + 1

# Level-1 characters are in pinyin order, so each initial covers one range of
# codes (inclusive, in GB2312 order: trail A1..FE, then the next lead).
LEVEL1_RANGES = [
    ('a', 0xB0A1, 0xB0C4), ('b', 0xB0C5, 0xB2C0), ('c', 0xB2C1, 0xB4ED),
    ('d', 0xB4EE, 0xB6E9), ('e', 0xB6EA, 0xB7A1), ('f', 0xB7A2, 0xB8C0),
    ('g', 0xB8C1, 0xB9FD), ('h', 0xB9FE, 0xBBF6), ('j', 0xBBF7, 0xBFA5),
    ('k', 0xBFA6, 0xC0AB), ('l', 0xC0AC, 0xC2E7), ('m', 0xC2E8, 0xC4C2),
    ('n', 0xC4C3, 0xC5B5), ('o', 0xC5B6, 0xC5BD), ('p', 0xC5BE, 0xC6D9),
    ('q', 0xC6DA, 0xC8BA), ('r', 0xC8BB, 0xC8F5), ('s', 0xC8F6, 0xCBF9),
    ('t', 0xCBFA, 0xCDD9), ('w', 0xCDDA, 0xCEF3), ('x', 0xCEF4, 0xD1B8),
    ('y', 0xD1B9, 0xD4D0), ('z', 0xD4D1, 0xD7F9),
]
LEVEL1_FIRST, LEVEL1_LAST = 0xB0A1, 0xD7F9

# Level-1 cells whose letter differs from their range (None: a space).
LEVEL1_EXCEPTIONS = {
    0xB5D4: 'z',   # 翟
    0xC3BB: 't',   # 没
    0xC5B3: 'r',   # 懦
    0xC7DF: None,  # 沁
    0xC8E5: None,  # 儒
}

# D7FA..D7FE are unassigned in GB2312 and stay spaces.
UNASSIGNED = range(0xD7FA, 0xD7FF)

# Level-2 characters are ordered by radical, so every cell is listed: one row
# per lead byte, one character per trail byte A1..FE, '.' for a space.
LEVEL2_FIRST_LEAD = 0xD8
LEVEL2_ROWS = [
    "cjwgnspgcgne.y.btyyzdxykygt.jnmjqmbsgzscyjsyy.pgkbzgy.ywjkgkljywkpjqhy.w.dzlsgmrypywwcckznkyyg",  # D8
    "ttngjeykkzytcjnmcylqlypyqfqrpzslwbtgkjfyxjwzltbncxjjjjzxdttsqzy.dxxhgck.phffss.ybgmxlpbyll.hlx",  # D9
    "s.zm.jhsojnghdzqyklgjhsgqzhxqgkezzwyscscjxyeyxadzpmdssmzjzqjyzc.j.wqjbdzbxgznzcpwhkxhqkmwfbpby",  # DA
    "dtjzzkqhylygxfptyjyyzpszlfchmqshgmxxsxj..dcsbbqbefsjyhwwgzkpylqbgldlcctnmayddkssngycsgxlyzaypn",  # DB
    "ptsdkdylhgymylcxpy.jndqjwxqxfyyfjlejpzrxccqwqqsbzkymgplbmjrqcflnymyqmsqtrbcjthztqfrxqhxmjjcjlx",  # DC
    "qgjmshzkbswyemyltxfsydsglycjqxsjnqbsctyhbftdcyzdjwyghqfrxwckqkxebptlpxjzsrmebwhjlbjslyysmdxlcl",  # DD
    "qkxlhxjrzjmfqhxhwywsbhtrxxglhqhfnmmykldyxzpylgg.mtcfpajjzyljtyanjgbjplqgdzyqyaxbkysecjsznslyzh",  # DE
    "zxlzcghpxzhznytdsbcjkdlzayfmydlebbgqyzkxgldndnyskjshdlyxbcghxypkdjmmzngmmclgwzszxzjfznmlzzthcs",  # DF
    "ydbdllscddnlkjykjsycjlkwhqasdknhcsganhdaashtcplcpqybsdmpjlpcjoqlcdhjjysprchnkjnlhlyyqyhwzptczg",  # E0
    "wwmzffjqqqqyxaclbhkdjxdgmmydjxzllsygxgkjrywzwyclzmssjzldbydcfcxyhlxchyzjq..qagmnyxpfrkssbjlyxy",  # E1
    "syglnscmhcwwmnzjjlxxhchsy..ttxrycyxbyhcsmxjsznpwgpxxtaybgajcxly.dccwzocwkccsbnhcpdyznfcyytyckx",  # E2
    "kybsqkkytqqxfcwchcykelzqbsqyjqcclmthsywhmktlkjlycxwheqqhtqk.pq.qscfymmdmgbwhwlgsllysdlmlxpthmj",  # E3
    "hwljzyhzjxhtxjlhxrswlwzjcbxmhzqxsdzpmgfcsglsxymjshxpjxwmyqksmyplrthbxftpmhyxlchlhlzylxgsssstcl",  # E4
    "sldclrpbhzhxyyfhb.gdmycnqqwlqhjj.ywjzyejjdhpblqxtqkwhlchqxagtlxljxmsl.htzkzjecxjcjnmfby.sfywyb",  # E5
    "jzgnysdzsqyrsljpclpwxsdwejbjcbcnaytwgmpapclyqpclzxsbnmsggfnzjjbzsfzyndxhplqkzczwalsbccjx.yzgwk",  # E6
    "ypsgxfzfcdkhjgxtlqfsgdslqwzkxtmhsbgzmjzrglyjbpmlmsxlzjqqhzyjczydjwbmjklddpmjegxyhylxhlqyqhkycw",  # E7
    "cjmyyxnatjhyccxzpcqlbzwwytwbqcmlpmyrjcccxfpznzzljplxxyztzlgdldcklyrzzgqtgjhhgjljaxfgfjzslcfdqz",  # E8
    "lclgjdjcsnclljpjqdcclcjxmyzftsxgcgsbrzxjqqctzhgyqtjqqlzxjylylbcyamcstylpdjbyregklzyzhlyszqlznw",  # E9
    "czcllwjqjjjkdgjzolbbzppglghtgzxyghzmycnqsycyhbhgxkamtxyxnbskyzzgjzlqldfcjxdygjqjjpmgwgjjjpkqsb",  # EA
    "gbmmcjssclpqpdxcdyyky.cjddyygywrhjrtgznyqldkljszzgzqzjgdykshpzmtlcpwnjafyzdjcnmwescyglbtzcgmss",  # EB
    "llyxqsxsbsjsbbsgghfjlwpmzjnlyywdqshzxtyywhmcyhywdbxbtlmsyyyfsxjc.dxxlhjhf.sxzqhfzmzcztqcxzxrtt",  # EC
    "djhnnyzqqmtqdmmg.ydxmjgdhcdyzbffallztdltfxmxqzdngwqdbdczjdxbzgsqqddjcmbkzff.mkdmdsycszcmljdsyn",  # ED
    "sprskmkmpcklgdbqtfzswtfgglyplljzhgj.gypzltcsmcnbtjbqfkthbyzgkpbbymtdssxtbnpdkleycjnycdykzddhqh",  # EE
    "sdzsctarlltkzlgecllkjlqjaqnbdkkghpjtzqksecshalqfmmgjnlyjbbtmlyzxdcjpldlpcqdhzycbzsczbzmsljflkr",  # EF
    "zjsnfrgjhxpdhyjybzgdlqcsezgxlblgyxtwmabchecmwyjyzlljjyhlg.djlslygkdzpzxjyyzlwcxszfgwyydlyhcljs",  # F0
    "cmbjhblyzlycblydpdqysxqzbytdkyxjy.cnrjmpdjgklcljbctbjddbblblczqrpyxjcglzcshltoljnmdddlngkaqhqh",  # F1
    "jhykheznmshrpp.qjchgmfprxhjgdychgklyrzqlcyqjnzsqtkqjymszswlcfqqqxyfggyptqwlmcrnfkkfsyylqbmqamm",  # F2
    "myxctpshcptxxzzsmphpshmclmldqfyqxszyjdjjzzh.pdszglstjbckbxyqzjsgpsxqzqzrqtbdkyxzkhhgflbcsmdldg",  # F3
    "dzdblzyycxnncsybzbfglzzxswmsccmqnjqsbdqsjtxxmbltxzclzshzcxrqjgjylxzfjphymzqqydfqjjlzznzjcdgzyg",  # F4
    "ctxmzysctlkphtxhtlbjxjlxscdqxcbbtjfqzfsltjbtkqbxxjjljchczdbzjdczjdcprnpqcjpfczlclzxzdmxmphjsgz",  # F5
    "gszzqjylwtjpfsyaxmcjbtzyycwmytcsjjljcqlwzmalbxyfbpnlsfhtgjwejjxxglljstgshjqlzfkcgnndszfdeqfhbs",  # F6
    "aqtgylbxmmygszldydqmjjrgbjtkgdhgkblqkbdmbylxwcxyttybkmrtjzxqjbhlmhmjjzmqasldcyxyqdlqcafywyxqhz",  # F7
]

# The figures the finished table must show.
EXPECTED_LETTERS = 6720
EXPECTED_LEVEL1_LETTERS = 3753
EXPECTED_LEVEL1_COUNTS = dict(
    a=36, b=184, c=233, d=183, e=22, f=125, g=155, h=181, j=295, k=100, l=248,
    m=150, n=80, o=8, p=122, q=156, r=59, s=286, t=157, w=120, x=223, y=306,
    z=324)
EXPECTED_LEVEL2_COUNTS = dict(
    a=36, b=129, c=194, d=142, e=27, f=80, g=144, h=142, j=229, k=99, l=225,
    m=134, n=75, o=5, p=100, q=159, r=41, s=177, t=107, w=83, x=166, y=259,
    z=214)
EXPECTED_LEVEL2_SPACES = [
    0xD8AD, 0xD8AF, 0xD8BC, 0xD8CE, 0xD8D6, 0xD8E7, 0xD8E9, 0xD9E0, 0xD9E8,
    0xD9EF, 0xD9FB, 0xDAA2, 0xDAA5, 0xDAE0, 0xDAE2, 0xDBC8, 0xDBC9, 0xDCB3,
    0xDED0, 0xE1EA, 0xE1EB, 0xE2BA, 0xE2BB, 0xE2E0, 0xE3DC, 0xE3DF, 0xE5B2,
    0xE5C1, 0xE5E6, 0xE5F8, 0xE6F9, 0xEBB6, 0xECE1, 0xECEA, 0xEDB1, 0xEDEC,
    0xEEC4, 0xF0DA, 0xF1C2, 0xF2AF, 0xF3CC,
]
EXPECTED_SAMPLES = {
    0xB5D4: 'z', 0xC3BB: 't', 0xC5B3: 'r', 0xC7DF: ' ', 0xC8E5: ' ',
    0xD8A1: 'c', 0xD8A2: 'j', 0xD8A3: 'w', 0xD8A6: 's', 0xD8B4: 'z',
    0xD8BF: 'm', 0xD8C1: 'q', 0xF7FE: 'z', 0xD8AD: ' ', 0xBCC4: 'j',
    0xB4E6: 'c', 0xC6F7: 'q',  # 寄存器
}


def GbCodes(first, last):
    """Codes from first to last inclusive, in GB2312 order."""
    for lead in range(first >> 8, (last >> 8) + 1):
        for trail in range(FIRST_TRAIL, LAST_TRAIL + 1):
            code = lead << 8 | trail
            if first <= code <= last:
                yield code


def Offset(code):
    return (code >> 8) * STRIDE + (code & 0xFF)


def Level2Codes():
    last = (LEVEL2_FIRST_LEAD + len(LEVEL2_ROWS) - 1) << 8 | LAST_TRAIL
    return GbCodes(LEVEL2_FIRST_LEAD << 8 | FIRST_TRAIL, last)


def Build():
    table = bytearray([SPACE]) * SIZE
    for letter, first, last in LEVEL1_RANGES:
        for code in GbCodes(first, last):
            table[Offset(code)] = ord(letter)
    for code, letter in LEVEL1_EXCEPTIONS.items():
        table[Offset(code)] = ord(letter) if letter else SPACE
    for index, row in enumerate(LEVEL2_ROWS):
        lead = LEVEL2_FIRST_LEAD + index
        for trail, cell in zip(range(FIRST_TRAIL, LAST_TRAIL + 1), row):
            table[lead * STRIDE + trail] = SPACE if cell == '.' else ord(cell)
    return table


def Counts(table, codes):
    counts = {}
    for code in codes:
        cell = chr(table[Offset(code)])
        if cell != ' ':
            counts[cell] = counts.get(cell, 0) + 1
    return counts


def Check(table):
    """Returns the list of figures that do not match."""
    faults = []

    def Expect(what, got, want):
        if got != want:
            faults.append(f'{what}: got {got!r}, want {want!r}')

    Expect('table size', len(table), SIZE)
    Expect('level-2 rows', len(LEVEL2_ROWS), 0xF7 - LEVEL2_FIRST_LEAD + 1)
    for index, row in enumerate(LEVEL2_ROWS):
        Expect(f'cells in row {LEVEL2_FIRST_LEAD + index:02X}', len(row), ROW_CELLS)
    Expect('range starts', [f'{c:04X}' for _, c, _ in LEVEL1_RANGES[1:]],
           [f'{GbNext(last):04X}' for _, _, last in LEVEL1_RANGES[:-1]])
    Expect('level-1 ends', (LEVEL1_RANGES[0][1], LEVEL1_RANGES[-1][2]),
           (LEVEL1_FIRST, LEVEL1_LAST))
    level1 = list(GbCodes(LEVEL1_FIRST, LEVEL1_LAST))
    Expect('level-1 letters by initial', Counts(table, level1), EXPECTED_LEVEL1_COUNTS)
    Expect('level-1 letters', sum(Counts(table, level1).values()), EXPECTED_LEVEL1_LETTERS)
    level2 = list(Level2Codes())
    Expect('level-2 letters by initial', Counts(table, level2), EXPECTED_LEVEL2_COUNTS)
    Expect('level-2 spaces', [c for c in level2 if table[Offset(c)] == SPACE],
           EXPECTED_LEVEL2_SPACES)
    Expect('unassigned codes', [chr(table[Offset(c)]) for c in UNASSIGNED], [' '] * 5)
    for code, want in EXPECTED_SAMPLES.items():
        Expect(f'cell {code:04X}', chr(table[Offset(code)]), want)
    inside = {Offset(c) for c in GbCodes(0xB0A1, 0xF7FE)}
    letters = [i for i, b in enumerate(table) if b != SPACE]
    Expect('letters in all', len(letters), EXPECTED_LETTERS)
    Expect('letters outside B0A1..F7FE', [i for i in letters if i not in inside], [])
    allowed = set(b'abcdefghjklmnopqrstwxyz')
    Expect('cells not a space or allowed letter',
           sorted({b for b in table if b != SPACE and b not in allowed}), [])
    return faults


def GbNext(code):
    """The code after code in GB2312 order."""
    if code & 0xFF == LAST_TRAIL:
        return ((code >> 8) + 1) << 8 | FIRST_TRAIL
    return code + 1


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.normpath(os.path.join(here, '..', 'resources', 'initials_table.bin'))
    out = sys.argv[1] if len(sys.argv) > 1 else default
    table = Build()
    faults = Check(table)
    if faults:
        for fault in faults:
            print(f'gen_initials_table: {fault}', file=sys.stderr)
        sys.exit(1)
    with open(out, 'wb') as f:
        f.write(table)
    level1 = sum(Counts(table, GbCodes(LEVEL1_FIRST, LEVEL1_LAST)).values())
    level2 = sum(Counts(table, Level2Codes()).values())
    print(f'wrote {out}: {len(table)} bytes, {level1 + level2} letters '
          f'({level1} level-1, {level2} level-2)')


if __name__ == '__main__':
    main()
