#pragma once
// Opening, reading and writing the program's text files, with failures turned into a
// RuntimeError carrying the run-time library's description ("File not found", "Permission
// denied", "Disk full", ...), so that the command can show it in its message box.

#include <fstream>
#include <string>

namespace qalto {

// Opens an existing file for reading (in binary mode: line ends are the reader's business).
std::ifstream OpenForInput(const std::string& path);

// Creates (or overwrites) the file and writes the text completely; a file that cannot be
// created or a write that fails raises. The file is closed in every case.
void WriteTextFile(const std::string& path, const std::string& text);

}  // namespace qalto
