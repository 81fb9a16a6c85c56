"""What the web page's tests share: a headless Chromium, a quiz page opened
with a seed, the engine's state to wait on, the home page filled in, each
question page answered from the quiz's own source, the record the student
saves, the terminal player for comparison, a results server, screenshots.

scripts/web_tests.sh packs the quizzes and names the programs and folders
through the environment (KZ_WEB_*).
"""
import http.server
import json
import os
import shutil
import subprocess
import tempfile
import threading
import time
import unicodedata
import unittest
from pathlib import Path

from selenium import webdriver
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select, WebDriverWait

HERE = Path(__file__).resolve().parent
QUIZ_SOURCES = HERE / 'quizzes'
PACKED = Path(os.environ.get('KZ_WEB_QUIZZES', '/tmp/kz-web-quizzes'))
ARTEFACTS = Path(os.environ.get('KZ_WEB_ARTEFACTS', '/tmp/kz-web-artefacts'))
PLAYER = os.environ.get('KZ_WEB_TERMINAL_PLAYER', 'player')
RESULTS_PORT = int(os.environ.get('KZ_WEB_RESULTS_PORT', '0'))

# The exam types in the home page's list, as the quiz allows all six.
OPEN_ANSWER, MULTIPLE_CHOICE, TRUE_FALSE, POT_POURRI, HANGMAN, SCRAMBLED = range(6)
TYPE_NAMES = ['open_answer', 'multiple_choice', 'true_false', 'pot_pourri', 'hangman', 'scrambled_letters']

WAIT = 20  # seconds: a page that has not settled by then has hung

# Watches the page before its own scripts run: every change of the engine's
# state is counted, so that a test waits for the engine to take up what it
# asked rather than finding the state of a moment before; and every sound
# or music the page plays is kept, so that a test can see it play or stop.
WATCH_PAGE = """
window.kzWatch = { changes: 0, players: [] };
new MutationObserver((records) => { window.kzWatch.changes += records.length; })
  .observe(document, { attributes: true, subtree: true, attributeFilter: ['data-engine'] });
const kzPlay = HTMLMediaElement.prototype.play;
HTMLMediaElement.prototype.play = function () {
  if (!window.kzWatch.players.includes(this)) window.kzWatch.players.push(this);
  return kzPlay.call(this);
};
"""


def quiz_source(name):
    return json.loads((QUIZ_SOURCES / f'{name}.json').read_text(encoding='utf-8'))


def answers_of(name):
    """Question text -> answer text of every plain-text question of a quiz."""
    return {q['question']: q['answer'] for theme in quiz_source(name)['themes'] for q in theme['questions']
            if isinstance(q.get('question'), str)}


def folded_letters(text):
    """The letters that uncover a hangman's answer: capitals without accents, once each."""
    letters = []
    for c in unicodedata.normalize('NFD', text.upper()):
        if c.isalpha() and c.isascii() and c not in letters:
            letters.append(c)
    return letters


