"""Every page and dialog photographed at a desktop's width and a phone's,
kept as artefacts for the eye (build/web-tests/artefacts)."""
import unittest

import harness
from harness import HANGMAN, OPEN_ANSWER, TYPE_NAMES, By


class Screenshots:
    def shot(self, name):
        self.browser.shot(name)

    def test_every_page_and_dialog(self):
        browser = self.browser
        answers = harness.answers_of('capitales')
        browser.open('capitales', seed=4)
        self.shot('welcome')
        browser.next()
        self.shot('home')
        browser.find('#home-more').click()
        self.shot('home-options')

        for exam_type in range(6):
            self.start_exam(seed=4, exam_type=exam_type, themes=(1,), count=1, training=True)
            self.shot(f'question-{TYPE_NAMES[exam_type]}')
            if exam_type == HANGMAN:
                # A letter box left empty gets a message.
                browser.click('#test-letter')
                browser.dialog('message')
                self.shot('message')
                browser.click('dialog.message[open] .dialog-buttons button')

        self.start_exam(seed=4, themes=(3,), count=1, random_order=False)
        self.shot('question-picture')
        browser.click('[data-place="question"] .picture')
        browser.dialog('preview')
        self.shot('preview')
        browser.find('dialog.preview .preview-picture').click()
        browser.dialog('preview', present=False)

        self.start_exam(seed=4, themes=(1,), count=1, random_order=False, training=True)
        for button, dialog in (('#help', 'help'), ('#about', 'about'), ('#palette-button', 'palette')):
            browser.click(button)
            browser.dialog(dialog)
            self.shot(dialog)
            browser.find(f'dialog.{dialog} .close').click()
            browser.dialog(dialog, present=False)
        browser.answer_question(OPEN_ANSWER, False, answers)
        browser.dialog('correction')
        self.shot('correction')
        browser.click('dialog.correction[open] .continue')
        browser.saved_record()
        self.shot('end')
        browser.click('#end-details')
        browser.dialog('details')
        self.shot('details')


class DesktopScreenshotsTest(Screenshots, harness.BrowserTest):
    width = 1280


class PhoneScreenshotsTest(Screenshots, harness.BrowserTest):
    width = 390


if __name__ == '__main__':
    unittest.main()
