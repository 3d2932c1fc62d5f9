// Linked into every fuzz target: readers report damage in one line each, and
// nearly every fuzz input is damaged, so the lines would bury the fuzzer's own
// output (hundreds of MB in a few minutes). They are still built, so the code
// that formats them is exercised.
#include "platform/Debug.h"

namespace {
const bool silenced = (vorn::platform::silenceDiagnostics(), true);
}
