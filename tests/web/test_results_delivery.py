"""The record sent to the teacher's results address, and kept in the
browser when that address does not answer, to be offered at the next visit."""
import unittest

import harness
from harness import By

QUIZ = 'capitales-envoi'


class ResultsDeliveryTest(harness.BrowserTest):
    def setUp(self):
        self.server = harness.ResultsServer()
        self.addCleanup(self.server.stop)
        self.answers = harness.answers_of('capitales')

    def play(self):
        """An exam whose record holds Windows-1252 letters (the name, the answer)."""
        self.start_exam(quiz=QUIZ, name='Zoé', themes=(2,), count=1, random_order=False)
        self.browser.answer_exam(harness.OPEN_ANSWER, [True], self.answers)

    def status(self, text):
        self.browser.wait(lambda d: text in self.browser.text('#results-status'), f'the status "{text}"')

    def kept(self):
        return self.browser.driver.execute_script('return Object.keys(localStorage).length')

    def test_the_record_is_posted_as_its_bytes(self):
        self.server.start()
        self.play()
        self.assertTrue(self.server.arrived.wait(harness.WAIT), 'nothing was posted')
        self.status('Résultat envoyé.')
        (headers, body), = self.server.received
        self.assertEqual(headers['Content-Type'], 'text/plain; charset=windows-1252')
        self.assertEqual(body, self.browser.saved_record()[len(b'1.3\r\n'):])
        self.assertIn('Zoé'.encode('cp1252'), body)

    def test_a_record_the_server_did_not_take_is_offered_at_the_next_visit(self):
        for way in ('send', 'save'):
            with self.subTest(way):
                self.server.stop()
                self.server.received.clear()
                self.server.arrived.clear()
                self.play()
                self.status("n'a pas pu être envoyé")
                record = self.browser.saved_record()
                self.assertEqual(self.kept(), 1)

                self.browser.reload()
                offer = self.browser.find('.pending')
                self.assertEqual(offer.find_element(By.TAG_NAME, 'p').text,
                                 "Le résultat d'un examen précédent n'a pas encore été envoyé.")
                if way == 'send':
                    self.server.start()
                    offer.find_element(By.CSS_SELECTOR, '.send').click()
                    self.assertTrue(self.server.arrived.wait(harness.WAIT), 'nothing was posted')
                    self.assertEqual(self.server.received[0][1], record[len(b'1.3\r\n'):])
                    self.status('Résultat envoyé.')
                else:
                    self.assertEqual(self.browser.saved_record(offer.find_element(By.CSS_SELECTOR, '.save')), record)
                self.browser.wait(lambda d: not d.find_elements(By.CSS_SELECTOR, '.pending'), 'the offer to go')
                self.assertEqual(self.kept(), 0)


if __name__ == '__main__':
    unittest.main()