class Browser:
    """One headless Chromium on a fresh profile, `width` pixels wide."""

    def __init__(self, width=1280, height=900):
        self.profile = Path(tempfile.mkdtemp(prefix='kz-web-profile-'))
        self.downloads = self.profile / 'downloads'
        self.downloads.mkdir()
        options = Options()
        options.binary_location = '/usr/bin/chromium'
        for argument in ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
                         '--disable-component-update', '--no-first-run', '--disable-dev-shm-usage',
                         '--autoplay-policy=no-user-gesture-required', '--mute-audio',
                         f'--user-data-dir={self.profile / "chrome"}', f'--window-size={width},{height}']:
            options.add_argument(argument)
        options.add_experimental_option('prefs', {'download.default_directory': str(self.downloads),
                                                  'download.prompt_for_download': False,
                                                  # One page saves one file per exam.
                                                  'profile.default_content_setting_values.automatic_downloads': 1})
        self.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        self.driver.execute_cdp_cmd('Page.setDownloadBehavior',
                                    {'behavior': 'allow', 'downloadPath': str(self.downloads)})
        self.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': WATCH_PAGE})
        # A window is never narrower than 500 pixels: a phone's screen is
        # emulated instead, as the browser's device mode does.
        if width < 500:
            self.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                                        {'width': width, 'height': height, 'deviceScaleFactor': 1, 'mobile': True})
        self.width = width

    def close(self):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self.profile, ignore_errors=True)

    # ------------------------------------------------------------ the engine

    def open(self, quiz, seed=None):
        """Opens a packed quiz page (by name) and waits for its first page."""
        url = (PACKED / f'{quiz}.html').as_uri() + (f'?seed={seed}' if seed is not None else '')
        self.driver.get(url)
        self.wait_settled()

    def reload(self):
        self.driver.refresh()
        self.wait_settled()

    def state(self):
        return self.driver.execute_script('return document.documentElement.dataset.engine')

    def wait_settled(self, since=None):
        """Waits until the engine has nothing left to do or waits in a dialog,
        after at least one change of its state since `since` when given."""
        def settled(driver):
            watch = driver.execute_script(
                'return [document.documentElement.dataset.engine, window.kzWatch ? window.kzWatch.changes : 0]')
            return watch[0] in ('idle', 'dialog') and (since is None or watch[1] > since)
        self.wait(settled, 'the engine to settle')

    def act(self, action):
        """Does something that hands the engine a command, then waits until
        the engine has done it (or waits in the dialog it opened)."""
        since = self.driver.execute_script('return window.kzWatch.changes')
        action()
        self.wait_settled(since)

    def wait(self, condition, what, timeout=WAIT):
        try:
            return WebDriverWait(self.driver, timeout, poll_frequency=0.05).until(condition)
        except TimeoutException:
            self.shot(f'timeout-{int(time.time() * 1000)}')
            raise AssertionError(f'timed out waiting for {what}; engine {self.state()!r}') from None

    # ------------------------------------------------------------ the DOM

    def find(self, css):
        return self.driver.find_element(By.CSS_SELECTOR, css)

    def find_all(self, css):
        return self.driver.find_elements(By.CSS_SELECTOR, css)

    def text(self, css):
        return self.driver.execute_script(
            'const e = document.querySelector(arguments[0]); return e ? e.textContent : null', css)

    def click(self, css):
        self.act(lambda: self.find(css).click())

    def next(self):
        self.click('#next')

    def wait_focus(self, element_id):
        """Waits until the keyboard's focus is on the element (the focus
        comes back to the page once a dialog's closing has run its course)."""
        self.wait(lambda d: d.execute_script('return document.activeElement && document.activeElement.id')
                  == element_id, f'the focus on #{element_id}')

    def dialog(self, kind, present=True):
        """Waits for the open dialog of a kind (message, correction, palette ...) or for its closing."""
        css = f'dialog.{kind}[open]'
        self.wait(lambda d: bool(d.find_elements(By.CSS_SELECTOR, css)) == present,
                  f'{kind} dialog to {"open" if present else "close"}')
        return self.find(css) if present else None

    def caption(self):
        return self.text('#caption')

    def shot(self, name):
        ARTEFACTS.mkdir(parents=True, exist_ok=True)
        self.driver.save_screenshot(str(ARTEFACTS / f'{name}-{self.width}.png'))

    # ------------------------------------------------------------ pages

    def fill_home(self, name='Camille', exam_type=OPEN_ANSWER, themes=(1,), count=3, random_order=True,
                  training=False, time_limit=None):
        """Fills the home page as a student would and starts the exam. Themes
        are numbered from 1; `time_limit` in seconds switches it on. Returns
        the home page's answers in the terminal player's answer file."""
        name_field = self.find('#home-name')
        # A learning platform's student keeps the platform's name (name=None).
        if name is not None:
            self.act(lambda: (name_field.clear(), name_field.send_keys(name)))
        self.find('#home-more').click()
        self.act(lambda: self.find('[data-themes=none]').click())
        for theme in themes:
            self.act(lambda: self.find(f'#home-themes input[data-theme="{theme - 1}"]').click())
        Select(self.find('#home-type')).select_by_index(exam_type)
        self.set_checked('#home-time-limit-on', time_limit is not None)
        if time_limit is not None:
            field = self.find('#home-time-limit')
            field.clear()
            field.send_keys(str(time_limit))
        count_field = self.find('#home-count')
        self.act(lambda: (count_field.clear(), count_field.send_keys(str(count))))
        self.find('#home-random' if random_order else '#home-fixed').click()
        self.set_checked('#home-training', training)
        self.next()
        return [name, 'o', ' '.join(map(str, themes)), str(exam_type + 1),
                'n' if time_limit is None else f'o\n{time_limit}', str(count),
                '1' if random_order else '2', 'n', 'o' if training else 'n']

    def set_checked(self, css, checked):
        box = self.find(css)
        if box.is_selected() != checked:
            box.click()

    def place_text(self, place='question'):
        return (self.text(f'[data-place="{place}"] .rich') or '').strip()

    def answer_question(self, exam_type, right, answers):
        """Answers the question on screen from `answers` (question -> answer):
        rightly (True), wrongly (False) or not at all (None), and presses
        "Suivant >" unless the page goes on by itself. Returns the answer's
        lines in the terminal player's answer file."""
        expected = answers[self.place_text()]
        if exam_type in (OPEN_ANSWER, SCRAMBLED):
            typed = {True: expected, False: 'Faux', None: ''}[right]
            # Enter in the answer is "Suivant >".
            field = self.find('#answer')
            self.act(lambda: field.send_keys(typed, Keys.ENTER))
            return [typed]
        if exam_type == MULTIPLE_CHOICE:
            matching = [k for k in (1, 2, 3) if self.place_text(f'box_{k}') == expected]
            ticks = {True: matching, False: [k for k in (1, 2, 3) if k not in matching][:1], None: []}[right]
            for k in ticks:
                self.find(f'#tick-{k}').click()
            self.next()
            return [' '.join(map(str, ticks))]
        if exam_type == TRUE_FALSE:
            line = ''
            if right is not None:
                says_true = (self.place_text('statement') == expected) == right
                self.click('#says-true' if says_true else '#says-false')
                line = '1' if says_true else '2'
            self.next()
            return [line]
        if exam_type == POT_POURRI:
            entries = [o.text for o in Select(self.find('#candidates')).options]
            chosen = 0 if right is None else \
                next(i for i, entry in enumerate(entries) if i > 0 and (entry == expected) == right)
            Select(self.find('#candidates')).select_by_index(chosen)
            self.next()
            return [str(chosen) if chosen else '']
        if exam_type == HANGMAN:
            if right is None:
                self.next()
                return [':suivant']
            letters = folded_letters(expected) if right else \
                [c for c in 'ZWXQJKYV' if c not in folded_letters(expected)][:5]
            for letter in letters:
                self.test_letter(letter)
            if not right:
                # The fifth miss: the page says so, then grades.
                self.dialog('message')
                self.click('dialog.message[open] .dialog-buttons button')
            return letters
        raise ValueError(exam_type)

    def test_letter(self, letter):
        field = self.find('#letter')
        self.act(lambda: field.send_keys(letter, Keys.ENTER))

    def answer_exam(self, exam_type, rights, answers):
        """Answers one question per entry of `rights` and waits for the end page."""
        lines = []
        for right in rights:
            lines += self.answer_question(exam_type, right, answers)
        self.wait(lambda d: d.find_elements(By.ID, 'end-text'), 'the end page')
        return lines

    def saved_record(self, button=None):
        """The results data file that "Enregistrer le résultat" (or another
        button) downloads."""
        for old in self.downloads.iterdir():
            old.unlink()
        (button or self.find('#save-record')).click()

        def downloaded(_):
            files = [f for f in self.downloads.iterdir() if f.suffix == '.dat']
            return files[0] if files and files[0].stat().st_size > 0 else None
        return self.wait(downloaded, 'the saved results file').read_bytes()


