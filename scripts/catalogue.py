#!/usr/bin/env python3
"""The catalogues of Quendal's texts (i18n/quendal_<code>.ts, Qt Linguist's format) made into
what each front end loads besides the window's .qm files, which lrelease makes:

  catalogue.py --cpp OUT.cpp TS...   the core's table (contexts Core and Language), compiled
                                     into the core: Translate(language, source)
  catalogue.py --json DIR TS...      the page's: DIR/<code>.json with its own texts (Page) and
                                     the languages' names (Language), and DIR/languages.json,
                                     every language's code and name, Russian first
  catalogue.py --manifest FILE TS... the page's web app manifest given "translations" of its
                                     texts (Page) for each catalogue's language

A message without a finished translation is left out: its source shows instead."""
import argparse
import json
import os
import re
import sys
import xml.etree.ElementTree as ET

SOURCE_CODE = 'ru'
SOURCE_NAME = 'Русский'  # Russian's name, the source of each catalogue's own name
CORE_CONTEXTS = ('Core', 'Language')
PAGE_CONTEXTS = ('Page', 'Language')


def code_of(path):
    match = re.fullmatch(r'quendal_([a-z]{2,3}(?:_[A-Z]{2})?)\.ts', os.path.basename(path))
    if not match:
        sys.exit(f'catalogue.py: {path}: not named quendal_<language>.ts')
    return match.group(1)


def read(path):
    """{(context, source): translation} of the finished messages of one catalogue."""
    entries = {}
    root = ET.parse(path).getroot()
    if root.tag != 'TS':
        sys.exit(f'catalogue.py: {path}: not a Qt Linguist catalogue')
    for context in root.iter('context'):
        name = context.findtext('name')
        for message in context.iter('message'):
            translation = message.find('translation')
            if translation is None or translation.get('type') in ('unfinished', 'obsolete',
                                                                   'vanished'):
                continue
            source = message.findtext('source') or ''
            entries[(name, source)] = translation.text or ''
    return entries


def catalogues(paths):
    found = sorted((code_of(p), read(p)) for p in paths)
    if 'en' not in [code for code, _ in found]:
        sys.exit('catalogue.py: no English catalogue (i18n/quendal_en.ts)')
    return found


def cpp_string(text):
    out = []
    for byte in text.encode('utf-8'):
        char = chr(byte)
        if char in '"\\':
            out.append('\\' + char)
        elif char == '\n':
            out.append('\\n')
        elif byte < 0x20 or byte == 0x7f or char == '?':  # '?' so that no trigraph forms
            out.append(f'\\{byte:03o}')
        elif byte < 0x80:
            out.append(char)
        else:
            out.append(f'\\{byte:03o}')
    return '"' + ''.join(out) + '"'


def write_cpp(found, out):
    lines = ['// Made by scripts/catalogue.py from i18n/quendal_*.ts; not to be edited.',
             '#include "lists/catalogue_table.h"', '', 'namespace quendal::catalogue {',
             'namespace {', '']
    for code, entries in found:
        rows = sorted(((c.encode(), s.encode()), t) for (c, s), t in entries.items()
                      if c in CORE_CONTEXTS)
        lines.append(f'constexpr Entry k_{code}[] = {{')
        for (context, source), translation in rows:
            lines.append(f'    {{{cpp_string(context.decode())}, {cpp_string(source.decode())},')
            lines.append(f'     {cpp_string(translation)}}},')
        lines.append('};')
        lines.append('')
    lines.append('constexpr Catalogue kCatalogues[] = {')
    for code, _ in found:
        lines.append(f'    {{"{code}", k_{code}}},')
    lines += ['};', '', '} // namespace', '',
              'std::span<const Catalogue> All() {', '    return kCatalogues;', '}', '',
              '} // namespace quendal::catalogue', '']
    write_if_changed(out, '\n'.join(lines))


def write_json(found, folder):
    os.makedirs(folder, exist_ok=True)
    names = {SOURCE_CODE: SOURCE_NAME}
    for code, entries in found:
        page = {}
        for (context, source), translation in sorted(entries.items()):
            if context in PAGE_CONTEXTS:
                page.setdefault(context, {})[source] = translation
        names[code] = entries.get(('Language', SOURCE_NAME), code)
        write_if_changed(os.path.join(folder, f'{code}.json'),
                         json.dumps(page, ensure_ascii=False, sort_keys=True, indent=0) + '\n')
    languages = [{'code': code, 'name': name} for code, name in names.items()]
    write_if_changed(os.path.join(folder, 'languages.json'),
                     json.dumps(languages, ensure_ascii=False) + '\n')


MANIFEST_TEXTS = ('name', 'short_name', 'description')


def translate_manifest(found, path):
    with open(path, encoding='utf-8') as f:
        manifest = json.load(f)
    translations = {}
    for code, entries in found:
        texts = {key: entries[('Page', manifest[key])] for key in MANIFEST_TEXTS
                 if ('Page', manifest.get(key)) in entries}
        if texts:
            translations[code] = texts
    manifest['translations'] = translations
    write_if_changed(path, json.dumps(manifest, ensure_ascii=False, indent=2) + '\n')


def write_if_changed(path, text):
    try:
        with open(path, encoding='utf-8') as f:
            if f.read() == text:
                return
    except OSError:
        pass
    with open(path, 'w', encoding='utf-8') as f:
        f.write(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    what = parser.add_mutually_exclusive_group(required=True)
    what.add_argument('--cpp', metavar='OUT.cpp')
    what.add_argument('--json', metavar='DIR')
    what.add_argument('--manifest', metavar='FILE')
    parser.add_argument('catalogues', nargs='+', metavar='TS')
    args = parser.parse_args()
    found = catalogues(args.catalogues)
    if args.cpp:
        write_cpp(found, args.cpp)
    elif args.json:
        write_json(found, args.json)
    else:
        translate_manifest(found, args.manifest)


if __name__ == '__main__':
    main()
