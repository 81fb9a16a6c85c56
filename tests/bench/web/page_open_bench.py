#!/usr/bin/python3
"""The web player's opening, in headless Chromium: from the start of the
page's navigation to its first question on the screen, for the largest quiz
the format allows and for a quiz of three questions, alternately in one run;
the page's size against the quiz's; the size of the WebAssembly. A benchmark,
not a test: it prints figures and judges nothing.

Usage: page_open_bench.py [native build] [web build] [runs]
       (defaults: build/native, build/web, 5)
"""
import base64
import os
import re
import statistics
import subprocess
import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..', '..'))


def browser(profile):
    options = Options()
    for argument in ('--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
                     '--disable-component-update', '--no-first-run', '--window-size=1280,900',
                     f'--user-data-dir={profile}'):
        options.add_argument(argument)
    options.binary_location = '/usr/bin/chromium'
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)


def first_question_ms(driver, page):
    driver.get('about:blank')
    driver.get('file://' + page)
    mark = "const m = performance.getEntriesByName('kz:first-question'); return m.length ? m[0].startTime : null;"
    return WebDriverWait(driver, 120, poll_frequency=0.02).until(lambda d: d.execute_script(mark))


def main():
    native = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(TOP, 'build', 'native'))
    web = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else os.path.join(TOP, 'build', 'web'))
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    template = os.path.join(web, 'web', 'quiz-player.html')
    with tempfile.TemporaryDirectory() as folder:
        quizzes = {name: os.path.join(folder, name + '.exe') for name in ('largest', 'small')}
        subprocess.run([os.path.join(native, 'tests', 'bench', 'make_bench_quizzes'), quizzes['largest'],
                        quizzes['small']], check=True)
        pages = {}
        for name, quiz in quizzes.items():
            pages[name] = os.path.join(folder, name + '.html')
            subprocess.run([os.path.join(native, 'tools', 'packer', 'packer'), 'web', quiz, '--player', template,
                            '-o', pages[name]], check=True, stdout=subprocess.DEVNULL)
        driver = browser(os.path.join(folder, 'profile'))
        try:
            times = {name: [] for name in pages}
            for _ in range(runs):
                for name, page in pages.items():
                    times[name].append(first_question_ms(driver, page))
        finally:
            driver.quit()
        print(f'open to first question painted, median of {runs} (min-max):')
        for name in pages:
            print(f'  {name:8} {statistics.median(times[name]):8.0f} ms '
                  f'({min(times[name]):.0f}-{max(times[name]):.0f})')
        print('sizes:')
        for name in pages:
            print(f'  {name:8} quiz {os.path.getsize(quizzes[name]):>11,} bytes, '
                  f'page {os.path.getsize(pages[name]):>11,} bytes')
        with open(os.path.join(web, 'web', 'quiz_player.js'), encoding='utf-8') as script:
            module = re.search(r'data:application/octet-stream;base64,([A-Za-z0-9+/=]+)', script.read())
        print(f'  WebAssembly {len(base64.b64decode(module.group(1))):,} bytes '
              f'(page template {os.path.getsize(template):,} bytes)')


if __name__ == '__main__':
    main()
