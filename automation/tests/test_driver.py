#!/usr/bin/env python3
"""The driver against a window of known content: every action is checked from the target's side (what its
handlers saw), every reading against what the target holds. Runs inside a winetest run."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from zdrive import IDNO, IDYES, Driver, DriverError  # noqa: E402

ZDRIVE, TARGET = sys.argv[1], sys.argv[2]
IDC_EDIT, IDC_CHANGES, IDC_ASK, IDC_RESULT, IDC_TREE, IDC_LIST, IDC_COMBO, IDC_ARM, IDC_LATE, IDC_PAGE_NUMBER = \
    range(1001, 1011)


class DriverAgainstTarget(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.d = Driver(ZDRIVE)
        cls.d.start(TARGET)
        cls.win = cls.d.find("Driver Target", timeout=20000)

    @classmethod
    def tearDownClass(cls):
        cls.d.close()

    def result(self):
        return self.d.text(self.win, IDC_RESULT)

    def test_typing_fires_a_change_per_character(self):
        edit = self.d.child(self.win, IDC_EDIT)
        self.d.set_text(edit, "")
        before = int(self.d.text(self.win, IDC_CHANGES).split(": ")[1])
        self.d.type(edit, "abc")
        self.assertEqual(self.d.text(edit), "abc")
        self.assertEqual(self.d.text(self.win, IDC_CHANGES), "changes: %d" % (before + 3))
        self.d.type(edit, "\b")
        self.assertEqual(self.d.text(edit), "ab")
        self.d.replace(edit, "xyz")
        self.assertEqual(self.d.text(edit), "xyz")

    def test_typed_text_is_all_there_when_type_returns(self):
        # Each character is handled before the next is sent and before the answer: a reading right after
        # type sees every one (a sync that only waited for the thread's next message saw some still queued).
        edit = self.d.child(self.win, IDC_EDIT)
        for n in (8, 40):
            text = "".join(chr(ord("a") + i % 26) for i in range(n))
            self.d.replace(edit, text)
            self.assertEqual(self.d.text(edit), text)

    def test_texts_beyond_ascii_round_trip(self):
        edit = self.d.child(self.win, IDC_EDIT)
        self.d.replace(edit, "Zürich café")
        self.assertEqual(self.d.text(edit), "Zürich café")

    def test_hidden_windows_are_found_only_when_asked(self):
        self.assertEqual(self.d.count("Driver Hidden"), 0)
        self.assertEqual(self.d.count("Driver Hidden", hidden=True), 1)
        self.assertTrue(self.d.find("Driver Hidden", hidden=True))

    def test_click_that_opens_a_message_box_and_the_answer(self):
        for button, expected in ((IDYES, "answered yes"), (IDNO, "answered no")):
            self.d.click(self.win, IDC_ASK)
            box, caption, text = self.d.msgbox(timeout=5000)
            self.assertEqual(caption, "Target question")
            self.assertEqual(text, "Proceed with the test?")
            self.d.answer(box, button)
            self.d.gone(box)
            self.assertEqual(self.result(), expected)
        self.assertTrue(self.d.no_msgbox(200))

    def test_tree_reading_selection_and_double_click(self):
        tree = self.d.child(self.win, IDC_TREE)
        items = self.d.tree(tree)
        self.assertEqual([(depth, text) for depth, _, text in items],
                         [(0, "NAS1"), (0, "NAS2"), (1, "share"), (0, "NAS3")])
        self.d.tree_select(tree, "NAS3")
        self.assertEqual(self.result(), "selected NAS3")
        self.assertEqual([t for _, sel, t in self.d.tree(tree) if sel], ["NAS3"])
        self.d.tree_select(tree, "NAS2", double=True)
        self.assertEqual(self.result(), "double NAS2")
        self.assertRaises(DriverError, self.d.tree_select, tree, "NAS9")

    def test_list_rows_and_selection(self):
        lst = self.d.child(self.win, IDC_LIST)
        rows = self.d.list_rows(lst)
        self.assertEqual([cols for _, cols in rows], [["IP Address", "198.18.1.10"], ["Workgroup", "WORKGROUP"]])
        self.d.list_select(lst, 1)
        self.assertEqual(self.result(), "row 1")
        self.assertEqual([sel for sel, _ in self.d.list_rows(lst)], [False, True])

    def test_combo_items_and_a_users_choice(self):
        combo = self.d.child(self.win, IDC_COMBO)
        self.assertEqual(self.d.combo(combo), (["Red", "Green", "Blue"], -1))
        self.d.combo_select(combo, 2)
        self.assertEqual(self.result(), "combo 2")
        self.assertEqual(self.d.combo(combo)[1], 2)

    def test_window_states_and_errors(self):
        st = self.d.state(self.d.child(self.win, IDC_ASK))
        self.assertTrue(st["visible"] and st["enabled"])
        self.assertEqual(self.d.count("Driver Target"), 1)
        self.assertRaises(DriverError, self.d.find, "No Such Window", "", 100)
        self.assertRaises(DriverError, self.d.child, self.win, 4242)

    def test_paste_passes_the_numeric_filter_in_one_change(self):
        page = self.d.page(self.win, IDC_PAGE_NUMBER)
        edit = self.d.child(page, IDC_PAGE_NUMBER)
        self.d.set_text(edit, "")
        self.d.type(edit, "4x")
        self.assertEqual(self.d.text(edit), "4", "a typed letter is refused by a numeric edit")
        changes = int(self.result().split(":")[0].split()[-1])
        self.d.paste(edit, "2a")
        self.assertEqual(self.d.text(edit), "42a", "pasted at the caret, letter and all")
        self.assertEqual(self.result(), "page change %d: 42a" % (changes + 1), "one change for the whole text")
        self.d.select_all(edit)
        self.d.paste(edit, "Zürich")
        self.assertEqual(self.d.text(edit), "Zürich", "a paste replaces the selection")

    def test_child_within_a_page_and_among_direct_children(self):
        page = self.d.page(self.win, IDC_PAGE_NUMBER)
        self.assertNotEqual(page, self.win)
        self.assertEqual(self.d.text(self.d.child(page, IDC_CHANGES)), "page label")
        self.assertEqual(self.d.text(self.d.child(page, IDC_ASK)), "page ask")
        self.assertTrue(self.d.text(self.d.child(self.win, IDC_CHANGES, direct=True)).startswith("changes: "))
        self.assertEqual(self.d.text(self.d.child(self.win, IDC_ASK, direct=True)), "Ask")
        self.assertRaises(DriverError, self.d.child, page, IDC_TREE)
        self.assertRaises(DriverError, self.d.child, self.win, IDC_PAGE_NUMBER, direct=True)
        self.assertRaises(DriverError, self.d.page, self.win, 4242)

    def test_click_waits_for_a_button_shown_late(self):
        late = self.d.child(self.win, IDC_LATE)
        self.assertFalse(self.d.state(late)["visible"])
        self.assertRaises(DriverError, self.d.click, self.win, IDC_LATE, 300)
        self.assertRaises(DriverError, self.d.click, late, None, 300)
        self.assertNotEqual(self.result(), "late clicked")
        self.d.click(self.win, IDC_ARM)
        self.d.click(self.win, IDC_LATE)  # shown and enabled 700 ms after Arm
        self.assertEqual(self.result(), "late clicked")

    def test_screenshot_is_written(self):
        path = self.d.screenshot("driver-target", self.win)
        self.assertTrue(os.path.getsize(path) > 10000)

    def test_zz_close_ends_the_target(self):
        self.d.click(self.win, 2)
        self.d.gone(self.win, 5000)
        self.assertEqual(self.d.count("Driver Target"), 0)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
