"""The class report's page in headless Chromium, at a desk's 1280 pixels and
on a phone's 390-pixel screen (emulated: a window is never narrower than
500 pixels): the histogram's mean and median labels never overlap and sit
beside their own lines whatever the two values, the page never runs off a
phone's screen, the tables keep their first column in view while the rest
scrolls and the questions read as cards, only the report's own script runs,
and the printed page repeats its tables' heads. Screenshots are kept.

Usage: check_report_page.py RESULTS-REPORT OUT-FOLDER
"""
import base64
import json
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service

TOOL, OUT = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
OUT.mkdir(parents=True, exist_ok=True)
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print(f'check_report_page: {what}', file=sys.stderr)


# A results file of quizzes whose mean and median fall everywhere: below,
# above and on each other, at both ends of the scale and close together;
# one quiz of many exams, whose tables run over several printed pages.
def record(student, quiz, score, date, questions):
    lines = [student, '1', quiz, 'C:\\Classe\\quiz.exe', str(score), date, '0', '0', '1', '0', str(len(questions) - 1)]
    for i, (question, right, given) in enumerate(questions):
        lines += ['Thème', 'Capitale ?', question]
        lines += ['Paris', given] + [' '] * 8
        lines += ['1' if right else '0', f'10:00:{i:02d}', f'10:00:{i + 1:02d}']
    return ''.join(line + '\r\n' for line in lines)


def exams_of(quiz, scores, day=1):
    text = ''
    for n, score in enumerate(scores):
        questions = [(f'Question {q}', q * 5 < score, '' if q * 5 < score else f'Erreur {q % 3}') for q in range(20)]
        text += record(f'Élève {n:03d} de {quiz[:12]}', quiz, score, f'{day:02d}/03/2026 {8 + n // 60:02d}:{n % 60:02d}',
                       questions)
    return text


distributions = {
    'Médiane sous la moyenne': [10, 15, 20, 20, 25, 95, 100, 100],
    'Médiane au-dessus': [5, 10, 80, 85, 90, 90, 95],
    'Moyenne égale à la médiane': [40, 50, 60],
    'Tout à zéro': [0, 0, 0, 0],
    'Tout à vingt': [100, 100, 100],
    'Un zéro et un vingt': [0, 100],
    'Presque égales': [48, 50, 52, 55, 49],
    'Grande classe': [(n * 37) % 101 for n in range(140)],
}
results = '1.3\r\n' + ''.join(exams_of(quiz, scores, day) for day, (quiz, scores) in
                              enumerate(distributions.items(), start=1))
(OUT / 'mise-en-page.dat').write_bytes(results.encode('cp1252'))
subprocess.run([str(TOOL), str(OUT / 'mise-en-page.dat'), '-o', str(OUT / 'mise-en-page.html'), '--limit', '0'],
               check=True, stdout=subprocess.DEVNULL)
page = OUT / 'mise-en-page.html'


def browser(width, height):
    options = Options()
    options.binary_location = '/usr/bin/chromium'
    profile = tempfile.mkdtemp(prefix='kz-report-profile-')
    for argument in ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
                     '--disable-component-update', '--no-first-run', '--disable-dev-shm-usage', '--hide-scrollbars',
                     f'--user-data-dir={profile}', f'--window-size={max(width, 500)},{height}']:
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    if width < 500:
        driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                               {'width': width, 'height': height, 'deviceScaleFactor': 1, 'mobile': True})
    driver.profile = profile
    return driver


def close(driver):
    driver.quit()
    shutil.rmtree(driver.profile, ignore_errors=True)


LABELS = """
return Array.from(document.querySelectorAll('svg.histogram')).map(function (svg) {
  function box(e) { var r = e.getBoundingClientRect(); return {l: r.left, r: r.right, t: r.top, b: r.bottom}; }
  var section = svg.closest('section');
  return {quiz: section.querySelector('h2').textContent, svg: box(svg),
          mean: box(svg.querySelector('text.mean-label')), median: box(svg.querySelector('text.median-label')),
          mean_line: box(svg.querySelector('line.mean')), median_line: box(svg.querySelector('line.median'))};
});
"""


def overlap(a, b):
    return a['l'] < b['r'] and b['l'] < a['r'] and a['t'] < b['b'] and b['t'] < a['b']


def beside(label, line):
    """The label's near edge is by its line, and its row is at the line's top."""
    x = (line['l'] + line['r']) / 2
    height = label['b'] - label['t']
    near = min(abs(label['l'] - x), abs(label['r'] - x))
    return near < height and label['t'] - height <= line['t'] <= label['b']


