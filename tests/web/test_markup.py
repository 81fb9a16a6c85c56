"""Quiz texts and a student's name that look like HTML are shown as text:
nothing of them becomes an element, and no script of theirs runs."""
import unittest

import harness
from harness import By

NAME = '<img src=x onerror="window.kzInjected=\'name\'">'
# What the page would have made of any of these texts taken as HTML.
INJECTED = """return [window.kzInjected === undefined,
  document.querySelectorAll('img[src="x"], [onerror], [onmouseover]').length,
  [...document.scripts].filter((s) => s.textContent.includes('kzInjected')).length]"""


class MarkupTest(harness.BrowserTest):
    def assert_inert(self, where):
        self.assertEqual(self.browser.driver.execute_script(INJECTED), [True, 0, 0], where)

    def test_texts_that_look_like_markup_are_shown_as_text(self):
        source = harness.quiz_source('balises')['themes'][0]['questions']
        self.start_exam(quiz='balises', name=NAME, count=2, random_order=False, training=True)
        self.assertEqual(self.browser.place_text(), source[0]['question'])
        self.assert_inert('question page')

        self.browser.find('#answer').send_keys('<b>faux</b>')
        self.browser.next()
        correction = self.browser.dialog('correction')
        self.assertEqual(correction.find_element(By.CSS_SELECTOR, '.correction-rows .rich').text, source[0]['answer'])
        self.assertEqual(correction.find_element(By.CSS_SELECTOR, '.correction-comment .rich').text,
                         source[0]['comment'])
        self.assert_inert('correction')
        self.browser.click('dialog.correction[open] .continue')

        # Markup inside a rich text is the text's own characters too.
        self.assertEqual(self.browser.place_text(),
                         '<b onmouseover="window.kzInjected=\'rtf\'">gras</b> '
                         '<img src=x onerror="window.kzInjected=\'rtf\'">')
        self.browser.find('#answer').send_keys(source[1]['answer'])
        self.browser.next()
        # The name as the exam keeps it: its first 29 characters.
        self.assertEqual(self.browser.text('#end-text').strip(), f'Bravo, {NAME[:29]} !')
        self.browser.click('#end-details')
        details = self.browser.dialog('details')
        self.assertEqual([cell.text for cell in details.find_elements(By.CSS_SELECTOR, 'tbody tr:first-child td')][1:4],
                         [source[0]['question'], source[0]['answer'], '<b>faux</b>'])
        self.assert_inert('end page and details')

    def test_the_pot_pourri_list_shows_answers_as_text_with_their_own_characters(self):
        # The second type this quiz allows is pot-pourri.
        self.start_exam(quiz='balises', exam_type=1, count=1, random_order=False)
        entries = self.browser.driver.execute_script(
            "return [...document.querySelectorAll('#candidates option')].slice(1).map((o) => o.text)")
        self.assertEqual(sorted(entries), sorted([
            '<img src=x onerror="window.kzInjected=\'answer\'">', '<i>italique</i>', '\u03b1\u03bb\u03c6\u03b1']))
        self.assert_inert('pot-pourri list')


if __name__ == '__main__':
    unittest.main()
