#pragma once
// The words of a script line. Blanks separate words; a word in double quotes may hold blanks,
// and inside quotes a backslash writes what cannot stand there as itself: \" a quote, \\ a
// backslash, \n a line feed, \r a carriage return, \t a tab, \xHH any other byte. A backslash
// before anything else stays as it is. Quoting is how a session writes any text so that it
// reads back exactly as written.

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace qalto {

// A line whose quotes are not closed or whose escape is malformed.
class ScriptSyntaxError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the next line of a script or session into `line`: a line ends with a line feed, a
// carriage return and line feed, or a lone carriage return (older editors on the Mac), so that
// no line end leaves lines run together. False at the end of the text.
bool ReadScriptLine(std::istream& in, std::string& line);

// Whether a line holds no command: it is blank, or its first character that is not blank is #.
bool IsCommentLine(const std::string& line);
// Whether a whole script holds no command: blank lines and comments alone.
bool HoldsNoCommand(const std::string& script);

// Splits a script line into words.
std::vector<std::string> SplitScriptLine(const std::string& line);

// The text as one word of a script line: as it stands when it is plain, else in quotes with
// the escapes above. Every `$` is doubled, so that no parameter is expanded from it.
std::string ScriptWord(const std::string& text);

}  // namespace qalto
