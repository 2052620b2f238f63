// The properties every map must have after any operation, accepted or refused.
#pragma once

#include <string>

// Describes every broken invariant, one per line; empty for a sound map.
// Counts equal list lengths; every linedef has two distinct member vertices
// at different positions and a member right sector; left sectors are members
// or null; things name a row of the thing table; the selection, the hover
// and the drawing points refer to members.
std::string CheckMapInvariants();
