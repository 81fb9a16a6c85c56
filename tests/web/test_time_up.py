"""Time running out on a question: the countdown, the grading of what the
page holds at that moment, the next question."""
import unittest

import harness
from harness import OPEN_ANSWER, TRUE_FALSE, By


class TimeUpTest(harness.BrowserTest):
    def wait_for_question(self, number, of):
        self.browser.wait(lambda d: self.browser.caption() == f'Examen - Question n°{number}/{of}',
                          f'question {number}')

    def wait_for_end(self):
        self.browser.wait(lambda d: d.find_elements(By.ID, 'end-text'), 'the end page')

    def test_time_up_grades_the_answer_typed_so_far_and_the_next_question_follows(self):
        self.start_exam(themes=(1,), count=2, random_order=False, time_limit=2)
        self.assertTrue(self.browser.find('#countdown').is_displayed())
        self.assertIn(self.browser.text('#countdown-text'), ('2 secondes', '1 seconde'))
        self.browser.find('#answer').send_keys('Paris')
        self.wait_for_question(2, 2)
        self.assertEqual(self.browser.find('#answer').get_attribute('value'), '')
        self.assertIn(self.browser.text('#countdown-text'), ('2 secondes', '1 seconde'))
        self.browser.find('#answer').send_keys('Berlin')
        self.browser.next()
        self.wait_for_end()
        self.assertEqual(harness.entries(self.browser.saved_record()),
                         [('France', 'Paris', 'Paris', True), ('Italie', 'Rome', 'Berlin', False)])

    def test_in_training_mode_time_up_says_so_before_the_correction(self):
        seed = 21
        lines = self.start_exam(seed=seed, exam_type=TRUE_FALSE, themes=(1,), count=2, training=True, time_limit=1)
        for number in (1, 2):
            self.wait_for_question(number, 2)
            message = self.browser.dialog('message')
            self.assertEqual(message.find_element(By.CSS_SELECTOR, '.message-text').text,
                             'Le temps est écoulé !\n\nLa réponse est considérée comme fausse.')
            self.assertEqual(self.browser.text('#countdown-text'), 'Temps écoulé !')
            self.browser.click('dialog.message[open] .dialog-buttons button')
            self.browser.dialog('correction')
            self.browser.click('dialog.correction[open] .continue')
            lines.append(':attendre 1')
        self.wait_for_end()
        # Graded as the runner grades it: the player's time runs out on the same exam.
        page = self.browser.saved_record()
        self.assertEqual(harness.without_times(page),
                         harness.without_times(harness.player_record('capitales', seed, lines)))
        self.assertEqual([right for *_, right in harness.entries(page)], [False, False])


if __name__ == '__main__':
    unittest.main()
