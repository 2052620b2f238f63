// The status bar's four texts: mode or selected object, view centre, scale
// and object counts.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Builds the four texts from the current state; a saved or built note is
// shown in part 0 instead and cleared.
std::array<std::string, 4> StatusTexts();

// Sets the four texts into the status bar.
void UpdateStatusBar();

// Part 0 while the PVS pass runs: " PVS 42%" and how to stop it.
std::string PvsProgressText(int32_t done, int32_t total);
