#!/usr/bin/env python3
"""The catalogues against the code: every text the window, the page and the core show is an
entry of each i18n/quendal_*.ts (finished, with the same %1.. as its source), and every entry is
still shown somewhere. A Russian text the code shows without marking it for translation fails
too. Run from anywhere: python3 -B tests/i18n/test_catalogue.py

The texts are found by their marks:
  app/       tr("..."), QT_TR_NOOP("...") (the context is the class of the member function they
             stand in: quendal::TFormMain), QT_TRANSLATE_NOOP("context", "..."),
             QCoreApplication::translate("context", "...")
  core       TrNoop("..."), Tr(language, "...") in lists/, model/, io/, optimiser/, cli/ and the
             page's C++ (web/*.cpp): context Core
  page       t('...'), tNoop('...') in web/*.js, and web/index.html's text and the attributes
             aria-label, placeholder, title and the description: context Page
  Language   one entry, the source "Русский": each catalogue's name in its own language
"""
import glob
import json
import html.parser
import os
import re
import sys
import unittest
import xml.etree.ElementTree as ET


def read(path):
    with open(path, encoding='utf-8') as f:
        return f.read()

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
CYRILLIC = re.compile('[\u0400-\u04ff]')
PLACEHOLDER = re.compile(r'%[1-9]')


# ---- A lexer for C++ and JavaScript: string literals with their places, comments dropped.

def tokens(text, js=False):
    """(kind, value, line) for each identifier, string literal and other character, in order;
    adjacent C++ literals are one string, as the compiler joins them."""
    out = []
    i, line, n = 0, 1, len(text)
    quotes = '"\'' if js else '"'
    while i < n:
        c = text[i]
        if c == '\n':
            line += 1
            i += 1
        elif c.isspace():
            i += 1
        elif text.startswith('//', i):
            i = text.find('\n', i)
            i = n if i < 0 else i
        elif text.startswith('/*', i):
            end = text.find('*/', i + 2)
            line += text.count('\n', i, end)
            i = end + 2
        elif c in quotes or (js and c == '`'):
            value, i, lines = literal(text, i)
            if js and c == '`':
                out.append(('template', value, line))
            elif not js and c == "'":
                out.append(('char', value, line))
            elif out and out[-1][0] == 'string' and not js:
                out[-1] = ('string', out[-1][1] + value, out[-1][2])
            else:
                out.append(('string', value, line))
            line += lines
        elif not js and c == "'":
            _, i, _ = literal(text, i)
        elif c.isalnum() or c == '_':
            j = i
            while j < n and (text[j].isalnum() or text[j] == '_'):
                j += 1
            out.append(('name', text[i:j], line))
            i = j
        else:
            out.append(('op', c, line))
            i += 1
    return out


ESCAPES = {'n': '\n', 't': '\t', '\\': '\\', '"': '"', "'": "'", '0': '\0'}


def literal(text, i):
    quote = text[i]
    i += 1
    value = []
    lines = 0
    while text[i] != quote:
        if text[i] == '\\':
            value.append(ESCAPES.get(text[i + 1], text[i + 1]))
            i += 2
            continue
        lines += text[i] == '\n'
        value.append(text[i])
        i += 1
    return ''.join(value), i + 1, lines


def call_strings(toks, k, pieces=None):
    """The string arguments of the call whose '(' is toks[k], each with its position among the
    arguments; JavaScript's 'a' + 'b' is one string. `pieces` gathers the literals as written."""
    depth, arg, found, current = 0, 0, [], None
    for kind, value, _ in toks[k:]:
        if pieces is not None and depth == 1 and kind == 'string':
            pieces.add(value)
        if kind == 'op' and value in '([{':
            depth += 1
        elif kind == 'op' and value in ')]}':
            depth -= 1
            if depth == 0:
                break
        elif depth == 1 and kind == 'op' and value == ',':
            arg += 1
            current = None
        elif depth == 1 and kind == 'string':
            if current is not None and current[0] == arg:
                found[-1] = (arg, found[-1][1] + value)
            else:
                found.append((arg, value))
            current = found[-1]
        elif depth == 1 and not (kind == 'op' and value == '+'):
            current = None
    return found


