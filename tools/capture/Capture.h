// vorn-capture's run: the project loaded as the player loads it, then every
// scheduled frame rendered through the player's own frame path with the music
// standing at the frame's time, read back from the stand-in screen and
// written as DIR/frame_NNNNNN.png (and into the video when asked).
#pragma once

#include "tools/capture/CaptureOptions.h"

namespace vorn::capture {

// The process exit code: 0 when every frame was written; otherwise the reason
// has been written as one line.
int runCapture(const CaptureOptions& options);

}  // namespace vorn::capture