# ---------------------------------------------------------------- records

ENTRY_LINES = 16
HEADER_LINES = 11


def record_lines(data_file):
    """The lines of the one record of a results data file (format line first),
    checked to be whole: CR LF lines, the header and its entries, nothing more."""
    assert data_file.startswith(b'1.3\r\n'), data_file[:20]
    assert data_file.endswith(b'\r\n')
    lines = data_file[5:-2].split(b'\r\n')
    entries = int(lines[HEADER_LINES - 1]) + 1
    assert len(lines) == HEADER_LINES + entries * ENTRY_LINES, f'{len(lines)} lines for {entries} entries'
    return lines


def without_times(data_file):
    """A record's lines with what differs by nature left out: the runner's
    path, the start date, and each entry's start and end times."""
    lines = record_lines(data_file)
    masked = list(lines)
    masked[3] = masked[5] = b'-'
    for start in range(HEADER_LINES, len(lines), ENTRY_LINES):
        masked[start + 14] = masked[start + 15] = b'-'
    return masked


def entries(data_file):
    """Each entry of a record: (question, expected 1, given 1, right)."""
    lines = record_lines(data_file)
    return [(lines[s + 2].decode('cp1252'), lines[s + 3].decode('cp1252'), lines[s + 4].decode('cp1252'),
             lines[s + 13] == b'1')
            for s in range(HEADER_LINES, len(lines), ENTRY_LINES)]


