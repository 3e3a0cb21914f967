#!/usr/bin/env python3
"""Writes the bundled sample law pages (samples/pages/*.html, code page 932) in the markup of the
government's saved law pages, from the texts in samples/texts.py. The texts are the team's own;
run this after editing them:  python3 samples/pagegen.py

Markup of the texts:
  [[visible text|KEY:30]]       a reference link to article 30 of the law KEY (30-2 for 30の2,
                                30:2 for its paragraph 2, 30:1:3 for item 3 of paragraph 1)
  [[visible text|KEY]]          a link to the law KEY as a whole
  [[visible text|KEY:ch2]]      a link to chapter 2 of KEY;  KEY:tbl1 to 別表第一
  a newline inside a text        a <BR> of the page
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

def anchor(part, hen=0, sho=0, setsu=0, kan=0, moku=0, art=0, b1=0, b2=0, para=0, item=0, ib1=0, seq=0):
    d = ['0'] * 79
    d[0] = str(part)
    def put(pos, n, width):
        d[pos:pos + width] = list(str(n).zfill(width))
    if part in (3, 5, 6):
        put(1, seq, 9)
    else:
        put(1, hen, 3); put(10, sho, 3); put(19, setsu, 3); put(28, kan, 3); put(37, moku, 3)
    put(46, art, 4); put(50, b1, 3); put(53, b2, 3); put(56, para, 5); put(64, item, 6); put(70, ib1, 3)
    return ''.join(d)

def escape(s):
    return ''.join('%%%02x' % b for b in s.encode('cp932'))

KANJI = '〇一二三四五六七八九'

def kanji(n):
    """Traditional kanji numeral: 30 → 三十, 108 → 百八."""
    if n == 0:
        return '〇'
    out = ''
    for value, mark in ((1000, '千'), (100, '百'), (10, '十')):
        q, n = divmod(n, value)
        if q:
            out += ('' if q == 1 else KANJI[q]) + mark
    if n:
        out += KANJI[n]
    return out

def positional(n):
    return ''.join(KANJI[int(c)] for c in str(n))

ERAS = {'明治': '明', '大正': '大', '昭和': '昭', '平成': '平'}

def law_code(promulgation):
    m = re.match(r'(明治|大正|昭和|平成)(.+?)年.+?日(.+?)第(.+?)号', promulgation)
    era, year, kind, number = m.groups()
    def value(k):
        if k == '元':
            return 1
        total, digit = 0, 0
        for c in k:
            if c in '十百千':
                total += (digit or 1) * {'十': 10, '百': 100, '千': 1000}[c]
                digit = 0
            else:
                digit = KANJI.index(c)
        return total + digit
    kinds = {'法律': '法', '政令': '政', '勅令': '勅'}
    k = kinds.get(kind, kind[:-1] + '０１０００' if kind.endswith('令') else kind)
    return ERAS[era] + positional(value(year)) + k + positional(value(number))

LAWS = {}

def parse_target(place):
    """A place in a law, '30-2:1:3' (article 30-2, paragraph 1, item 3), 'ch2' or 'tbl1'
    → anchor keyword arguments."""
    parts = place.split(':')
    if parts[0].startswith('ch'):
        return dict(part=1, sho=int(parts[0][2:]))
    if parts[0].startswith('tbl'):
        return dict(part=3, seq=int(parts[0][3:]))
    nums = [int(x) for x in parts[0].split('-')]
    kw = dict(part=1, art=nums[0])
    if len(nums) > 1:
        kw['b1'] = nums[1]
    if len(nums) > 2:
        kw['b2'] = nums[2]
    if len(parts) > 1:
        kw['para'] = int(parts[1])
    if len(parts) > 2:
        kw['item'] = int(parts[2])
    return kw

def links(text):
    def one(m):
        visible, target = m.group(1), m.group(2)
        key, _, place = target.partition(':')
        code = LAWS[key]
        anc = anchor(**parse_target(place)) if place else ''
        q = f"H_FILE={escape(code)}&REF_NAME={escape(visible)}&ANCHOR_F={anc}&ANCHOR_T={anc}"
        if anc:
            q += '#' + anc
        return f'<A HREF="/cgi-bin/idxrefer.cgi?{q}" TARGET="inyo">{visible}</A>\n'
    return re.sub(r'\[\[(.+?)\|(.+?)\]\]', one, text)

def body(text):
    return links(text).replace('\n\n', '\n').replace('\n', '<BR>\n').replace('</A><BR>\n', '</A>\n')

def number_word(number):
    """'30-2' → (第三十条の二, (30, 2, 0))."""
    nums = [int(x) for x in str(number).split('-')] + [0, 0]
    word = '第' + kanji(nums[0]) + '条' + ''.join('の' + kanji(n) for n in nums[1:3] if n)
    return word, tuple(nums[:3])

def item_word(number):
    nums = [int(x) for x in str(number).split('-')]
    return 'の'.join(kanji(n) for n in nums), nums

STYLE = '''<HTML>
<HEAD>
<META http-equiv="Content-Type" content="text/html; charset=shift_jis">
<META http-equiv="Content-Language" content="ja">
<STYLE type="text/css">
<!--
    BODY { line-height: 150%; }
    TD { line-height: 150%; text-indent: 0em; }
    DIV { line-height: 150%; }
    DIV.arttitle { margin-left: 1em; }
    DIV.item { margin-left: 1em; text-indent: -1em; }
    DIV.number { margin-left: 1em; text-indent: -1em; }
    DIV.para1 { margin-left: 1em; text-indent: -1em; }
    DIV.para2 { margin-left: 2em; text-indent: -1em; }
    DIV.para3 { margin-left: 3em; text-indent: -1em; }
-->
</STYLE>
'''

def table_html(rows):
    out = '<TABLE BORDER>'
    for row in rows:
        out += '<TR VALIGN="top">\n'
        for cell in row:
            span = ''
            if isinstance(cell, tuple):
                cell, n = cell
                span = f' ROWSPAN="{n}"'
            out += f'<TD{span}>\n{cell.replace(chr(10), "<BR>")}</TD>\n'
        out += '</TR>\n\n'
    return out + '</TABLE>\n'

class Law:
    """A law page. Articles: (number, caption, paragraphs); a paragraph is a text or
    (text, [items]); an item is (number, text) or (number, text, [sub-items]); a sub-item is
    (level, label, text)."""

    def __init__(self, key, title, promulgation, amended, enacting=None):
        self.key, self.title, self.promulgation, self.amended = key, title, promulgation, amended
        self.enacting = enacting
        self.parts = []
        self.blocks = []
        self.tables = []
        self.path = [0, 0, 0, 0, 0]
        self.old_style = False  # ○２ paragraph numbers, no indentation before their text
        LAWS[key] = law_code(promulgation)

    def heading(self, level, text):
        self.path[level - 1] += 1
        for l in range(level, 5):
            self.path[l] = 0
        self.parts.append(('heading', level, text, tuple(self.path)))

    def art(self, number, caption, *paragraphs):
        self.parts.append(('article', number, caption, paragraphs))

    def suppl(self, date=None, excerpt=False, *content):
        self.blocks.append((date, excerpt, content))

    def table(self, relation, lines, rows=None):
        self.tables.append((relation, lines, rows))

    def render_items(self, art, para, items):
        out = ''
        for item in items:
            number, text = item[0], item[1]
            word, nums = item_word(number)
            kw = dict(art=art[0], b1=art[1], b2=art[2], para=para, item=nums[0], ib1=nums[1] if len(nums) > 1 else 0)
            out += f'<DIV class="number"><B><A NAME="{anchor(1, **kw)}">{word}</A>\n</B>\n　{body(text)}\n'
            for level, label, sub in (item[2] if len(item) > 2 else []):
                out += f'<DIV class="para{level}"><B>{label}</B>　{links(sub).replace(chr(10), "")}</DIV>\n'
            out += '</DIV>\n'
        return out

    def render_article(self, number, caption, paragraphs):
        word, nums = number_word(number)
        if self.old_style:
            word = word.replace('の', 'ノ')  # 第二条ノ二
        art = dict(art=nums[0], b1=nums[1], b2=nums[2])
        out = '<P>\n'
        if caption:
            out += f'<DIV class="arttitle"><A NAME="{anchor(1, **art)}">{links(caption).rstrip(chr(10))}</A>\n</DIV>'
            out += f'<DIV class="item"><B>{word}</B>\n'
        else:
            out += f'<DIV class="item"><B><A NAME="{anchor(1, **art)}">{word}</A>\n</B>\n'
        for i, p in enumerate(paragraphs, 1):
            text, items, table = (p, [], None) if isinstance(p, str) else (p[0], p[1], p[2] if len(p) > 2 else None)
            if i == 1:
                out += f'<A NAME="{anchor(1, para=1, **art)}"></A>\n　{body(text)}\n'
            else:
                label = chr(0xFF10 + i) if i < 10 else ''.join(chr(0xFF10 + int(c)) for c in str(i))
                indent = ''
                if self.old_style:
                    label = '○' + label
                else:
                    indent = '　'
                out += f'<DIV class="item"><B><A NAME="{anchor(1, para=i, **art)}">{label}</A>\n</B>\n{indent}{body(text)}\n'
            if table:
                out += '<BR>\n' + table_html(table)
            out += self.render_items(nums, i, items)
            if i > 1:
                out += '</DIV>\n'
        return out + '</DIV>\n\n'

    def render(self):
        out = STYLE + f'<TITLE>{self.title}</TITLE>\n</HEAD>\n<BODY>\n\n<B>{self.title}<BR>\n（{self.promulgation}）</B><BR><BR>'
        out += f'<DIV ALIGN="right">最終改正：{self.amended}</DIV><BR>\n'
        if self.enacting:
            out += f'<A NAME="{anchor(9)}"></A>\n<BR>　{self.enacting}<BR><BR>'
        headings = [p for p in self.parts if p[0] == 'heading']
        if headings:
            top = min(h[1] for h in headings)
            out += f'<A NAME="{anchor(0)}"></A>\n<BR>\n'
            for _, level, text, path in headings:
                out += '　' * (level - top + 1) + f'<A HREF="#{anchor(1, *path)}" TARGET="data">{text}</A>\n<BR>\n'
            if self.blocks:
                out += f'　<A HREF="#{anchor(5)}" TARGET="data">附則</A>\n<BR>\n'
            out += '\n'
        for part in self.parts:
            if part[0] == 'heading':
                _, level, text, path = part
                lead = '　　' if level == 1 else '<P>' + '　' * (level + 1)
                out += f'{lead}<B><A NAME="{anchor(1, *path)}">{links(text).rstrip(chr(10))}</A>\n</B>\n'
            else:
                out += self.render_article(*part[1:])
        if self.blocks:
            out += f'<BR><A NAME="{anchor(5)}"></A>\n'
        for seq, (date, excerpt, content) in enumerate(self.blocks, 1):
            title = '附　則' + (f'　（{date}）' if date else '') + ('　抄' if excerpt else '')
            out += ('' if seq == 1 else '<BR>') + f'　　　<A NAME="{anchor(5, seq=seq)}"><B>{title}</B></A>\n<BR>\n'
            for kind, *rest in content:
                if kind == 'art':
                    number, caption, *paragraphs = rest
                    word, _ = number_word(number)
                    out += '<P>\n' + (f'<DIV class="arttitle">{caption}</DIV>\n' if caption else '')
                    out += f'<DIV class="item"><B>{word}</B>\n'
                    for i, p in enumerate(paragraphs, 1):
                        text, items = (p, []) if isinstance(p, str) else p
                        if i > 1:
                            out += f'<DIV class="item"><B>{chr(0xFF10 + i)}</B>\n'
                        out += f'　{body(text)}\n'
                        for item_number, itext in items:
                            out += f'<DIV class="number"><B>{item_word(item_number)[0]}</B>\n　{body(itext)}\n</DIV>\n'
                        if i > 1:
                            out += '</DIV>\n'
                    out += '</DIV>\n\n'
                elif kind == 'para':
                    number, caption, text = rest
                    out += '<P>\n' + (f'<DIV class="arttitle">{caption}</DIV>\n' if caption else '')
                    out += f'<DIV class="item"><B>{chr(0xFF10 + number)}</B>\n　{body(text)}\n</DIV>\n'
                elif kind == 'whole':
                    text, items = rest
                    out += f'<P>\n　{body(text)}\n</DIV>\n'
                    for item_number, itext in items:
                        out += f'<DIV class="number"><B>{item_word(item_number)[0]}</B>\n　{body(itext)}\n</DIV>\n'
                out += '\n'
        for seq, (relation, lines, rows) in enumerate(self.tables, 1):
            out += f'<BR><BR><A NAME="{anchor(3, seq=seq)}">別表第{kanji(seq)}　（{relation}）</A>\n<BR>\n'
            out += lines.replace('\n', '<BR>')
            if rows:
                out += '<BR>\n' + table_html(rows)
            out += '\n'
        return out + '</BODY>\n</HTML>\n'

def write(law, name):
    with open(os.path.join(HERE, 'pages', name), 'wb') as f:
        f.write(law.render().encode('cp932'))

if __name__ == '__main__':
    sys.path.insert(0, HERE)
    import texts
    texts.build(Law, write)
