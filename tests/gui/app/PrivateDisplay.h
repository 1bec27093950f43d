#pragma once

namespace qs::test {

// Tests that move the real pointer or type on the real keyboard need a display of their
// own: the GUI suites run side by side on one shared virtual display, where another test's
// window could take the click or the focus. Such a test starts with
//     if (!OnOwnDisplay()) return;
// In the shared run this starts a private Xvfb, runs the same test again in a child
// process on it, records the child's result as this test's, and returns false; in the child
// it returns true and the test body runs.
bool OnOwnDisplay();

}  // namespace qs::test
