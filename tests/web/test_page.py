#!/usr/bin/env python3
"""The web page in headless Chromium through chromium-driver, against the native companion.

Every check drives the page as a player does (file inputs, fields, buttons) and compares what
it shows with what `quendal-calc` prints for the same inputs. Run by `make test-web`:
    test_page.py --site build-web/site --calc build/bin/quendal-calc
"""
import argparse
import contextlib
import csv
import functools
import http.server
import io
import os
import re
import resource
import shutil
import socketserver
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.select import Select

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DATA = os.path.join(ROOT, 'data')
SITE = CALC = None
SHOTS = os.path.join(tempfile.gettempdir(), 'quendal-web-shots')


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def host(cache_control):
    """A server whose every answer has that Cache-Control."""
    class Host(Quiet):
        def end_headers(self):
            self.send_header('Cache-Control', cache_control)
            super().end_headers()
    return Host


@contextlib.contextmanager
def serve(site, handler=Quiet):
    """The site on 127.0.0.1 on a free port, as `make run-web` serves it."""
    handler = functools.partial(handler, directory=site)
    server = socketserver.ThreadingTCPServer(('127.0.0.1', 0), handler)
    server.daemon_threads = True  # a connection the browser keeps open does not hold the end
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    try:
        yield f'http://127.0.0.1:{server.server_address[1]}/'
    finally:
        server.shutdown()
        server.server_close()


def browser(downloads, width=1280, lang='ru-RU'):
    """Chromium asking for `lang` first: the page speaks Russian for Russian."""
    options = webdriver.ChromeOptions()
    for arg in ('--headless=new', '--no-sandbox', '--disable-gpu', f'--window-size={width},900',
                f'--lang={lang}'):
        options.add_argument(arg)
    options.add_experimental_option('prefs', {'download.default_directory': downloads,
                                              'download.prompt_for_download': False,
                                              'intl.accept_languages': lang})
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)


def companion(*args):
    run = subprocess.run([CALC, *args], cwd=ROOT, capture_output=True, text=True, check=True)
    return run.stdout


def tables(output):
    """The companion's rows of the data table and of the minerals table, headers left out."""
    parts = output.rstrip('\n').split('\n\n')
    data = parts[0].split('\n')[2:]
    minerals = parts[1].split('\n')[2:] if len(parts) > 1 else []
    return data, minerals


