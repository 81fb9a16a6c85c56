"""The SCORM 1.2 package: its manifest by the rules of the content package,
and the page played inside a learning platform, as a platform launches it:
in a frame of the platform's page, whose window holds the run-time's API.
The platform is scorm-again, a SCORM run-time in the browser, which keeps
what the page commits; a wrapper around it can refuse a value. What two
exams commit is compared with expected/scorm-two-exams.json, which
KZ_WEB_WRITE_EXPECTED=1 writes anew from a run, to be read before it is
committed."""
import functools
import http.server
import json
import os
import re
import shutil
import tempfile
import threading
import unittest
import xml.etree.ElementTree as ElementTree
import zipfile
from pathlib import Path

import harness
from harness import By

PACKAGE = harness.PACKED / 'capitales-scorm.zip'
SCORM_AGAIN = Path(os.environ.get('KZ_WEB_SCORM_AGAIN', 'scorm12.js'))
EXPECTED = harness.HERE / 'expected' / 'scorm-two-exams.json'

CP = '{http://www.imsproject.org/xsd/imscp_rootv1p1p2}'
ADLCP = '{http://www.adlnet.org/xsd/adlcp_rootv1p2}'

# The platform's page: scorm-again's API for the student "Dupont, Marie",
# with the mastery score of the address, behind a wrapper that refuses the
# element named by "refuse"; no API at all with "api=none".
PLATFORM_PAGE = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><script src="scorm12.js"></script><script>
const asked = new URLSearchParams(location.search);
window.commits = [];
window.finished = false;
if (asked.get('api') !== 'none') {
  const platform = new Scorm12API({ autocommit: false, logLevel: 5 });
  const cmi = { core: { student_id: 's42', student_name: 'Dupont, Marie' } };
  if (asked.get('mastery')) cmi.student_data = { mastery_score: asked.get('mastery') };
  platform.loadFromJSON(cmi);
  platform.on('LMSCommit', () => window.commits.push(platform.renderCommitCMI(true)));
  platform.on('LMSFinish', () => { window.finished = true; });
  let refusal = '';
  window.API = {
    LMSInitialize: (v) => platform.LMSInitialize(v),
    LMSFinish: (v) => platform.LMSFinish(v),
    LMSGetValue: (e) => platform.LMSGetValue(e),
    LMSSetValue: (e, v) => {
      refusal = e === asked.get('refuse') ? '405' : '';
      return refusal ? 'false' : platform.LMSSetValue(e, v);
    },
    LMSCommit: (v) => platform.LMSCommit(v),
    LMSGetLastError: () => refusal || platform.LMSGetLastError(),
    LMSGetErrorString: (c) => platform.LMSGetErrorString(c),
    LMSGetDiagnostic: (c) => platform.LMSGetDiagnostic(c),
  };
}
</script></head>
<body><iframe id="activity" width="1200" height="860" src="package/index.html?seed=4"></iframe></body></html>
"""


class ManifestTest(unittest.TestCase):
    """imsmanifest.xml by the rules of a SCORM 1.2 content package."""

    def test_the_package_is_a_scorm_12_content_package(self):
        with zipfile.ZipFile(PACKAGE) as package:
            self.assertIsNone(package.testzip())
            names = package.namelist()
            self.assertIn('imsmanifest.xml', names)
            manifest = ElementTree.fromstring(package.read('imsmanifest.xml'))
        self.assertEqual(manifest.tag, CP + 'manifest')
        self.assertEqual(manifest.findtext(f'{CP}metadata/{CP}schema'), 'ADL SCORM')
        self.assertEqual(manifest.findtext(f'{CP}metadata/{CP}schemaversion'), '1.2')
        self.assertTrue(manifest.get('version'))

        identifiers = [e.get('identifier') for e in manifest.iter() if e.get('identifier') is not None]
        self.assertEqual(len(identifiers), len(set(identifiers)), identifiers)
        for identifier in identifiers:
            self.assertRegex(identifier, r'^[A-Za-z_][\w.-]*$')

        organizations = manifest.find(CP + 'organizations')
        organization, = organizations.findall(CP + 'organization')
        self.assertEqual(organizations.get('default'), organization.get('identifier'))
        self.assertEqual(organization.findtext(CP + 'title'), 'Capitales')
        item, = organization.findall(CP + 'item')
        resource, = manifest.findall(f'{CP}resources/{CP}resource')
        self.assertEqual(item.get('identifierref'), resource.get('identifier'))
        self.assertEqual(resource.get(ADLCP + 'scormtype'), 'sco')
        self.assertEqual(resource.get('type'), 'webcontent')

        listed = [f.get('href') for f in resource.findall(CP + 'file')]
        self.assertIn(resource.get('href'), names, 'the launch file is in the package')
        self.assertIn(resource.get('href'), listed)
        self.assertEqual(sorted(listed), sorted(n for n in names if n != 'imsmanifest.xml'),
                         'every file of the package is listed, and only those')


class PlatformTest(harness.BrowserTest):
    """The page inside the platform's page, served as a platform serves it."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.site = Path(tempfile.mkdtemp(prefix='kz-web-platform-'))
        with zipfile.ZipFile(PACKAGE) as package:
            package.extractall(cls.site / 'package')
        shutil.copy(SCORM_AGAIN, cls.site / 'scorm12.js')
        (cls.site / 'platform.html').write_text(PLATFORM_PAGE, encoding='utf-8')

        class Quiet(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *_):
                pass

        cls.server = http.server.ThreadingHTTPServer(
            ('127.0.0.1', 0), functools.partial(Quiet, directory=str(cls.site)))
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        cls.answers = harness.answers_of('capitales')

    @classmethod
    def tearDownClass(cls):
        cls.server.shutdown()
        cls.server.server_close()
        shutil.rmtree(cls.site, ignore_errors=True)
        super().tearDownClass()

    def launch(self, **asked):
        """Opens the platform's page and steps into the activity's frame."""
        driver = self.browser.driver
        driver.switch_to.default_content()
        query = '&'.join(f'{k}={v}' for k, v in asked.items())
        driver.get(f'http://127.0.0.1:{self.server.server_address[1]}/platform.html?{query}')
        frame = self.browser.wait(lambda d: d.find_elements(By.ID, 'activity'), 'the activity frame')[0]
        driver.switch_to.frame(frame)
        self.browser.wait(lambda d: d.execute_script('return document.documentElement.dataset.engine')
                          in ('idle', 'dialog'), 'the page in its frame')

    def platform(self, script):
        """Runs a script in the platform's window and comes back to the activity."""
        driver = self.browser.driver
        driver.switch_to.parent_frame()
        try:
            return driver.execute_script(script)
        finally:
            driver.switch_to.frame(driver.find_element(By.ID, 'activity'))

    def commits(self, count):
        self.browser.wait(lambda _: len(self.platform('return window.commits')) >= count, f'{count} commits')
        return self.platform('return window.commits')

    def play(self, exam_type, rights, name=None):
        if self.browser.find_all('#welcome-text'):
            self.browser.next()
        self.browser.fill_home(name=name, exam_type=exam_type, themes=(1,), count=len(rights), random_order=False)
        self.browser.answer_exam(exam_type, rights, self.answers)

    def test_two_exams_reach_the_gradebook_with_their_questions(self):
        self.launch(mastery=60)
        self.play(harness.OPEN_ANSWER, [True, False, True])
        self.browser.click('#end-home')
        self.play(harness.MULTIPLE_CHOICE, [False, None, True])
        first, second = self.commits(2)[:2]

        # Times are the clock's: their form is checked, not their value.
        timespan = re.compile(r'^\d{2,4}:\d{2}:\d{2}$')
        for commit in (first, second):
            core = commit['cmi']['core']
            self.assertRegex(core.pop('session_time'), timespan)
            core.pop('total_time', None)
            for interaction in commit['cmi']['interactions'].values():
                self.assertRegex(interaction.pop('time'), r'^\d{2}:\d{2}:\d{2}$')
                self.assertRegex(interaction.pop('latency'), timespan)
        if os.environ.get('KZ_WEB_WRITE_EXPECTED'):
            EXPECTED.parent.mkdir(exist_ok=True)
            EXPECTED.write_text(json.dumps([first['cmi'], second['cmi']], ensure_ascii=False, indent=1) + '\n',
                                encoding='utf-8')
        expected = json.loads(EXPECTED.read_text(encoding='utf-8'))
        self.assertEqual([first['cmi'], second['cmi']], expected)

    def test_without_a_mastery_score_an_exam_is_completed(self):
        self.launch()
        self.play(harness.TRUE_FALSE, [True, True])
        core = self.commits(1)[0]['cmi']['core']
        self.assertEqual((core['lesson_status'], core['score']['raw']), ('completed', '100'))

    def test_the_student_is_the_one_the_platform_names(self):
        self.launch()
        self.browser.next()
        name = self.browser.find('#home-name')
        self.assertEqual(name.get_attribute('value'), 'Marie Dupont')
        self.assertEqual(name.get_attribute('readonly'), 'true')
        self.play(harness.OPEN_ANSWER, [True])
        self.assertEqual(harness.record_lines(self.browser.saved_record())[0], b'Marie Dupont')
        # Quitting the page closes the platform's session.
        self.browser.click('#quit')
        self.browser.wait(lambda _: self.platform('return window.finished'), 'the session finished')

    def test_a_refusal_is_told_once_and_the_exam_goes_on(self):
        self.launch(refuse='cmi.core.score.raw')
        self.play(harness.OPEN_ANSWER, [True, False])
        notice = self.browser.wait(lambda d: d.find_element(By.ID, 'platform-notice').is_displayed()
                                   and d.find_element(By.ID, 'platform-notice'), 'the notice')
        self.assertIn('erreur 405', notice.text)
        self.assertEqual(len(self.browser.find_all('#platform-notice')), 1)
        # The other values reached the platform, and the record can be saved.
        core = self.commits(1)[0]['cmi']['core']
        self.assertEqual(core['lesson_status'], 'completed')
        self.assertEqual(len(harness.entries(self.browser.saved_record())), 2)

    def test_without_a_platform_the_page_plays_alone(self):
        self.launch(api='none')
        self.browser.next()
        self.assertEqual(self.browser.find('#home-name').get_attribute('readonly'), None)
        self.play(harness.OPEN_ANSWER, [True], name='Léa')
        self.assertFalse(self.browser.find('#platform-notice').is_displayed())
        self.assertEqual(harness.record_lines(self.browser.saved_record())[0], 'Léa'.encode('cp1252'))


if __name__ == '__main__':
    unittest.main()
