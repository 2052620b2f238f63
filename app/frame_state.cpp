// The frame's notes and busy flag.
#include "app/frame_state.h"

int32_t savedNote = 0;
int32_t builtNote = 0;
int32_t frameBusy = 0;
int32_t cancelRequested = 0;