class Page(unittest.TestCase):
    LANG = 'ru-RU'  # the browser's language

    @classmethod
    def setUpClass(cls):
        cls.server = serve(SITE)
        cls.url = cls.server.__enter__()
        cls.tmp = tempfile.mkdtemp(prefix='quendal-web-')
        cls.driver = browser(cls.tmp, lang=cls.LANG)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.__exit__(None, None, None)

    # ---- Driving the page.

    def open(self, query='', fragment=''):
        self.driver.get(self.url + query + fragment)
        self.wait(lambda: self.js('return document.body.dataset.ready') == 'true')

    def wait(self, condition, seconds=30):
        end = time.time() + seconds
        while time.time() < end:
            if condition():
                return
            time.sleep(0.05)
        self.fail('timed out')

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def el(self, element_id):
        return self.driver.find_element(By.ID, element_id)

    def type(self, element_id, value):
        field = self.el(element_id)
        field.clear()
        field.send_keys(str(value))

    def click(self, element_id):
        self.el(element_id).click()

    def tab(self, name):
        self.click({'calc': 'tabBtnCalc', 'params': 'tabBtnAddParam',
                    'genetic': 'tabBtnGenetic'}[name])

    def race(self, name):
        self.el('bnLoadRaceFileInput').send_keys(os.path.join(DATA, name))
        self.wait(lambda: self.el('raceName').text != '')

    def lines(self, element_id):
        return self.js(f"return [...document.querySelectorAll('#{element_id} > *')]"
                       ".map(e => e.textContent)")

    def calculate(self):
        before = self.js('return document.body.dataset.calculated || "0"')
        self.click('bnCalculate')
        self.wait(lambda: self.js('return document.body.dataset.calculated') != before)
        return self.lines('lbDataSet'), self.lines('lbMineral')

    def add(self, plus, entry, count):
        self.click('rbQueuePlus' if plus else 'rbQueueMinus')
        self.js('document.getElementById("cbItemAdd").selectedIndex = arguments[0]', entry)
        self.type('editItemAdd', count)
        self.click('bnItemAdd')

    def downloaded(self, name):
        path = os.path.join(self.tmp, name)
        self.wait(lambda: os.path.exists(path) and os.path.getsize(path) > 0)
        with open(path, 'rb') as f:
            data = f.read()
        os.remove(path)
        return data

    def message(self):
        return self.el('message').text if self.el('message').is_displayed() else ''

    # ---- Behaviours.

    def test_tables_equal_the_companions(self):
        entries = {'min': 0, 'max': 1, 'fab': 2, 'mine': 3}
        cases = [
            # (race, start fields typed before the race, years, planet factors, minus, plus)
            (None, {'editStartPlanetPrc': 50, 'editStartPlanetMen': 300, 'editMenYearPrc': 12},
             20, None, [], []),
            ('typical.urc', {'editStartPlanetPrc': -20}, 20, None, ['min'],
             ['fab:50', 'mine:50', 'max:5']),
            ('immune-two.urc', {'editStartPlanetMen': 400}, 30, (30, 102, 102), [],
             ['fab:20', 'mine:10']),
        ]
        for race, start, years, env, minus, plus in cases:
            with self.subTest(race=race, start=start):
                self.open()
                args = []
                for field, value in start.items():
                    self.type(field, value)
                    args += {'editStartPlanetPrc': ['--start-prc'],
                             'editStartPlanetMen': ['--start-men'],
                             'editMenYearPrc': ['--growth']}[field] + [str(value)]
                if race:
                    self.race(race)
                    args += ['--race', os.path.join('data', race)]
                if env:
                    self.tab('params')
                    for i, value in enumerate(env):
                        if self.el(f'editPlanetEnv{i + 1}').is_enabled():
                            self.type(f'editPlanetEnv{i + 1}', value)
                    self.tab('calc')
                    args += ['--env', ','.join(map(str, env))]
                for plus_side, items in ((False, minus), (True, plus)):
                    for item in items:
                        word, _, count = item.partition(':')
                        self.add(plus_side, entries[word], count or 1)
                    if items:
                        args += ['--plus' if plus_side else '--minus', ','.join(items)]
                self.type('editLightYears', years)
                args += ['--years', str(years)]
                data, minerals = self.calculate()
                self.assertEqual((data, minerals), tables(companion(*args)))
                self.assertTrue(data)

    def drop(self, path):
        """Drops the file on the page as a file manager would."""
        with open(path, 'rb') as f:
            data = list(f.read())
        self.js("""
            const transfer = new DataTransfer();
            transfer.items.add(new File([new Uint8Array(arguments[0])], arguments[1]));
            document.getElementById('TabCalc').dispatchEvent(new DragEvent('drop',
                { dataTransfer: transfer, bubbles: true, cancelable: true }));""",
                data, os.path.basename(path))

    def test_template_buttons_edit_the_template_the_companion_gets(self):
        self.open()
        self.race('typical.urc')
        for entry, count in ((2, 10), (3, 20), (1, 3)):
            self.add(True, entry, count)
        steps = [  # (button, line clicked first, lines afterwards)
            ('bnQueueUp', 1, ['Шахты            20', 'Фабрики          10',
                              'Макс.терраформ.  3']),
            ('bnQueueDown', 0, ['Фабрики          10', 'Шахты            20',
                                'Макс.терраформ.  3']),
            ('bnQueueDown', 1, ['Фабрики          10', 'Макс.терраформ.  3',
                                'Шахты            20']),
            ('bnQueueDel', 0, ['Макс.терраформ.  3', 'Шахты            20']),
        ]
        for button, line, expected in steps:
            with self.subTest(button=button, line=line):
                self.driver.find_elements(By.CSS_SELECTOR, '#lbQueue li')[line].click()
                self.click(button)
                self.assertEqual(self.lines('lbQueue'), expected)
        self.assertEqual(self.calculate(), tables(companion(
            '--race', 'data/typical.urc', '--plus', 'max:3,mine:20')))
        self.click('bnQueueClear')
        self.assertEqual(self.lines('lbQueue'), [])

    def test_windows_1251_race_dropped_reads_as_the_desktop_reads_it(self):
        self.open()
        self.drop(os.path.join(DATA, 'immune-two.urc'))
        self.wait(lambda: self.el('raceName').text != '')
        saved = os.path.join(self.tmp, 'race.cal')
        companion('--race', 'data/immune-two.urc', '--save-calc', saved)
        with open(saved, encoding='utf-8') as f:
            name = next(line for line in f if line.startswith('RaceName='))[9:].strip()
        self.assertEqual(self.el('raceName').text, name)
        self.assertNotIn('\ufffd', name)

    def search(self, params, start_prc=-20, years=None):
        self.open('?seed=7')
        self.type('editStartPlanetPrc', start_prc)
        self.race('typical.urc')
        self.tab('genetic')
        for i, value in enumerate(params):
            self.type(f'editGeneticP{i + 1}', value)
        if years is not None:
            self.type('editGenLYear', years)
        self.click('bnGeneticCalc')

    def test_seeded_search_equals_the_companions(self):
        # The default search for a negative and for a habitable planet.
        for start_prc in (-20, 100):
            with self.subTest(start_prc=start_prc):
                self.search([100, 20], start_prc)
                self.wait(lambda: self.el('bnGeneticCalc').text == 'Расчет', 300)
                before = resource.getrusage(resource.RUSAGE_CHILDREN).ru_utime
                out = companion('--race', 'data/typical.urc', '--start-prc', str(start_prc),
                                '--search', '--seed', '7', '--threads', '1').split('\n')
                # Side by side, for the record: the page from the click to the result shown,
                # the companion's user time on one core, and the machine's load meanwhile.
                one_core = resource.getrusage(resource.RUSAGE_CHILDREN).ru_utime - before
                print(f"\ndefault search at {start_prc} %: page "
                      f"{self.js('return document.body.dataset.searchMs')} ms on "
                      f"{self.js('return navigator.hardwareConcurrency')} cores, companion "
                      f"{one_core * 1000:.0f} ms on one core (load {os.getloadavg()[0]:.1f})",
                      file=sys.stderr)
                figures = [self.el(f'sGenValue{i}').text for i in range(1, 9)]
                self.assertEqual(out[0], 'result: ' + ' '.join(figures))
                plus_at = out.index('plus:')
                self.assertEqual(self.lines('lbGenQueue1'), [s.strip() for s in out[2:plus_at]])
                self.assertEqual(self.lines('lbGenQueue2'),
                                 [s.strip() for s in out[plus_at + 1:] if s.strip()])
                self.click('bnToGraphic')  # the found templates become the page's
                self.assertEqual((self.lines('lbQueueM'), self.lines('lbQueue')),
                                 (self.lines('lbGenQueue1'), self.lines('lbGenQueue2')))

    def test_interrupt_stops_the_search_and_the_page_answers_meanwhile(self):
        self.search([999, 999])
        self.wait(lambda: self.el('sTimeReady').text != '', 60)
        self.assertEqual(self.el('bnGeneticCalc').text, 'Прервать')
        self.assertTrue(self.el('bnLoadCalcFile').get_attribute('disabled'))
        self.tab('calc')
        data, _ = self.calculate()  # answered while the worker searches
        self.assertEqual(len(data), 16)
        self.tab('genetic')
        self.click('bnGeneticCalc')
        self.assertEqual(self.el('bnGeneticCalc').text, 'Расчет')
        self.assertIsNone(self.el('bnLoadCalcFile').get_attribute('disabled'))
        progress = self.el('pbGenetic').get_attribute('value')
        time.sleep(1)
        self.assertEqual(self.el('pbGenetic').get_attribute('value'), progress)
        # The individual last reported is shown and can go to the templates, as on the desktop.
        self.assertNotEqual(self.el('sGenValue2').text, '')
        self.click('bnToGraphic')
        self.assertEqual(self.lines('lbQueue'), self.lines('lbGenQueue2'))

    def test_interrupt_within_a_generation_shows_an_individual_simulated(self):
        # The search reports the individual it simulated last every few evaluations, so an
        # interrupt shows one long before a large generation of long trials is over.
        self.search([9999, 1], 100, 300)
        time.sleep(2)
        self.click('bnGeneticCalc')
        self.assertEqual(self.el('bnGeneticCalc').text, 'Расчет')
        self.assertEqual(self.el('sTimeReady').text, '')  # no generation was over
        self.assertNotEqual(self.el('sGenValue2').text, '')
        self.click('bnToGraphic')
        self.assertEqual(self.lines('lbQueue'), self.lines('lbGenQueue2'))

    def test_calculation_files_go_both_ways(self):
        desktop = os.path.join(tempfile.mkdtemp(prefix='quendal-web-'), 'desktop.cal')
        companion('--race', 'data/typical.urc', '--start-prc', '-20', '--minus', 'min',
                  '--plus', 'fab:50,mine:50,max:5', '--years', '20', '--search', '--seed', '7',
                  '--population', '50', '--generations', '3', '--save-calc', desktop)
        self.open()
        self.el('bnLoadCalcFileInput').send_keys(desktop)
        self.wait(lambda: self.lines('lbDataSet'))
        self.assertEqual((self.lines('lbDataSet'), self.lines('lbMineral')),
                         tables(companion('--calc', desktop)))
        self.click('bnSaveCalcFile')
        page = self.downloaded('desktop.cal')
        with open(desktop, 'rb') as f:
            self.assertEqual(page, f.read())  # the same calculation, the same bytes
        again = os.path.join(self.tmp, 'page.cal')
        with open(again, 'wb') as f:
            f.write(page)
        self.assertEqual(tables(companion('--calc', again)),
                         (self.lines('lbDataSet'), self.lines('lbMineral')))

    def test_bad_calculation_file_changes_nothing(self):
        self.open()
        self.race('typical.urc')
        shown = self.calculate()
        bad = os.path.join(self.tmp, 'bad.cal')
        with open(bad, 'w', encoding='utf-8') as f:
            f.write('[QuendalCalculation]\nVersion=1\n[Start]\nYears=abc\n')
        self.el('bnLoadCalcFileInput').send_keys(bad)
        self.wait(lambda: self.message() != '')
        self.assertTrue(self.message().startswith('Не удалось загрузить файл «bad.cal»: '))
        self.assertNotIn('\n', self.message())
        self.assertEqual((self.lines('lbDataSet'), self.lines('lbMineral')), shown)
        self.assertEqual(self.el('raceName').text, 'Kessarine Weavers')

    def test_out_of_range_fields_refuse_save_link_and_search(self):
        self.open()
        self.race('typical.urc')
        self.calculate()
        self.tab('genetic')
        self.type('editGeneticP1', 0)
        for button, caption in (('bnGeneticCalc', 'Подбор ОП'),
                                ('bnSaveCalcFile', 'Сохранить результат расчета')):
            with self.subTest(button=button):
                if button == 'bnSaveCalcFile':
                    self.tab('calc')
                self.click(button)
                self.assertEqual(self.message(),
                                 f'{caption}: П1: 0 вне допустимых пределов 2..9999')
        self.assertEqual(self.el('bnGeneticCalc').get_attribute('textContent'), 'Расчет')
        # Every field a file holds is checked, not only the search tab's: the page never
        # writes a file or a link that it would refuse to open.
        self.tab('genetic')
        self.type('editGeneticP1', 100)
        self.tab('params')
        self.type('editPlanetEnv1', 5000)
        self.tab('calc')
        self.click('bnSaveCalcFile')
        self.assertEqual(self.message(), 'Сохранить результат расчета: '
                         '[Planet] Env: 5000 вне допустимых пределов -999..999')
        self.tab('params')
        self.type('editPlanetEnv1', 50)
        self.tab('calc')
        self.type('editLightYears', 100000)
        self.click('bnShareLink')
        self.assertEqual(self.message(), 'Ссылка: ЛЕТ: 100000 вне допустимых пределов 0..99999')
        self.assertEqual(self.el('editShareLink').get_attribute('value'), '')
        self.assertFalse(os.path.exists(os.path.join(self.tmp, 'quendal.cal')))

    def test_link_restores_the_calculation(self):
        self.open()
        self.type('editStartPlanetPrc', -20)
        self.race('typical.urc')
        self.add(False, 0, 1)
        self.add(True, 2, 30)
        self.type('editLightYears', 25)
        shown = self.calculate()
        self.click('bnShareLink')
        self.wait(lambda: self.el('editShareLink').get_attribute('value'))
        link = self.el('editShareLink').get_attribute('value')
        self.assertIn('#calc=', link)
        self.driver.get('about:blank')
        self.driver.get(link)
        self.wait(lambda: self.js('return document.body.dataset.ready') == 'true')
        self.assertEqual((self.lines('lbDataSet'), self.lines('lbMineral')), shown)
        self.assertEqual(self.lines('lbQueue'), ['Фабрики          30'])
        for broken in ('#calc=not-deflate', '#calc=' + link.split('#calc=')[1][:-12],
                       '#elsewhere'):
            with self.subTest(fragment=broken[:20]):
                self.driver.get('about:blank')
                self.open(fragment=broken)
                self.assertIn('Ссылка', self.message())
                self.assertEqual(self.el('raceName').text, '')

    def rank_view(self, search, genetic=(), start_prc=None):
        """The ranking view of planets-rank.txt, by calculation or search, not started."""
        self.open('?seed=7')
        if start_prc is not None:
            self.type('editStartPlanetPrc', start_prc)
        self.race('typical.urc')
        if genetic:
            self.tab('genetic')
            for i, value in enumerate(genetic):
                self.type(f'editGeneticP{i + 1}', value)
        self.tab('params')
        self.el('bnPlanetListInput').send_keys(os.path.join(DATA, 'planets-rank.txt'))
        self.wait(lambda: self.el('bnPlanetRank').is_enabled())
        self.click('bnPlanetRank')
        if search:
            self.click('cbRankSearch')

    def ranked_rows(self):
        return self.js("return [...document.querySelectorAll('#tbRank tbody tr')]"
                       ".map(r => [...r.cells].map(c => c.textContent))")

    def companion_rank(self, genetic=()):
        """The companion's rows of planets-rank.txt, by search when `genetic` is given."""
        extra = ['--search', '--seed', '7', '--population', str(genetic[0]), '--generations',
                 str(genetic[1])] if genetic else []
        return list(csv.reader(io.StringIO(companion(
            '--race', 'data/typical.urc', '--planets', 'data/planets-rank.txt', '--rank', '--csv',
            *extra))))[1:]

    def rank(self, search, genetic=()):
        self.rank_view(search, genetic)
        self.click('bnRank')
        self.wait(lambda: self.el('bnRankSaveCsv').is_enabled(), 300)
        return self.ranked_rows()

    def test_ranking_equals_the_companions(self):
        base = ['--race', 'data/typical.urc', '--planets', 'data/planets-rank.txt']
        for search in (False, True):
            with self.subTest(search=search):
                extra = ['--search', '--seed', '7', '--population', '20', '--generations',
                         '3'] if search else []
                rows = self.rank(search, (20, 3) if search else ())
                expected = companion(*base, '--rank', '--csv', *extra)
                table = list(csv.reader(io.StringIO(expected)))[1:]
                self.assertEqual([r[:12] for r in rows], [r[:12] for r in table])
                self.click('bnRankSaveCsv')
                self.assertEqual(self.downloaded('rank.csv').decode(), expected)
                # A pick by Enter of the last row: that planet's calculation, with a searched
                # row's templates.
                last = self.driver.find_elements(By.CSS_SELECTOR, '#tbRank tbody tr')[-1]
                index = last.find_elements(By.TAG_NAME, 'td')[1].text
                templates = []
                if search:
                    minus, plus = table[-1][12:14]
                    templates = ['--minus', minus.replace(';', ','),
                                 '--plus', plus.replace(';', ',')]
                last.send_keys(Keys.ENTER)
                self.wait(lambda: self.el('TabCalc').is_displayed() and self.lines('lbDataSet'))
                self.assertEqual((self.lines('lbDataSet'), self.lines('lbMineral')),
                                 tables(companion(*base, '--pick', index, *templates)))

    def test_ranking_sorts_and_picks_by_double_click(self):
        self.rank(False)
        self.driver.find_elements(By.CSS_SELECTOR, '#tbRank th button')[1].click()
        indexes = self.js("return [...document.querySelectorAll('#tbRank tbody tr')]"
                          ".map(r => r.cells[1].textContent)")
        self.assertEqual(indexes, sorted(indexes, key=int))
        self.driver.find_elements(By.CSS_SELECTOR, '#tbRank th button')[1].click()
        self.assertEqual(self.js("return document.querySelector('#tbRank tbody tr')"
                                 ".cells[1].textContent"), indexes[-1])
        row = self.driver.find_elements(By.CSS_SELECTOR, '#tbRank tbody tr')[0]
        ActionChains(self.driver).double_click(row.find_elements(By.TAG_NAME, 'td')[2]).perform()
        self.wait(lambda: self.el('TabCalc').is_displayed())
        self.assertEqual(self.lines('lbDataSet'), tables(companion(
            '--race', 'data/typical.urc', '--planets', 'data/planets-rank.txt', '--pick',
            indexes[-1]))[0])

    # ---- The page's own workers: side by side, failing, silent, interrupted.

    def cores(self, count):
        """The page sees `count` cores: a job's worker and count - 1 helpers per job."""
        cdp = self.driver.execute_cdp_cmd
        cdp('Emulation.setHardwareConcurrencyOverride', {'hardwareConcurrency': count})
        self.addCleanup(cdp, 'Emulation.setHardwareConcurrencyOverride',
                        {'hardwareConcurrency': os.cpu_count()})

    def figures(self):
        return [self.el(f'sGenValue{i}').get_attribute('textContent') for i in range(1, 9)]

    def run_search(self, population, generations, wait=True):
        self.tab('genetic')
        self.type('editGeneticP1', population)
        self.type('editGeneticP2', generations)
        self.click('bnGeneticCalc')
        if wait:
            self.wait(lambda: self.el('bnGeneticCalc').text == 'Расчет', 60)

    def companion_search(self, population, generations):
        return companion('--race', 'data/typical.urc', '--start-prc', '-20', '--search', '--seed',
                         '7', '--threads', '1', '--population', str(population), '--generations',
                         str(generations)).split('\n')[0]

    def test_search_and_ranking_run_side_by_side(self):
        self.cores(4)
        self.rank_view(False, start_prc=-20)
        self.run_search(400, 40, wait=False)
        self.tab('params')
        self.click('bnRank')
        self.wait(lambda: self.el('bnRankSaveCsv').is_enabled(), 120)
        self.wait(lambda: self.el('bnGeneticCalc').get_attribute('textContent') == 'Расчет', 120)
        self.assertEqual([r[:12] for r in self.ranked_rows()],
                         [r[:12] for r in self.companion_rank()])
        self.assertEqual(self.companion_search(400, 40), 'result: ' + ' '.join(self.figures()))

    def test_failed_or_silent_helpers_are_worked_around(self):
        # Of each page's first helpers one never answers and one ends at its first piece.
        faults = self.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': """
            const Real = Worker;
            const faults = ['self.onmessage = () => {};', `self.onmessage = (e) => {
                if (e.ports[0]) e.ports[0].onmessage = () => self.close(); };`];
            window.Worker = class extends Real {
                constructor(url, options) {
                    if (String(url).includes('helper.js') && faults.length) url = URL
                        .createObjectURL(new Blob([faults.shift()], { type: 'text/javascript' }));
                    super(url, options);
                }
            };"""})
        self.addCleanup(self.driver.execute_cdp_cmd, 'Page.removeScriptToEvaluateOnNewDocument',
                        faults)
        self.cores(4)
        self.search([100, 20])
        self.wait(lambda: self.el('bnGeneticCalc').text == 'Расчет', 60)
        self.assertEqual(self.companion_search(100, 20), 'result: ' + ' '.join(self.figures()))
        rows = self.rank(False)
        self.assertEqual([r[:12] for r in rows], [r[:12] for r in self.companion_rank()])

    def test_interrupted_ranking_keeps_the_planets_ranked(self):
        self.rank_view(True, (100, 10))
        self.click('bnRank')
        self.wait(lambda: int(self.el('pbRank').get_attribute('value')) >= 2, 120)
        self.click('bnRank')
        rows = self.ranked_rows()
        self.assertGreaterEqual(len(rows), 2)
        self.assertEqual(self.el('sRankStatus').text,
                         f'Прервано, рассчитано планет: {len(rows)} из 5')
        self.assertEqual(self.el('sRankRemaining').text, '')
        # The planets that ended, in the order the whole ranking gives them, numbered again.
        shown = {r[1] for r in rows}
        expected = [[str(place), *r[1:12]] for place, r in enumerate(
            (r for r in self.companion_rank((100, 10)) if r[1] in shown), 1)]
        self.assertEqual([r[:12] for r in rows], expected)

    def test_search_start_clears_refuses_a_bad_seed_and_shows_a_failed_core(self):
        # A seed out of range is refused and the search takes another.
        self.open('?seed=4294967296')
        self.race('typical.urc')
        self.run_search(20, 2)
        self.assertEqual(self.message(), 'Адрес страницы: seed=4294967296 вне допустимых '
                         'пределов 0..4294967295, взят случайный seed')
        self.assertNotEqual(self.figures(), [''] * 8)
        # Interrupted before its first report, a new search shows nothing of the last one.
        self.type('editGeneticP1', 9999)
        self.js("const b = document.getElementById('bnGeneticCalc'); b.click(); b.click();")
        self.assertEqual(self.figures(), [''] * 8)
        self.assertFalse(self.el('bnToGraphic').is_enabled())
        # A core that does not instantiate in the search's worker: said, and the search over.
        self.js("""
            const bad = new WebAssembly.Module(new Uint8Array([0, 97, 115, 109, 1, 0, 0, 0, 1,
                4, 1, 96, 0, 0, 2, 7, 1, 1, 120, 1, 121, 0, 0])); // imports x.y, which is not
            const post = Worker.prototype.postMessage;
            Worker.prototype.postMessage = function (data, transfer) {
                return post.call(this, data?.module ? { ...data, module: bad } : data, transfer);
            };""")
        self.click('bnGeneticCalc')
        self.wait(lambda: self.message().startswith('Подбор ОП: '))
        self.assertEqual(self.el('bnGeneticCalc').text, 'Расчет')

    def test_a_new_build_reaches_a_page_when_it_is_opened_again(self):
        # A page open, then a new build on the server, whose search worker announces itself; by
        # a host that lets the browser keep nothing, and by one that lets it keep every file.
        for cache_control in ('no-store', 'max-age=3600'):
            with self.subTest(cache_control=cache_control):
                self.update_while_open(host(cache_control))

    def update_while_open(self, handler):
        with tempfile.TemporaryDirectory(prefix='quendal-web-') as site:
            shutil.copytree(SITE, site, dirs_exist_ok=True)
            with serve(site, handler) as url:
                self.driver.get(url)
                self.wait(lambda: self.js('return navigator.serviceWorker.controller !== null'))
                self.open_again()
                with open(os.path.join(site, 'sw.js'), encoding='utf-8') as f:
                    build = re.search('[0-9a-f]{16}', f.read()).group()
                subprocess.run(['sed', '-i', f's/{build}/feedfacefeedface/', 'sw.js',
                                'core_module.js'], cwd=site, check=True)
                with open(os.path.join(site, 'worker.js'), 'w', encoding='utf-8') as f:
                    f.write("self.onmessage = () => self.postMessage({ result: { error: 'new' } });")
                self.js("""navigator.serviceWorker.oncontrollerchange = () => {
                    document.body.dataset.updated = 'true'; };
                    navigator.serviceWorker.getRegistration().then((r) => r.update());""")
                self.wait(lambda: self.js('return document.body.dataset.updated') == 'true')
                # The open page keeps its build; opened again, it takes the new one.
                for message in ('', 'new'):
                    if message:
                        self.open_again()
                    self.run_search(20, 2)
                    self.assertEqual((self.message(), self.figures() == [''] * 8),
                                     (message, message == 'new'))

    def open_again(self):
        self.driver.refresh()
        self.wait(lambda: self.js('return document.body.dataset.ready') == 'true')
        self.race('typical.urc')

    def overflowing(self):
        """Elements reaching past the viewport's sides, other than inside a scrolled box."""
        return self.js("""
            const width = document.documentElement.clientWidth;
            const clipped = (e) => { for (let p = e.parentElement; p; p = p.parentElement) {
                const o = getComputedStyle(p).overflowX;
                if (o === 'auto' || o === 'scroll' || o === 'hidden') return p !== document.body; }
                return false; };
            const out = [...document.querySelectorAll('body *')].filter((e) => {
                const r = e.getBoundingClientRect();
                return r.width > 0 && (r.right > width + 0.5 || r.left < -0.5) && !clipped(e)
                    && !e.classList.contains('sr') && !e.classList.contains('file'); })
                .map((e) => e.id || e.tagName);
            if (document.documentElement.scrollWidth > width) out.push('scrollWidth');
            return out;""")

    def test_fits_a_phone_and_a_wide_screen(self):
        os.makedirs(SHOTS, exist_ok=True)
        for width in (360, 1280):
            with self.subTest(width=width):
                self.driver.set_window_size(width, 900)
                self.open()
                self.race('typical.urc')
                self.calculate()
                for tab in ('calc', 'params', 'genetic'):
                    self.tab(tab)
                    if tab == 'params':
                        self.el('bnPlanetListInput').send_keys(
                            os.path.join(DATA, 'planets-rank.txt'))
                        self.wait(lambda: self.el('bnPlanetRank').is_enabled())
                        self.click('bnPlanetRank')
                        self.click('bnRank')
                    self.assertEqual(self.overflowing(), [], f'{tab} at {width} px')
                    self.driver.save_screenshot(
                        os.path.join(SHOTS, f'{tab}-{width}-{self.LANG[:2]}.png'))
        self.driver.set_window_size(1280, 900)

    def test_controls_carry_the_windows_names(self):
        """Every control the window's layout names (app/form_layout_*.cpp) is in the page."""
        names = set()
        for layout in ('calc', 'params', 'genetic'):
            with open(os.path.join(ROOT, 'app', f'form_layout_{layout}.cpp'),
                      encoding='utf-8') as f:
                text = f.read()
            names |= set(re.findall(r'(?<!Numbered\()"((?:edit|bn|lb|cb|rb|pb)[A-Z]\w*)"', text))
            names |= {f'{stem}1' for stem in re.findall(r'Numbered\("(\w+)"', text)
                      if not stem.startswith('ud')}
        names = {{'rgGenMaxFactor1': 'rgGenMaxFactor0', 'sEnv1': 'sEnv1Opt'}.get(n, n)
                 for n in names}
        names |= {f'{n}Input' for n in ('bnLoadRaceFile', 'bnPlanetList', 'bnLoadCalcFile')}
        self.open()
        missing = self.js('return arguments[0].filter((id) => !document.getElementById(id))',
                          sorted(names))
        self.assertEqual(missing, [])
        self.assertGreater(len(names), 50)  # the layouts were read

    def test_nothing_is_asked_of_another_origin(self):
        self.open()
        self.race('typical.urc')
        self.calculate()
        foreign = self.js("return performance.getEntriesByType('resource').map((e) => e.name)"
                          ".filter((url) => !url.startsWith(location.origin))")
        self.assertEqual(foreign, [])

    def test_every_control_has_a_label_and_a_tab_stop(self):
        self.open()
        self.race('typical.urc')
        unlabelled = self.js("""
            return [...document.querySelectorAll('input:not(.file), select, [role="listbox"]')]
                .filter((e) => !e.labels?.length && !e.getAttribute('aria-label')
                    && !e.getAttribute('aria-labelledby')).map((e) => e.id);""")
        self.assertEqual(unlabelled, [])
        unreachable = self.js("""
            return [...document.querySelectorAll('button, input:not(.file), select, '
                + '[role="listbox"]:not([aria-disabled="true"])')]
                .filter((e) => e.tabIndex < 0 && e.getAttribute('role') !== 'tab')
                .map((e) => e.id);""")
        self.assertEqual(unreachable, [])

    # How soon is a figure for the notes, measured here and printed, not a bound: a test that
    # times itself fails on a loaded machine.
    def test_first_calculation_on_opening(self):
        self.driver.get('about:blank')
        self.driver.get(self.url)
        self.wait(lambda: self.js('return document.body.dataset.ready') == 'true')
        self.click('bnCalculate')
        self.wait(lambda: self.lines('lbDataSet'))
        shown = self.js('return performance.now()')
        print(f'\nfirst calculation shown {shown:.0f} ms after the page was opened',
              file=sys.stderr)
        self.assertEqual(len(self.lines('lbDataSet')), 16)  # years 0..15, the page's default