for width, height in [(1280, 900), (390, 844)]:
    driver = browser(width, height)
    try:
        driver.get(page.as_uri())
        for h in driver.execute_script(LABELS):
            where = f'{h["quiz"]} at {width} px'
            check(not overlap(h['mean'], h['median']), f'the mean and median labels overlap: {where}')
            for name in ('mean', 'median'):
                label = h[name]
                check(h['svg']['l'] - 1 <= label['l'] and label['r'] <= h['svg']['r'] + 1,
                      f'the {name} label leaves the chart: {where}')
                check(beside(label, h[name + '_line']), f'the {name} label is not beside its line: {where}')
            check(h['svg']['r'] <= width + 0.5, f'the histogram runs off the screen: {where}')
        check(driver.execute_script('return document.documentElement.scrollWidth') <= width,
              f'the page is wider than the screen at {width} px')
        if width < 500:
            # The first column stays in view while the table scrolls.
            pinned = driver.execute_script("""
              var scroll = document.querySelector('table.exams').parentElement;
              scroll.scrollLeft = scroll.scrollWidth;
              var cell = scroll.querySelector('tbody td');
              return [scroll.scrollLeft > 0, cell.getBoundingClientRect().left - scroll.getBoundingClientRect().left,
                      cell.getBoundingClientRect().right < window.innerWidth];""")
            check(pinned[0] and abs(pinned[1]) < 1 and pinned[2], f'the student column scrolls away: {pinned}')
            cards = driver.execute_script("""
              return Array.from(document.querySelectorAll('table.questions tbody tr')).slice(0, 30).map(function (tr) {
                var r = tr.getBoundingClientRect(), d = tr.querySelector('td.discrimination').getBoundingClientRect();
                return [r.left >= 0 && r.right <= window.innerWidth, d.right <= window.innerWidth && d.width > 0];
              });""")
            check(cards and all(a and b for a, b in cards), 'a question card runs off the screen')
        driver.get((OUT.parent / 'rapport.html').as_uri())
        driver.save_screenshot(str(OUT / f'report-{width}.png'))
        driver.get(page.as_uri())
        driver.execute_script("document.querySelector('section.quiz').scrollIntoView()")
        driver.save_screenshot(str(OUT / f'histograms-{width}.png'))
        if width < 500:
            driver.execute_script("document.querySelector('table.questions').scrollIntoView()")
            driver.save_screenshot(str(OUT / f'questions-{width}.png'))
    finally:
        close(driver)

# Only the report's own script runs: one slipped into the page does not.
driver = browser(1280, 900)
try:
    html = page.read_text(encoding='utf-8')
    slipped = OUT / 'script-glisse.html'
    slipped.write_text(html.replace('<main>', "<main><script>document.documentElement.dataset.slipped = 'yes'</script>"
                                    "<img src=x onerror=\"document.documentElement.dataset.slipped = 'yes'\">", 1),
                       encoding='utf-8')
    driver.get(slipped.as_uri())
    check(driver.execute_script('return document.documentElement.dataset.slipped') is None,
          'a script slipped into the page ran')
    check(driver.execute_script("return document.querySelectorAll('button.sort').length") > 0,
          "the report's own script did not run")
    # Printed: A4, the first page holds the first quiz, the heads repeat.
    driver.get(page.as_uri())
    pdf = base64.b64decode(driver.execute_cdp_cmd('Page.printToPDF', {
        'printBackground': True, 'preferCSSPageSize': True, 'displayHeaderFooter': False})['data'])
    (OUT / 'mise-en-page.pdf').write_bytes(pdf)
    driver.execute_cdp_cmd('Emulation.setEmulatedMedia', {'media': 'print'})
    printed = driver.execute_script("""
      var head = document.querySelector('table.exams thead th');
      var first = document.querySelector('main > section.quiz');
      return [getComputedStyle(head.querySelector('button.sort')).display, head.textContent.trim(),
              getComputedStyle(first).breakBefore, getComputedStyle(document.querySelectorAll('section.quiz')[1]).breakBefore];""")
    check(printed[0] == 'none' and printed[1] == 'Élève', f'a printed head holds no text but a button: {printed}')
    check(printed[2] != 'page' and printed[3] == 'page', f'the first quiz does not print on the first page: {printed}')
    check(b'/MediaBox [0 0 594.9' in pdf, 'the printed page is not A4')
finally:
    close(driver)

if failures:
    print(f'check_report_page: {len(failures)} failures; pages and screenshots in {OUT}', file=sys.stderr)
    sys.exit(1)
print(f'check_report_page: labels, phone layout, script policy and print checked; screenshots in {OUT}')
