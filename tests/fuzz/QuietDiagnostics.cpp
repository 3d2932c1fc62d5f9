// Linked into every fuzz target: the readers' one line per damaged input would
// bury the fuzzer's output. The lines are still built, so their formatting runs.
#include "platform/Debug.h"

namespace {
const bool silenced = (vorn::platform::silenceDiagnostics(), true);
}
