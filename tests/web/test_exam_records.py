"""A whole exam of each type in the page, and its record against the
terminal player's for the same seed and the same answers."""
import unittest

import harness
from harness import HANGMAN, MULTIPLE_CHOICE, OPEN_ANSWER, POT_POURRI, SCRAMBLED, TRUE_FALSE, TYPE_NAMES

# Right, wrong, unanswered, right: each page's three ways of answering.
ANSWERS = [True, False, None, True]


class ExamRecordTest(harness.BrowserTest):
    def test_each_exam_type_records_what_the_terminal_player_records(self):
        answers = harness.answers_of('capitales')
        for exam_type, seed in [(OPEN_ANSWER, 11), (MULTIPLE_CHOICE, 12), (TRUE_FALSE, 13), (POT_POURRI, 14),
                                (HANGMAN, 15), (SCRAMBLED, 16)]:
            with self.subTest(TYPE_NAMES[exam_type]):
                lines = self.start_exam(seed=seed, name='Zoé', exam_type=exam_type, themes=(1, 2),
                                        count=len(ANSWERS))
                lines += self.browser.answer_exam(exam_type, ANSWERS, answers)
                page = self.browser.saved_record()
                self.assertEqual([right for *_, right in harness.entries(page)], [True, False, False, True])
                self.assertEqual(harness.without_times(page),
                                 harness.without_times(harness.player_record('capitales', seed, lines)))


if __name__ == '__main__':
    unittest.main()
