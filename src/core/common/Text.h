#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace scorewell {

// Windows-1252 bytes to UTF-8. Bytes that the code page leaves undefined (81, 8D, 8F, 90, 9D)
// are kept as the C1 control characters of the same number, so nothing is lost.
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252. Characters outside the code page become "?"; invalid UTF-8 sequences
// count as U+FFFD.
std::string Utf8ToCp1252(std::string_view utf8);

// Decodes UTF-8 into code points (invalid sequences give U+FFFD) and back.
std::u32string Utf8ToCodePoints(std::string_view utf8);
std::string CodePointsToUtf8(std::u32string_view codePoints);
void AppendUtf8(std::string& out, char32_t codePoint);
// The Windows-1252 byte for a code point, or -1 when the code page has none.
int Cp1252ByteOf(char32_t codePoint);

// Number of characters (code points) of a UTF-8 text.
std::size_t CharacterCount(std::string_view utf8);

// Removes leading and trailing blanks (spaces only: tabs are data in the simulations' files).
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// Letter case of the Latin letters of Windows-1252 (A-Z, À-Þ, Š, Œ, Ž, Ÿ and their small forms).
// Invalid UTF-8 bytes are kept as they are.
std::string ToUpper(std::string_view utf8);
std::string ToLower(std::string_view utf8);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Unicode's simple case folding, for every script: texts that differ only in letter case fold to
// the same text ("ZOË ØDEGÅRD" and "Zoë Ødegård", "ΣΊΣΥΦΟΣ" and "σίσυφος"), one character for
// one. Invalid UTF-8 bytes are kept as they are.
std::string FoldCase(std::string_view utf8);
char32_t FoldCase(char32_t codePoint);

// The text for a message: whole when it has at most maxCharacters characters, else its first
// ones followed by "...", so a line of megabytes cannot flood what the user reads.
std::string Excerpt(std::string_view utf8, std::size_t maxCharacters = 60);

// Every occurrence of find replaced by replacement, left to right, not overlapping.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);
// Every character in chars removed.
std::string RemoveChars(std::string_view text, std::string_view chars);
bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);
// The parts between separators ("a,,b" gives "a", "", "b"); the empty text gives no parts.
std::vector<std::string> Split(std::string_view text, char separator);

// First character upper-cased, and every character after a blank or a CR LF pair; all others
// unchanged.
std::string ProperCase(std::string_view utf8);

// Non-overlapping occurrences of find, case-sensitive, left to right. 0 for an empty find.
int CountOccurrences(std::string_view text, std::string_view find);

// The text with every control character (C0, DEL, C1) and every byte that is not valid UTF-8
// written as \xNN, one per byte, so a name read from a file cannot drive a terminal.
std::string EscapeControlCharacters(std::string_view utf8);

// A value of a tab-separated line, read back unambiguously: written as it is (a backslash stays
// one, so a Windows path reads as the path) unless it holds a control character or a byte that
// is not UTF-8, or starts and ends with a double quote. Such a value is written between double
// quotes, with backslash, tab, line feed and carriage return as \\, \t, \n and \r and the
// other control characters as EscapeControlCharacters does. So a value that starts and ends
// with a double quote is quoted; every other value is itself.
std::string TabSeparatedValue(std::string_view utf8);
// The values escaped, joined by tabs, ended by "\n".
std::string TabSeparatedLine(const std::vector<std::string>& values);

} // namespace scorewell