def player_record(quiz, seed, lines):
    """Plays a packed quiz in the terminal player with the same seed, from an
    answer file of `lines`, and returns the results data file it wrote."""
    with tempfile.TemporaryDirectory(prefix='kz-web-player-') as folder:
        results = Path(folder) / 'resultats.dat'
        played = subprocess.run([PLAYER, str(PACKED / f'{quiz}.exe'), f'--seed={seed}', '--clock=fake',
                                 '--no-sound', '--results', str(results)],
                                input='\n'.join(lines + ['']).encode('utf-8'), capture_output=True, timeout=60)
        assert played.returncode == 0, played.stdout.decode() + played.stderr.decode()
        assert results.exists(), 'the player wrote no record:\n' + played.stdout.decode('utf-8', 'replace')
        return results.read_bytes()


# ---------------------------------------------------------------- results server

class ResultsServer:
    """The teacher's results address on 127.0.0.1: answers the browser's
    preflight and keeps the body and headers of each POST."""

    def __init__(self, port=RESULTS_PORT):
        self.port = port
        self.received = []
        self.arrived = threading.Event()
        self.server = None

    def start(self):
        owner = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *_):
                pass

            def allow(self, status):
                self.send_response(status)
                self.send_header('Access-Control-Allow-Origin', '*')
                self.send_header('Access-Control-Allow-Methods', 'POST, OPTIONS')
                self.send_header('Access-Control-Allow-Headers', 'Content-Type')
                self.send_header('Content-Length', '0')
                self.end_headers()

            def do_OPTIONS(self):
                self.allow(204)

            def do_POST(self):
                body = self.rfile.read(int(self.headers.get('Content-Length', 0)))
                owner.received.append((dict(self.headers), body))
                self.allow(200)
                owner.arrived.set()

        http.server.ThreadingHTTPServer.allow_reuse_address = True
        self.server = http.server.ThreadingHTTPServer(('127.0.0.1', self.port), Handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def stop(self):
        if self.server:
            self.server.shutdown()
            self.server.server_close()
            self.server = None


class BrowserTest(unittest.TestCase):
    """Tests that share one browser, `width` pixels wide, for their class."""
    width = 1280
    maxDiff = None

    @classmethod
    def setUpClass(cls):
        cls.browser = Browser(cls.width)

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()

    def start_exam(self, quiz='capitales', seed=1, **home):
        """Opens the quiz, passes its welcome page and fills its home page;
        returns the home page's lines of the player's answer file."""
        self.browser.open(quiz, seed)
        lines = []
        if self.browser.find_all('#welcome-text'):
            self.browser.next()
            lines.append('')
        return lines + self.browser.fill_home(**home)