class EnglishPage(Page):
    """The page in a browser that asks for English: the layout checks again, no Russian text, and
    the language chosen on the page kept for the next opening."""
    LANG = 'en-US'

    def russian(self):
        """The page's texts, shown or hidden, and its controls' names and descriptions, that hold
        Cyrillic apart from the name of Russian on the language list."""
        return self.js(r"""
            const texts = [document.title, document.querySelector('meta[name=description]').content];
            const walk = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
            while (walk.nextNode()) texts.push(walk.currentNode.nodeValue);
            for (const e of document.querySelectorAll('[aria-label], [placeholder], [title]'))
                texts.push(e.getAttribute('aria-label'), e.getAttribute('placeholder'), e.title);
            return texts.filter((t) => t && /[\u0400-\u04FF]/.test(t.replace('Русский', '')));""")

    def test_shows_no_russian(self):
        self.open('?seed=x')  # a bad seed: its message too
        self.assertEqual(self.js('return document.documentElement.lang'), 'en')
        self.race('typical.urc')
        self.add(True, 2, 20)
        self.add(False, 0, 1)
        self.calculate()
        self.assertEqual(self.js("return document.getElementById('sHead2').textContent")[:5],
                         ' Year')
        self.tab('params')
        self.el('bnPlanetListInput').send_keys(os.path.join(DATA, 'planets-rank.txt'))
        self.wait(lambda: self.el('bnPlanetRank').is_enabled())
        self.assertIn(', inhabited', self.el('cbPlanetList').text)
        self.click('bnPlanetRank')
        self.click('bnRank')
        self.wait(lambda: self.ranked_rows(), 120)
        self.tab('genetic')
        self.type('editGeneticP1', 20)
        self.type('editGeneticP2', 2)
        self.click('bnGeneticCalc')
        self.wait(lambda: self.el('sGenValue1').text != '', 120)
        self.assertEqual(self.russian(), [])
        self.type('editGeneticP1', 0)  # refused, with an English message
        self.click('bnGeneticCalc')
        self.assertTrue(self.message().startswith('PQ search: P1: 0'), self.message())
        self.assertEqual(self.russian(), [])

    def test_language_choice_is_kept_for_the_next_opening(self):
        self.open()
        try:
            self.assertEqual(self.el('tabBtnCalc').text, 'Planet dynamics')
            Select(self.el('cbLanguage')).select_by_value('ru')
            self.assertEqual(self.el('sLanguageNote').text,
                             'The language changes when the page is opened again.')
            self.assertEqual(self.el('tabBtnCalc').text, 'Planet dynamics')
            self.open()
            self.assertEqual(self.el('tabBtnCalc').text, 'Динамика планеты')
            self.assertEqual(Select(self.el('cbLanguage')).first_selected_option.text, 'Русский')
            Select(self.el('cbLanguage')).select_by_value('')
            self.open()
            self.assertEqual(self.el('tabBtnCalc').text, 'Planet dynamics')
        finally:
            self.js("localStorage.removeItem('quendal.language')")