def marked(toks, marks, pieces=None):
    """(line, mark, context, text) of the marked calls: `marks` maps a function name to the
    argument that holds the text and the one that holds its context, or None. `pieces` gathers
    the literals the calls hold as written."""
    found = []
    for k, (kind, value, line) in enumerate(toks):
        if kind != 'name' or value not in marks or k + 1 >= len(toks) or toks[k + 1][1] != '(':
            continue
        if k > 0 and toks[k - 1][1] in ('.',) and value != 'translate':
            continue  # a method of that name on some object
        text_arg, context_arg = marks[value]
        args = dict(call_strings(toks, k + 1, pieces))
        if text_arg in args:
            found.append((line, value, args.get(context_arg) if context_arg is not None else None,
                          args[text_arg]))
    return found


def cyrillic_literals(toks):
    return [(line, value) for kind, value, line in toks
            if kind in ('string', 'template') and CYRILLIC.search(value)]


# ---- What each part of the program shows.

class Texts:
    def __init__(self):
        self.used = {}  # context -> {source: first place}
        self.unmarked = []  # (place, text): a Russian text shown as it is

    def add(self, context, source, place):
        self.used.setdefault(context, {}).setdefault(source, place)


MEMBER = re.compile(r'\b(\w+)::~?\w+\(')


def class_at_lines(text):
    """The class of the member function each line of a C++ file stands in, or None."""
    classes, current = [], None
    for line in text.split('\n'):
        if line and not line[0].isspace() and line[0] not in '}#/' and '(' in line:
            match = MEMBER.search(line)
            current = match.group(1) if match else None
        classes.append(current)
    return classes


def window_texts(texts):
    marks = {'tr': (0, None), 'QT_TR_NOOP': (0, None), 'QT_TRANSLATE_NOOP': (1, 0),
             'translate': (1, 0)}
    for path in sorted(glob.glob(os.path.join(ROOT, 'app', '*.cpp')) +
                       glob.glob(os.path.join(ROOT, 'app', '*.h'))):
        text = read(path)
        toks = tokens(text)
        classes = class_at_lines(text)
        seen = set()
        for line, mark, context, source in marked(toks, marks):
            place = f'{os.path.relpath(path, ROOT)}:{line}'
            if context is None:
                owner = classes[line - 1]
                if owner is None:
                    raise AssertionError(f'{place}: {mark}() outside a member function')
                context = 'quendal::' + owner
            texts.add(context, source, place)
            seen.add(source)
        for line, value in cyrillic_literals(toks):
            if value not in seen:
                texts.unmarked.append((f'{os.path.relpath(path, ROOT)}:{line}', value))


CORE_FOLDERS = ('lists', 'model', 'io', 'optimiser', 'cli')


def core_texts(texts):
    marks = {'TrNoop': (0, None), 'Tr': (1, None)}
    paths = [p for folder in CORE_FOLDERS for p in glob.glob(os.path.join(ROOT, folder, '*.[ch]*'))]
    paths += glob.glob(os.path.join(ROOT, 'web', '*.cpp')) + glob.glob(os.path.join(ROOT, 'web', '*.h'))
    for path in sorted(paths):
        toks = tokens(read(path))
        seen = set()
        for line, _, _, source in marked(toks, marks):
            texts.add('Core', source, f'{os.path.relpath(path, ROOT)}:{line}')
            seen.add(source)
        for line, value in cyrillic_literals(toks):
            if value not in seen and value != 'Русский':  # the source language's own name
                texts.unmarked.append((f'{os.path.relpath(path, ROOT)}:{line}', value))


class PageMarkup(html.parser.HTMLParser):
    """The texts of the page's markup: text (its blanks run together, as shown) and the
    attributes that name or describe a control."""
    ATTRIBUTES = ('aria-label', 'placeholder', 'title')

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.found = []  # (line, text)
        self.skip = 0

    def handle_starttag(self, tag, attrs):
        if tag in ('title', 'script', 'style'):
            self.skip += 1
        attrs = dict(attrs)
        for name in self.ATTRIBUTES:
            if attrs.get(name):
                self.found.append((self.getpos()[0], attrs[name]))
        if tag == 'meta' and attrs.get('name') == 'description':
            self.found.append((self.getpos()[0], attrs['content']))

    def handle_endtag(self, tag):
        if tag in ('title', 'script', 'style'):
            self.skip -= 1

    def handle_data(self, data):
        text = re.sub(r'\s+', ' ', data).strip()
        if text and not self.skip and re.search(r'\w', text):
            self.found.append((self.getpos()[0], text))


