// The shell tests' helpers for driving a private display with a window manager, built into
// this suite as well (they live with the shell tests).
#include "../shell/Processes.cpp"
#include "../shell/WmDisplay.cpp"
#include "../shell/XWindows.cpp"
