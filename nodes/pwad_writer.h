// The PWAD of one map: the marker and ten lumps in their fixed order.
#pragma once

#include <string>

#include "nodes/bsp.h"
#include "nodes/build.h"

// The whole PWAD file for the current map and the built tree, with its
// record counts in stats. The build driver has checked the coordinates;
// stops with FailBuild on any other value the file cannot hold.
std::string WritePwad(BspNode& root, BuildStats& stats);
