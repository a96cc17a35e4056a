#!/usr/bin/env python3
"""The catalogues against the code: every text the program shows is a finished entry of each
i18n/quendal_*.ts with the same %1.., every entry is still shown, no Russian text is shown
unmarked. The texts are found by their MARKS, comments dropped, literals joined as C++ joins
adjacent ones and JavaScript 'a' + 'b'; the page also shows its markup's texts and the manifest's
description. Run from anywhere: python3 -B tests/i18n/test_catalogue.py
"""
import html
import json
import pathlib
import re
import unittest
import xml.etree.ElementTree as ET

ROOT = pathlib.Path(__file__).resolve().parents[2]
CYRILLIC = re.compile('[\u0400-\u04ff]')
ESCAPES = {'n': '\n', 't': '\t', '0': '\0'}  # the others stand for themselves
TEXT = r'\s*\(\s*\x01(\d+)\x02'  # a call whose first argument is a string literal, as scanned
MARKS = {  # files: their marks (a second group the text, the first its context) and context
    ('app/*.cpp', 'app/*.h'): ([r'(?<![\w.])(?:tr|QT_TR_NOOP)' + TEXT,
                                r'\b(?:QT_TRANSLATE_NOOP|translate)' + TEXT + r'\s*,\s*\x01(\d+)'],
                               None),  # tr(): the class of the member function it stands in
    tuple(f'{folder}/*.[ch]*' for folder in ('lists', 'model', 'io', 'optimiser', 'cli')) +
    ('web/*.cpp', 'web/*.h'): ([r'(?<![\w.])TrNoop' + TEXT,
                                r'(?<![\w.])Tr\s*\((?:[^,;()]|\([^()]*\))*,\s*\x01(\d+)'], 'Core'),
    ('web/*.js',): ([r'(?<![\w.])(?:t|tNoop)' + TEXT], 'Page')}


def scan(text, js):
    """The code with comments blank (lines kept) and each literal put as \\x01n\\x02 (a string,
    joined) or \\x03n\\x02 (a C++ character, a JavaScript template); the literals' (value, line)."""
    string = r'"(?:\\.|[^"\\])*"' + (r"|'(?:\\.|[^'\\])*'" if js else '')
    other = r'`(?:\\.|[^`\\])*`' if js else r"'(?:\\.|[^'\\])*'"
    literals = []

    def put(m):
        if m[0][0] == '/':
            return '\n' * m[0].count('\n')
        pieces = re.findall(string, m[0]) if m[1] else [m[0]]
        value = ''.join(re.sub(r'\\(.)', lambda e: ESCAPES.get(e[1], e[1]), p[1:-1], flags=re.S)
                        for p in pieces)
        literals.append((value, text.count('\n', 0, m.start()) + 1))
        return f'{chr(1 if m[1] else 3)}{len(literals) - 1}\x02' + '\n' * m[0].count('\n')
    joined = rf'(?:{string})(?:\s*{"[+]" if js else ""}\s*(?:{string}))*'
    return re.sub(rf'({joined})|{other}|//[^\n]*|/\*.*?\*/', put, text, flags=re.S), literals


def owner(code, at):
    """The context of tr() at `at`: the class of the last definition at column 0 up to its line."""
    heads = re.findall(r'^[^\s}#/].*\(.*', code[:code.find('\n', at)], re.M)
    member = re.search(r'\b(\w+)::~?\w+\(', heads[-1]) if heads else None
    return 'quendal::' + member[1] if member else 'outside a member function'


def markup_texts(markup):
    """(line, text) of the page's markup: its text (blanks run together, as shown) but title,
    script and style, and the attributes that name or describe a control."""
    found = []
    for m in re.finditer(r'<!--.*?-->|<(title|script|style)\b.*?</\1>|<(\w*)([^>]*)>|([^<]+)',
                         markup, re.S):
        attrs = {name: html.unescape(''.join(value)) for name, *value in re.findall(
            r'''([\w-]+)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s"'>]+))''', m[3] or '')}
        names = ['aria-label', 'placeholder', 'title'] + ['content'] * (
            m[2] == 'meta' and attrs.get('name') == 'description')
        text = re.sub(r'\s+', ' ', html.unescape(m[4] or '')).strip()
        found += [(markup.count('\n', 0, m.start()) + 1, value) for value in
                  [attrs[n] for n in names if attrs.get(n)] + [text] * bool(re.search(r'\w', text))]
    return found


