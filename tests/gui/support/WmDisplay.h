#pragma once

namespace qs::test {

// Tests that watch windows being minimised, restored, maximised and raised need a window
// manager, and a display of their own (other suites share the default one). Such a test starts
// with
//     if (!OnOwnWmDisplay()) return;
// In the shared run this starts a private Xvfb with openbox on it, runs the same test again in
// a child process there, records the child's result as this test's and returns false; in the
// child it returns true and the test body runs.
bool OnOwnWmDisplay();

// The same without a window manager: for tests that move the real pointer or type on the real
// keyboard, where another suite's window on the shared display could take the click or focus.
bool OnOwnDisplay();

}  // namespace qs::test