def page_texts(texts):
    marks = {'t': (0, None), 'tNoop': (0, None)}
    for path in sorted(glob.glob(os.path.join(ROOT, 'web', '*.js'))):
        toks = tokens(read(path), js=True)
        seen = set()
        for line, _, _, source in marked(toks, marks, seen):
            texts.add('Page', source, f'{os.path.relpath(path, ROOT)}:{line}')
            seen.add(source)
        for line, value in cyrillic_literals(toks):
            if value not in seen and value != 'Русский':  # the source language's own name
                texts.unmarked.append((f'{os.path.relpath(path, ROOT)}:{line}', value))
    markup = PageMarkup()
    markup.feed(read(os.path.join(ROOT, 'web', 'index.html')))
    for line, text in markup.found:
        texts.add('Page', text, f'web/index.html:{line}')
    # The web app manifest's description, which the site's build translates.
    manifest = json.loads(read(os.path.join(ROOT, 'web', 'manifest.webmanifest')))
    texts.add('Page', manifest['description'], 'web/manifest.webmanifest')


def shown_texts():
    texts = Texts()
    window_texts(texts)
    core_texts(texts)
    page_texts(texts)
    texts.add('Language', 'Русский', 'lists/translate.cpp')
    return texts


def catalogue(path):
    """{context: {source: (translation, finished)}}"""
    entries = {}
    for context in ET.parse(path).getroot().iter('context'):
        name = context.findtext('name')
        for message in context.iter('message'):
            translation = message.find('translation')
            finished = translation is not None and translation.get('type') is None
            entries.setdefault(name, {})[message.findtext('source') or ''] = (
                (translation.text or '') if translation is not None else '', finished)
    return entries


class CatalogueTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.texts = shown_texts()
        cls.catalogues = sorted(glob.glob(os.path.join(ROOT, 'i18n', 'quendal_*.ts')))

    def test_there_is_an_english_catalogue(self):
        self.assertIn(os.path.join(ROOT, 'i18n', 'quendal_en.ts'), self.catalogues)

    def test_every_russian_text_shown_is_marked(self):
        self.assertEqual([], [f'{place}: {text!r}' for place, text in self.texts.unmarked])

    def test_every_text_shown_has_an_entry(self):
        for path in self.catalogues:
            entries = catalogue(path)
            missing = [f'{place}: {context}: {source!r}'
                       for context, sources in self.texts.used.items()
                       for source, place in sources.items()
                       if source not in entries.get(context, {})]
            self.assertEqual([], missing, os.path.basename(path))

    def test_every_entry_is_shown(self):
        for path in self.catalogues:
            unused = [f'{context}: {source!r}'
                      for context, sources in catalogue(path).items() for source in sources
                      if source not in self.texts.used.get(context, {})]
            self.assertEqual([], unused, os.path.basename(path))

    def test_every_entry_is_translated_with_its_placeholders(self):
        for path in self.catalogues:
            wrong = []
            for context, sources in catalogue(path).items():
                for source, (translation, finished) in sources.items():
                    if not finished or not translation:
                        wrong.append(f'{context}: {source!r} has no finished translation')
                    elif sorted(PLACEHOLDER.findall(source)) != sorted(
                            PLACEHOLDER.findall(translation)):
                        wrong.append(f'{context}: {source!r} and {translation!r} differ in %n')
                    elif context != 'Language' and CYRILLIC.search(translation) and \
                            os.path.basename(path) == 'quendal_en.ts':
                        wrong.append(f'{context}: {translation!r} is not English')
            self.assertEqual([], wrong, os.path.basename(path))

    def test_fixed_pitch_headers_keep_their_columns(self):
        # The tables' header lines stand over fixed-pitch rows: a translation keeps the bars.
        for path in self.catalogues:
            core = catalogue(path).get('Core', {})
            for source, (translation, _) in core.items():
                if '|' in source:
                    self.assertEqual([m.start() for m in re.finditer(r'\|', source)],
                                     [m.start() for m in re.finditer(r'\|', translation)],
                                     f'{os.path.basename(path)}: {translation!r}')


if __name__ == '__main__':
    unittest.main()
