// sdl_video.h -- starts SDL's video once for the windows and dialogs of the layer.
#pragma once

namespace sdlvideo {

// True when SDL's video runs; on the first failure says why on standard error.
bool EnsureVideo();
// True when the video driver can show nothing to a person (offscreen or dummy).
bool IsHeadless();

}  // namespace sdlvideo
