// The headless side of the message seam (command-line tool, tests): a
// message is printed on stderr, beginning with a prefix that says where it
// comes from.
#pragma once

#include <string>

// The text before each message; "Keldra: " until set. The command-line tool
// names the file it is working on here, so that every message names it.
void SetMessagePrefix(const std::string& prefix);
