// Runs the current test again in a child process that Wine starts as another
// Windows version. A running process keeps the version it started with, and
// Wine picks a program's version by its file name (AppDefaults), so the child
// is a renamed copy of the test program.
//
//   TEST(Printing, OnVersion62) {
//     if (qxtest::RunCurrentTestAs(L"win8")) return;  // the parent stops here
//     ...                                             // the child runs this as 6.2
//   }
#pragma once

namespace qxtest {

// In the parent: runs the child, expects it to pass, and returns true. In the
// child: returns false so that the test body goes on. `version` is one of
// Wine's version names ("winxp", "win2003", "win7", "win8", "win10", ...).
bool RunCurrentTestAs(const wchar_t *version);

}  // namespace qxtest
