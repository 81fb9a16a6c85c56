"""The dialogs of a question page: the correction of training mode, the
special-characters palette, the picture preview, and a sound's buttons."""
import struct
import unittest

import harness
from harness import HANGMAN, MULTIPLE_CHOICE, OPEN_ANSWER, TRUE_FALSE, TYPE_NAMES, By, Select

# The first question of the first theme, asked first in order.
FIRST = harness.quiz_source('capitales')['themes'][0]['questions'][0]


class CorrectionTest(harness.BrowserTest):
    def test_a_wrong_answer_in_training_mode_shows_the_right_answers_and_the_comment(self):
        answers = harness.answers_of('capitales')
        for exam_type in (OPEN_ANSWER, MULTIPLE_CHOICE, TRUE_FALSE):
            with self.subTest(TYPE_NAMES[exam_type]):
                self.start_exam(exam_type=exam_type, themes=(1,), count=1, random_order=False, training=True)
                self.assertEqual(self.browser.place_text(), FIRST['question'])
                statement_true = self.browser.place_text('statement') == FIRST['answer']
                self.browser.answer_question(exam_type, False, answers)
                dialog = self.browser.dialog('correction')
                message, rows = {
                    OPEN_ANSWER: ('La réponse était :', [FIRST['answer']]),
                    MULTIPLE_CHOICE: ('Il fallait choisir les réponses :', [FIRST['answer']]),
                    TRUE_FALSE: ('Il fallait répondre "C\'est {}".'.format('vrai' if statement_true else 'faux'), []),
                }[exam_type]
                self.assertEqual(dialog.find_element(By.CSS_SELECTOR, '.correction-heading').text, 'Réponse fausse !')
                self.assertEqual(dialog.find_element(By.CSS_SELECTOR, '.correction-message').text, message)
                self.assertEqual([row.text for row in dialog.find_elements(By.CSS_SELECTOR, '.correction-rows .rich')],
                                 rows)
                self.assertEqual(dialog.find_element(By.CSS_SELECTOR, '.correction-comment .rich').text,
                                 FIRST['comment'])
                self.browser.click('dialog.correction[open] .continue')
                self.browser.dialog('correction', present=False)
                self.assertTrue(self.browser.find_all('#end-text'), 'the exam ends after its one question')


class PaletteTest(harness.BrowserTest):
    def open_palette(self, category):
        self.browser.click('#palette-button')
        palette = self.browser.dialog('palette')
        Select(palette.find_element(By.ID, 'palette-category')).select_by_visible_text(category)
        return palette

    @staticmethod
    def choose(palette, character):
        palette.find_element(By.XPATH, f'.//*[@role="option" and text()="{character}"]').click()

    def test_a_character_goes_into_the_answer_at_the_caret_and_the_palette_stays(self):
        self.start_exam(themes=(2,), count=1, random_order=False)
        self.assertEqual(self.browser.place_text(), 'Chine')
        answer = self.browser.find('#answer')
        answer.send_keys('P')
        palette = self.open_palette('International')
        self.choose(palette, 'é')
        palette.find_element(By.CSS_SELECTOR, '.insert').click()
        self.assertEqual(answer.get_attribute('value'), 'Pé')
        self.assertEqual(palette.find_element(By.CSS_SELECTOR, '.close').text, 'Fermer')
        palette.find_element(By.CSS_SELECTOR, '.close').click()
        self.browser.dialog('palette', present=False)
        self.browser.wait_focus('answer')
        answer.send_keys('kin')
        self.browser.next()
        self.browser.wait(lambda d: d.find_elements(By.ID, 'end-text'), 'the end page')
        self.assertEqual(harness.entries(self.browser.saved_record()), [('Chine', 'Pékin', 'Pékin', True)])

    def test_a_character_from_the_palette_is_tested_at_once_as_the_hangmans_letter(self):
        self.start_exam(exam_type=HANGMAN, themes=(2,), count=1, random_order=False)
        self.assertEqual(self.browser.text('#masked'), '#####')
        palette = self.open_palette('Grecque')
        # The Symbol font's epsilon is the letter e, which uncovers the é of Pékin.
        self.choose(palette, 'ε')
        self.browser.act(lambda: palette.find_element(By.CSS_SELECTOR, '.insert').click())
        self.browser.dialog('palette', present=False)
        self.assertEqual(self.browser.text('#masked'), '#é###')
        self.assertEqual(self.browser.text('#tries-text'), '5 essais restants')
        self.assertEqual(self.browser.find('#letter').get_attribute('value'), '')
        # The next letter is typed into the letter box, as the engine asks.
        self.browser.wait_focus('letter')


class MediaTest(harness.BrowserTest):
    """The theme "Images et sons" in order: a picture, then a sound."""

    def test_a_click_on_the_picture_shows_it_at_natural_size_until_the_next_click(self):
        self.start_exam(themes=(3,), count=2, random_order=False)
        with open(harness.QUIZ_SOURCES / harness.quiz_source('capitales')['media'][0]['file'], 'rb') as bitmap:
            natural = list(struct.unpack('<ii', bitmap.read(26)[18:26]))
        self.browser.click('[data-place="question"] .picture')
        preview = self.browser.dialog('preview')
        shown = self.browser.driver.execute_script(
            'const r = arguments[0].getBoundingClientRect(); return [Math.round(r.width), Math.round(r.height)]',
            preview.find_element(By.CSS_SELECTOR, 'img'))
        self.assertEqual(shown, natural)
        preview.find_element(By.CSS_SELECTOR, '.preview-picture').click()
        self.browser.dialog('preview', present=False)

    def test_a_sound_plays_by_itself_and_its_buttons_stop_and_play_it(self):
        self.start_exam(themes=(3,), count=2, random_order=False)
        self.browser.find('#answer').send_keys('Paris')
        self.browser.next()
        # The sound lasts a second: one that has started has a source and has moved on.
        playing = 'return window.kzWatch.players.some(p => p.getAttribute("src") && p.currentTime > 0)'
        stopped = 'return window.kzWatch.players.every(p => p.paused && !p.getAttribute("src"))'
        self.browser.wait(lambda d: d.execute_script(playing), 'the question\'s sound to play')
        self.browser.click('[data-place="question"] .stop')
        self.assertTrue(self.browser.driver.execute_script(stopped))
        self.browser.click('[data-place="question"] .play')
        self.browser.wait(lambda d: d.execute_script(playing), 'the sound to play again')


if __name__ == '__main__':
    unittest.main()
