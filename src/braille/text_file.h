#pragma once
#include <fstream>
#include <iosfwd>
#include <string>

namespace hunt {

// What a table reader could not store. Lines beyond a table's capacity are ignored (they
// never overwrite earlier entries); `warning` then says so once, for the shell to show.
struct TableLoadReport {
    unsigned ignored = 0; // entries (non-empty lines) that did not fit
    std::string warning;  // empty when everything fitted
};

// Opens a data file for reading as bytes. A missing file raises HuntError
// "File not found: <name>"; one that exists but cannot be read, "File access denied: <name>".
std::ifstream openDataFile(const std::string &fileName);

// Reads one line, accepting LF and CR LF endings (the CR is dropped). False at the end.
bool readTextLine(std::istream &in, std::string &line);

// Raises HuntError when the stream failed for another reason than reaching its end.
void checkReadError(const std::istream &in, const std::string &fileName);

} // namespace hunt