# Of the Russian page's checks, only the layout's run again in English.
for _name in dir(Page):
    if _name.startswith('test_') and _name != 'test_fits_a_phone_and_a_wide_screen':
        setattr(EnglishPage, _name, None)


class Offline(unittest.TestCase):
    def test_opens_and_calculates_with_no_server(self):
        tmp = tempfile.mkdtemp(prefix='quendal-web-')
        driver = browser(tmp)
        try:
            with serve(SITE) as url:
                driver.get(url)
                end = time.time() + 30
                while time.time() < end and not driver.execute_script(
                        'return navigator.serviceWorker.controller !== null'):
                    driver.refresh()
                    time.sleep(0.5)
            driver.refresh()  # the server is gone
            end = time.time() + 30
            while time.time() < end and driver.execute_script(
                    'return document.body.dataset.ready') != 'true':
                time.sleep(0.1)
            driver.find_element(By.ID, 'bnCalculate').click()
            rows = driver.execute_script(
                "return document.querySelectorAll('#lbDataSet li').length")
            self.assertEqual(rows, 16)
            # Installable as an app: Chromium finds nothing missing in the manifest or the worker.
            errors = driver.execute_cdp_cmd('Page.getInstallabilityErrors', {})
            self.assertEqual(errors.get('installabilityErrors'), [])
        finally:
            driver.quit()


def site_size(site):
    return sum(os.path.getsize(os.path.join(d, f)) for d, _, fs in os.walk(site) for f in fs)


if __name__ == '__main__':
    parser = argparse.ArgumentParser()
    parser.add_argument('--site', required=True)
    parser.add_argument('--calc', required=True)
    args, rest = parser.parse_known_args()
    SITE = os.path.abspath(args.site)
    CALC = os.path.abspath(args.calc)
    size = site_size(SITE)
    print(f'site: {size} bytes', file=sys.stderr)
    if size > 1536 * 1024:
        sys.exit(f'the site holds {size} bytes, more than 1.5 MB')
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)
