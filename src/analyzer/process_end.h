// The forced end of the host process and everything it started.
#pragma once

namespace vanalyzer {

// Windows: starts taskkill for the current process tree through the shell and returns.
// Elsewhere: kills every descendant of the current process, then the process itself (never its
// parent or its process group), after flushing the standard streams; it does not return.
void endProcessTree();

}  // namespace vanalyzer