def shown_texts():
    """{context: {text: its first place}}, [(place, text)] of the Russian texts shown unmarked."""
    used, unmarked = {}, []
    for globs, (marks, context) in MARKS.items():
        for path in sorted(p.relative_to(ROOT).as_posix() for g in globs for p in ROOT.glob(g)):
            code, literals = scan((ROOT / path).read_text('utf-8'), path.endswith('.js'))
            seen = set()
            for m in sorted((m for mark in marks for m in re.finditer(mark, code)),
                            key=re.Match.start):
                text = literals[int(m[m.lastindex])][0]
                ctx = literals[int(m[1])][0] if m.lastindex == 2 else (
                    context or owner(code, m.start()))
                used.setdefault(ctx, {}).setdefault(
                    text, f'{path}:{code.count(chr(10), 0, m.start()) + 1}')
                seen.add(text)
            unmarked += [(f'{path}:{line}', value) for value, line in literals
                         if CYRILLIC.search(value) and value not in seen
                         and (context is None or value != 'Русский')]  # a catalogue's name
    page = used.setdefault('Page', {})
    for line, text in markup_texts((ROOT / 'web/index.html').read_text('utf-8')):
        page.setdefault(text, f'web/index.html:{line}')
    # The web app manifest's description, which the site's build translates.
    page.setdefault(json.loads((ROOT / 'web/manifest.webmanifest').read_text('utf-8'))[
        'description'], 'web/manifest.webmanifest')
    used['Language'] = {'Русский': 'lists/translate.cpp'}  # each catalogue's name in itself
    return used, unmarked


def problems(path, used):
    """One catalogue's faults: texts shown with no entry, entries not shown, translations
    unfinished, with other %1.., in Cyrillic (English) or with a header's bars moved."""
    entries = {}
    for context in ET.parse(path).getroot().iter('context'):
        for message in context.iter('message'):
            tr = message.find('translation')
            entries.setdefault(context.findtext('name'), {})[message.findtext('source') or ''] = (
                ('', False) if tr is None else (tr.text or '', tr.get('type') is None))
    wrong = [f'{place}: {context}: {text!r} has no entry' for context, texts in used.items()
             for text, place in texts.items() if text not in entries.get(context, {})]
    for context, sources in entries.items():
        for source, (translation, finished) in sources.items():
            n = [sorted(re.findall('%[1-9]', s)) for s in (source, translation)]
            # The tables' header lines stand over fixed-pitch rows: a translation keeps the bars.
            bars = [[i for i, c in enumerate(s) if c == '|'] for s in (source, translation)]
            faults = [(source not in used.get(context, {}), 'is not shown'),
                      (not finished or not translation, 'has no finished translation'),
                      (n[0] != n[1], f'differs in %n: {translation!r}'),
                      (context != 'Language' and path.name.endswith('_en.ts')
                       and CYRILLIC.search(translation), f'is not English: {translation!r}'),
                      (context == 'Core' and bars[0] and bars[0] != bars[1],
                       f'has its bars moved: {translation!r}')]
            wrong += [f'{context}: {source!r} {fault}' for found, fault in faults if found]
    return wrong


class CatalogueTest(unittest.TestCase):
    maxDiff = None  # every fault listed
    used, unmarked = shown_texts()

    def test_every_russian_text_shown_is_marked(self):
        self.assertEqual([], [f'{place}: {text!r}' for place, text in self.unmarked])

    def test_each_catalogue_holds_the_texts_shown_translated(self):
        self.assertTrue((ROOT / 'i18n/quendal_en.ts').is_file())
        for path in sorted(ROOT.glob('i18n/quendal_*.ts')):
            self.assertEqual([], problems(path, self.used), path.name)


if __name__ == '__main__':
    unittest.main()
