// qx-ppd time DIR [ROUNDS]: how long the reader takes over every PPD under
// DIR, timed inside the process (so a wrapper's start-up does not count).
#pragma once

namespace qx {
namespace tools {

// args: DIR and an optional round count. Prints "name: value" lines.
int TimeCommand(int argc, char **argv);

}  // namespace tools
}  // namespace qx
