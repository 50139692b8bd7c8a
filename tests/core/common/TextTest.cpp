#include "common/Text.h"

#include "common/Paths.h"
#include "support/TempDir.h"
#include <filesystem>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace scorewell {
namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
    EXPECT_EQ(CharacterCount(utf8), 256u);

    EXPECT_EQ(Cp1252ToUtf8("\x80\x8A\x8C\x99\x9F"), "€ŠŒ™Ÿ");
    EXPECT_EQ(Cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(Cp1252ByteOf(U'€'), 0x80);
    EXPECT_EQ(Cp1252ByteOf(U'\u0080'), -1);
    EXPECT_EQ(Utf8ToCp1252("Zürich 中 €"), "Z\xFCrich ? \x80");
}

TEST(Utf8, InvalidSequencesDecodeAsReplacement) {
    EXPECT_EQ(Utf8ToCodePoints("a\xC3"), U"a\uFFFD");
    EXPECT_EQ(Utf8ToCodePoints("\xE2\x82"), U"\uFFFD");                 // truncated
    EXPECT_EQ(Utf8ToCodePoints("\xC0\x80"), U"\uFFFD\uFFFD");           // overlong
    EXPECT_EQ(Utf8ToCodePoints("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD"); // surrogate
    EXPECT_EQ(Utf8ToCodePoints("\xF4\x90\x80\x80"), std::u32string(4, U'\uFFFD'));
    EXPECT_EQ(Utf8ToCp1252("\xFF"), "?");
    EXPECT_EQ(CodePointsToUtf8(U"é\U0001F3C1"), "é\xF0\x9F\x8F\x81");
    std::string out;
    AppendUtf8(out, 0xD800);
    AppendUtf8(out, 0x110000);
    EXPECT_EQ(out, "\uFFFD\uFFFD");
    EXPECT_EQ(CharacterCount("héllo€"), 6u);
}

TEST(LetterCase, LatinLettersOfTheCodePage) {
    EXPECT_EQ(ToUpper("straße œuvre ÿ š ž àéîõü"), "STRAßE ŒUVRE Ÿ Š Ž ÀÉÎÕÜ");
    EXPECT_EQ(ToLower("STRAßE ŒUVRE Ÿ Š Ž ÀÉÎÕÜ"), "straße œuvre ÿ š ž àéîõü");
    EXPECT_EQ(ToUpper("×÷ µ ŝ"), "×÷ µ ŝ");
    EXPECT_EQ(ToUpper("a\xFFz"), "A\xFFZ"); // invalid bytes are kept
    EXPECT_TRUE(EqualsNoCase("Ärger", "äRGER"));

    EXPECT_EQ(ProperCase("john smith\r\nbob"), "John Smith\r\nBob");
    EXPECT_EQ(ProperCase("mcDONALD o'neil"), "McDONALD O'neil");
    EXPECT_EQ(ProperCase("élan  vital"), "Élan  Vital");
    EXPECT_EQ(ProperCase("a\nb\rc"), "A\nb\rc");
}

TEST(LetterCase, FoldingMakesCaseVanishInEveryScriptANameCanCarry) {
    const std::pair<const char*, const char*> sameName[] = {
        {"ZOË ØDEGÅRD", "zoë ødegård"},                             // Latin-1 Supplement
        {"ŒUVRE ŠKODA ŽIŽEK ŸVES", "œuvre škoda žižek ÿves"},       // the Windows-1252 letters
        {"ŁUKASZ ĐOKOVIĆ ĞÜLŞEN ŐRY", "łukasz đoković ğülşen őry"}, // Latin Extended-A
        {"ǅ Ǆ ǈ Ƒ Ə Ǳ", "ǆ ǆ ǉ ƒ ə ǳ"},                 // Latin Extended-B, titlecase too
        {"ΣΊΣΥΦΟΣ ΆΝΝΑ", "σίσυφοσ άννα"},               // Greek
        {"σίσυφος", "σίσυφοσ"},                         // final sigma
        {"ЮРИЙ ЁЖИКОВ ЄВГЕН Ґ", "юрий ёжиков євген ґ"}, // Cyrillic
        {"ԀԂ Ԯ", "ԁԃ ԯ"},                         // Cyrillic Supplement
        {"ſ Ꞵ ẞ", "s ꞵ ß"},                     // beyond: long s, Latin Extended-D
    };
    for (const auto& [upper, lower] : sameName) {
        EXPECT_EQ(FoldCase(upper), FoldCase(lower)) << upper;
        EXPECT_EQ(FoldCase(lower), lower) << lower;
    }
    // One character for one: what is not a letter, or has no other case, stays.
    EXPECT_EQ(FoldCase("×÷ 123 ß ŉ İ ǰ €"), "×÷ 123 ß ŉ İ ǰ €");
    EXPECT_EQ(FoldCase("A\xFFZ"), "a\xFFz"); // invalid bytes are kept
    // Folding twice changes nothing more, for every character.
    for (char32_t c = 0; c < 0x20000; ++c) {
        ASSERT_EQ(FoldCase(FoldCase(c)), FoldCase(c)) << std::hex << static_cast<int>(c);
    }
}

TEST(TextHelpers, ExcerptsCutLongTextsForMessages) {
    EXPECT_EQ(Excerpt("short"), "short");
    EXPECT_EQ(Excerpt(std::string(60, 'x')), std::string(60, 'x'));
    EXPECT_EQ(Excerpt(std::string(1'000'000, 'x')), std::string(60, 'x') + "...");
    EXPECT_EQ(Excerpt("éèêë", 2), "éè...");
}

TEST(TextHelpers, EditingAndCounting) {
    EXPECT_EQ(CountOccurrences("aaaa", "aa"), 2);
    EXPECT_EQ(CountOccurrences("Abc abc", "abc"), 1);
    EXPECT_EQ(CountOccurrences("abc", ""), 0);

    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(RemoveChars(std::string("a\0b€c", 7), std::string("\0€", 4)), "abc");

    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");

    EXPECT_EQ(Split("a,,b", ','), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(Split("", ',').empty());
    EXPECT_TRUE(StartsWith("STNRace", "STN"));
    EXPECT_FALSE(EndsWith("a", "ab"));
}

TEST(TextHelpers, ControlCharactersAreShownEscapedAndTabSeparatedValuesStayInTheirColumn) {
    // Colour, window title and a C1 introducer; an invalid byte; a lone lead byte at the end.
    EXPECT_EQ(EscapeControlCharacters("a\x1b[31mb\x07 \xc2\x9b"
                                      "2J \xff\x7f Zo\xc3\xab \xe2\x82"),
              "a\\x1b[31mb\\x07 \\xc2\\x9b2J \\xff\\x7f Zo\xc3\xab \\xe2\\x82");
    EXPECT_EQ(EscapeControlCharacters("C:\\NR2003\\\tx\r\n"), "C:\\NR2003\\\\x09x\\x0d\\x0a");
    EXPECT_EQ(TabSeparatedLine({"1", "Ann\tAble", ""}), "1\t\"Ann\\tAble\"\t\n");
    EXPECT_EQ(TabSeparatedLine({"Renée ™ 中"}), "Renée ™ 中\n");
}

// The reader a script needs, as the command line's help describes it: a value that starts and
// ends with a double quote is quoted (\\, \t, \n, \r, \xNN inside); any other is itself.
std::string ReadTabSeparatedValue(const std::string& field) {
    if (field.size() < 2 || field.front() != '"' || field.back() != '"') {
        return field;
    }
    std::string value;
    for (std::size_t i = 1; i + 1 < field.size(); ++i) {
        if (field[i] != '\\') {
            value += field[i];
            continue;
        }
        const char code = field.at(++i);
        if (code == 'x') {
            value += static_cast<char>(std::stoi(field.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            value += code == 't' ? '\t' : code == 'n' ? '\n' : code == 'r' ? '\r' : code;
        }
    }
    return value;
}

TEST(TextHelpers, TabSeparatedValuesShowPathsAsTheyAreAndReadBackAsWritten) {
    // A Windows path prints as the path, whatever its folders start with.
    for (const std::string path : {"C:\\NR2003\\Leagues\\cup.slf", "C:\\temp\\new\\races\\x86\\",
                                   "\\\\server\\share\\", "\\", "a\\\\b \"c\""}) {
        EXPECT_EQ(TabSeparatedValue(path), path);
    }
    // What would shift a column or drive the terminal is quoted, and so is a value that already
    // looks quoted.
    EXPECT_EQ(TabSeparatedValue("C:\\NR2003\\\tx\r\n\x1b"), "\"C:\\\\NR2003\\\\\\tx\\r\\n\\x1b\"");
    EXPECT_EQ(TabSeparatedValue("\"Big\" Bill"), "\"Big\" Bill");
    EXPECT_EQ(TabSeparatedValue("\"Big Bill\""), "\"\"Big Bill\"\"");
    EXPECT_EQ(TabSeparatedValue("\xc2\x9b\xff"), "\"\\xc2\\x9b\\xff\"");
    // No two values print the same, and every one reads back as it was.
    const std::vector<std::string> values = {"",           "\"",
                                             "\"\"",       "\"\\t\"",
                                             "\"\t\"",     "C:\\temp",
                                             "C:\temp",    "C:\\\temp",
                                             "C:\\\\temp", "x\\x41",
                                             "x\x7f",      "\\\"",
                                             "\"\\",       "Tab\tC:\\Racer",
                                             "\\t\t",      "Zoë\x9b\xe2\x82"};
    std::set<std::string> printed;
    for (const std::string& value : values) {
        const std::string field = TabSeparatedValue(value);
        EXPECT_EQ(field.find_first_of("\t\n\r\x1b"), std::string::npos) << field;
        EXPECT_TRUE(printed.insert(field).second) << field;
        EXPECT_EQ(ReadTabSeparatedValue(field), value) << field;
    }
}

TEST(Paths, NamesAndFolders) {
    EXPECT_EQ(FolderOf("C:\\Leagues\\cup.slf"), "C:\\Leagues\\");
    EXPECT_EQ(FolderOf("C:\\Leagues\\"), "C:\\Leagues\\");
    EXPECT_EQ(FolderOf("cup.slf"), "");
    EXPECT_EQ(FileNameOf("C:\\Leagues\\cup.2001.slf", true), "cup.2001");
    EXPECT_EQ(FileNameOf("C:\\Leagues\\cup.2001.slf", false), "cup.2001.slf");
    EXPECT_EQ(FileNameOf("C:\\Leagues\\", false), "");
    EXPECT_EQ(FileExtension("C:\\my.files\\cup"), "files\\cup");
    EXPECT_EQ(FileExtension("cup"), "");

    EXPECT_EQ(WithTrailingSeparator("C:\\Sim"), "C:\\Sim\\");
    EXPECT_EQ(WithTrailingSeparator("C:\\Sim\\"), "C:\\Sim\\");
    EXPECT_EQ(WithTrailingSeparator(""), "");
    EXPECT_EQ(JoinPath("/tmp//", "/a.txt"), "/tmp/a.txt");
    EXPECT_EQ(JoinPath("", "a"), "a");
    EXPECT_EQ(NativePath("C:\\Sim\\tracks/x"), "C:/Sim/tracks/x");
}

TEST(Paths, FilesAndFoldersOnDisk) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("cup.slf"), "x");
    std::filesystem::create_directory(dir.File("Exports"));
    EXPECT_TRUE(FileExists(dir.File("cup.slf")));
    EXPECT_FALSE(FileExists(dir.File("Exports")));
    EXPECT_TRUE(FolderExists(dir.File("Exports")));
    // A Windows-style path works on this file system too.
    EXPECT_TRUE(FileExists(dir.Path() + "\\cup.slf"));
}

TEST(Paths, FindNoCase) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.File("Tracks/Daytona"));
    test::WriteFileBytes(dir.File("Tracks/Daytona/Track.INI"), "x");
    if (std::filesystem::exists(dir.File("TRACKS/DAYTONA/TRACK.INI"))) {
        // Where the file system itself ignores letter case (Windows) any spelling opens the file.
        EXPECT_TRUE(FileExists(FindNoCase(dir.Path(), "tracks\\daytona\\track.ini")));
        EXPECT_EQ(FindNoCase(dir.Path(), "TRACKS", false), "");
        GTEST_SKIP() << "names that differ only in letter case cannot coexist on this file system";
    }
    test::WriteFileBytes(dir.File("track.ini"), "x");
    test::WriteFileBytes(dir.File("TRACK.INI"), "x");
    test::WriteFileBytes(dir.File("exports"), "a file, not the folder");
    std::filesystem::create_directory(dir.File("Exports"));

    EXPECT_EQ(FindNoCase(dir.Path(), "track.ini"), dir.File("track.ini"));
    EXPECT_EQ(FindNoCase(dir.Path(), "Track.ini"), dir.File("TRACK.INI")); // byte order decides
    EXPECT_EQ(FindNoCase(dir.Path(), "tracks\\daytona\\track.ini"),
              dir.File("Tracks/Daytona/Track.INI"));
    EXPECT_EQ(FindNoCase(dir.Path(), "TRACKS", true), dir.File("Tracks"));
    EXPECT_EQ(FindNoCase(dir.Path(), "TRACKS", false), "");
    EXPECT_EQ(FindNoCase(dir.Path(), "EXPORTS", true), dir.File("Exports"));
    EXPECT_EQ(FindNoCase(dir.Path(), "EXPORTS", false), dir.File("exports"));
    EXPECT_EQ(FindNoCase(dir.Path(), ""), "");
    EXPECT_EQ(FindNoCase(dir.File("nowhere"), "track.ini"), "");
}

} // namespace
} // namespace scorewell
