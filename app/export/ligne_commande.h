#pragma once

#include <string>
#include <vector>

namespace tq {

// The program's arguments after its name, in UTF-8. On Windows they are read
// from the system's UTF-16 command line, so that a path that the ANSI code
// page cannot write still arrives whole.
std::vector<std::string> ArgumentsUtf8(int argc, char** argv);

// Makes the console show the UTF-8 that the program writes (Windows; nothing
// to do elsewhere).
void ConsoleEnUtf8();

} // namespace tq
