#include "settings/RegDocument.h"

#include <gtest/gtest.h>

namespace {

const std::string Header = "Windows Registry Editor Version 5.00\n\n";
const std::string Key = "HKEY_CURRENT_USER\\Software\\KX\\Orvani";

std::string InKey(const std::string &lines)
{
    return Header + "[" + Key + "]\n" + lines;
}

// The one value of a one-key text, deletions included.
TRegValue ValueOf(const std::string &line)
{
    const TRegParseResult parsed = ParseRegText(InKey(line + "\n"));
    const TRegKey *key = parsed.Document.FindKey(Key);
    return key && key->Values.size() == 1 ? key->Values[0].Value
                                          : TRegValue{TRegDataType::rdNone, 0xDEAD, "missing"};
}

TRegValue Bytes(TRegDataType kind, std::string bytes)
{
    return {kind, 0, std::move(bytes)};
}
TRegValue Unknown(std::string text)
{
    return {TRegDataType::rdUnknown, 0, std::move(text)};
}

} // namespace

TEST(ParseRegText, RecognisesEveryKind)
{
    struct Case {
        std::string Line;
        TRegValue Expected;
    };
    const Case cases[] = {
        {R"("a"=dword:0000002a)", TRegValue::Integer(42)},
        {R"("a"=DWORD:FFFFFFFF)", TRegValue::Integer(0xFFFFFFFF)},
        {R"("a"=dword:0)", TRegValue::Integer(0)},
        {R"("a"=dword:  2a  )", TRegValue::Integer(42)},
        {R"("a" = dword:00000001)", TRegValue::Integer(1)},
        {R"("a"="C:\\Temp\\ \"quoted\" \n \t")", TRegValue::String("C:\\Temp\\ \"quoted\" \n \\t")},
        {R"("a"="")", TRegValue::String("")},
        {"\"a\"=\"Zo\xC3\xAB \xE2\x82\xAC\"", TRegValue::String("Zo\xC3\xAB \xE2\x82\xAC")},
        {R"("a"=hex:01,02,ff)", Bytes(TRegDataType::rdBinary, "\x01\x02\xFF")},
        {R"("a"=hex:)", Bytes(TRegDataType::rdBinary, "")},
        {R"("a"=hex(2):41,00,00,00)", Bytes(TRegDataType::rdExpandString, std::string("A\0\0\0", 4))},
        {R"("a"=hex(7):41,00,00,00,00,00)",
         Bytes(TRegDataType::rdMultiString, std::string("A\0\0\0\0\0", 6))},
        {R"("a"=hex(b):01,00,00,00,00,00,00,00)",
         Bytes(TRegDataType::rdQWord, std::string("\x01\0\0\0\0\0\0\0", 8))},
        {R"("a"=hex(0):)", Bytes(TRegDataType::rdNone, "")},
        {R"("a"=hex(20):7f)", Bytes(static_cast<TRegDataType>(0x20), "\x7F")},
        // The registry's own forms of text and integer.
        {R"("a"=hex(1):41,00,e9,00,3d,d8,00,de,00,00)", TRegValue::String("A\xC3\xA9\xF0\x9F\x98\x80")},
        {R"("a"=hex(4):2a,00,00,80)", TRegValue::Integer(0x8000002A)},
        // What cannot be read keeps its text.
        {R"("a"=dword:)", Unknown("dword:")},
        {R"("a"=dword:0000002a9)", Unknown("dword:0000002a9")},
        {R"("a"=dword:0000002g)", Unknown("dword:0000002g")},
        {R"("a"="open)", Unknown("\"open")},
        {R"("a"="closed" trailing)", Unknown("\"closed\" trailing")},
        {R"("a"=hex:1,2x)", Unknown("hex:1,2x")},
        {R"("a"=hex:01,,02)", Unknown("hex:01,,02")},
        {R"("a"=hex:123)", Unknown("hex:123")},
        {R"("a"=hex(4):2a,00)", Unknown("hex(4):2a,00")},
        {R"("a"=hex(1):41)", Unknown("hex(1):41")},
        {R"("a"=hex(1):00,d8,00,00)", Unknown("hex(1):00,d8,00,00")},
        {R"("a"=hex(ffffffff):00)", Unknown("hex(ffffffff):00")},
        {R"("a"=hex(123456789):00)", Unknown("hex(123456789):00")},
        {R"("a"=hex(2:00)", Unknown("hex(2:00")},
        {R"("a"=-)", {TRegDataType::rdDeleted, 0, ""}},
        // Comments after a value, as the registry editor takes them.
        {R"("a"=dword:00000000 ; uit)", TRegValue::Integer(0)},
        {R"("a"=dword:1;x)", TRegValue::Integer(1)},
        {R"("a"="1" ; x)", TRegValue::String("1")},
        {R"("a"="x ; y";z)", TRegValue::String("x ; y")},
        {R"("a"=hex:01,02 ; x)", Bytes(TRegDataType::rdBinary, "\x01\x02")},
        {R"("a"="1" x ; y)", Unknown("\"1\" x ; y")},
        {R"("a"=dword:1 x ; y)", Unknown("dword:1 x ; y")},
        {R"("a"=hex(fffffffe):00)", Unknown("hex(fffffffe):00")},
        {R"("a"=)", Unknown("")},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ValueOf(c.Line), c.Expected) << c.Line;
    }
}

TEST(ParseRegText, JoinsContinuedLinesButNeverComments)
{
    const TRegParseResult parsed = ParseRegText(InKey("; a comment C:\\\n"
                                                      "\"a\"=hex:01,02,\\\n"
                                                      "  03,04\n"
                                                      "@=\"default\"\r\n"
                                                      "; C:\\\n"
                                                      "[" +
                                                      Key +
                                                      "\\Positie]\n"
                                                      "\"Links\"=dword:1\n"));
    EXPECT_FALSE(parsed.Damaged);
    EXPECT_EQ(*parsed.Document.Find(Key, "A"), Bytes(TRegDataType::rdBinary, "\x01\x02\x03\x04"));
    EXPECT_EQ(*parsed.Document.Find(Key, ""), TRegValue::String("default"));
    EXPECT_EQ(*parsed.Document.Find(Key + "\\Positie", "Links"), TRegValue::Integer(1));
}

// Between the same neighbours: before a key's line, before a value (also from inside it), after
// a value on its line, at the end.
TEST(FormatRegText, KeepsCommentsWhereTheyStood)
{
    const std::string positie = "\n; Positie\n[" + Key + "\\Positie]\n";
    TRegParseResult parsed =
        ParseRegText(Header + "; made by hand\n[" + Key + "]\n; C:\\\n\"a\"=dword:00000001 ; one\n" +
                     positie + "\"h\"=hex:01,\\\n; inside\n  02\n\n; last");
    EXPECT_FALSE(parsed.Damaged);
    const std::string rest = positie + "; inside\n\"h\"=hex:01,02\n\n; last\n";
    EXPECT_EQ(FormatRegText(parsed.Document),
              Header + "; made by hand\n[" + Key + "]\n; C:\\\n\"a\"=dword:00000001 ; one\n" + rest);

    parsed.Document.Apply(Key, {{"b", TRegValue::Integer(2)}, {"a", TRegValue::Integer(3)}});
    EXPECT_EQ(FormatRegText(parsed.Document),
              Header + "; made by hand\n[" + Key +
                  "]\n; C:\\\n\"a\"=dword:00000003 ; one\n\"b\"=dword:00000002\n" + rest);
}

TEST(ParseRegText, NamesIgnoreLetterCaseAndTheLastValueWins)
{
    const TRegParseResult parsed =
        ParseRegText(Header + "[HKEY_CURRENT_USER\\Software\\KX]\n\"Taal\"=dword:00000001\n"
                              "[hkey_current_user\\software\\kx]\n\"TAAL\"=dword:00000002\n");
    ASSERT_EQ(parsed.Document.Keys().size(), 1u);
    ASSERT_EQ(parsed.Document.Keys()[0].Values.size(), 1u);
    EXPECT_EQ(parsed.Document.Keys()[0].Values[0].Name, "Taal");
    EXPECT_EQ(*parsed.Document.Find("HKEY_CURRENT_USER\\SOFTWARE\\kx", "taal"), TRegValue::Integer(2));
    EXPECT_TRUE(parsed.Document.KeyExists("hkey_current_user\\Software"));
    EXPECT_FALSE(parsed.Document.KeyExists("HKEY_CURRENT_USER\\Soft"));
}

TEST(ParseRegText, ReportsWhatARewriteWouldLose)
{
    struct Case {
        const char *What;
        std::string Text;
        bool Damaged;
    };
    const Case cases[] = {
        {"clean", InKey("\"a\"=dword:00000001\n"), false},
        {"a value that cannot be read", InKey("\"a\"=what\n"), true},
        {"a last line without a line feed", InKey("\"a\"=\"b\""), false},
        {"deletions", InKey("\"a\"=-\n[-" + Key + "]\n"), false},
        {"a value too long", InKey("\"a\"=\"" + std::string(MaxValueText, 'x') + "\"\n\"b\"=dword:1\n"),
         true},
        {"old header, byte-order mark", "\xEF\xBB\xBFREGEDIT4\n\n[K]\n\"a\"=\"b\"\n", false},
        {"empty file", "", false},
        {"no header", "[K]\n\"a\"=\"b\"\n", true},
        {"cut off", InKey("\"a\"=\"b"), true},
        {"dangling continuation", InKey("\"a\"=hex:01,\\\n"), true},
        {"line without a name", InKey("garbage\n"), true},
        {"value outside a key", Header + "\"a\"=\"b\"\n", true},
        {"broken key line", InKey("[Other\n\"a\"=\"b\"\n"), true},
        {"UTF-16LE",
         std::string("\xFF\xFE"
                     "R\0E\0G\0E\0D\0I\0T\0"
                     "4\0\n\0",
                     20),
         false},
        {"UTF-16 with a lone surrogate", std::string("\xFE\xFF\xD8\x00\0\n", 6), true},
        {"UTF-16 cut inside a character", std::string("\xFF\xFE\n\0\n", 5), true},
        {"binary",
         std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0",
                     10),
         true},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ParseRegText(c.Text).Damaged, c.Damaged) << c.What;
    }
}

TEST(ParseRegText, AValueAfterABrokenKeyLineLandsNowhere)
{
    const TRegParseResult parsed = ParseRegText(InKey("[Other\n\"a\"=\"b\"\n"));
    EXPECT_EQ(parsed.Document.Find(Key, "a"), nullptr);
}

TEST(FormatRegText, WritesTheExportFormat)
{
    TRegDocument document;
    document.Apply(Key, {{"Int", TRegValue::Integer(0xF5F2F1)},
                         {"Text", TRegValue::String("say \"hi\" C:\\")},
                         {"", TRegValue::String("default")},
                         {"Bin", Bytes(TRegDataType::rdBinary, "\x01\xAB")},
                         {"Expand", Bytes(TRegDataType::rdExpandString, std::string("A\0\0\0", 4))},
                         {"Odd", Unknown("dword:1")},
                         {"Lines", TRegValue::String("a\nb")}});
    document.CreateKey(Key + "\\Empty");

    EXPECT_EQ(FormatRegText(document), Header + "[" + Key +
                                           "]\n"
                                           "\"Int\"=dword:00f5f2f1\n"
                                           "\"Text\"=\"say \\\"hi\\\" C:\\\\\"\n"
                                           "@=\"default\"\n"
                                           "\"Bin\"=hex:01,ab\n"
                                           "\"Expand\"=hex(2):41,00,00,00\n"
                                           "\"Lines\"=\"a\\nb\"\n"
                                           "\n"
                                           "[" +
                                           Key +
                                           "\\Empty]\n"
                                           "\n");
}

TEST(FormatRegText, WrapsLongHexWithinEightyColumnsAndReadsItBack)
{
    TRegDocument document;
    const TRegValue long_value = Bytes(TRegDataType::rdBinary, std::string(100, '\x5A'));
    document.Apply(Key, {{"Long", long_value}});

    const std::string text = FormatRegText(document);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        EXPECT_LE(end - start, 80u);
    }
    const TRegParseResult parsed = ParseRegText(text);
    EXPECT_FALSE(parsed.Damaged);
    EXPECT_EQ(*parsed.Document.Find(Key, "Long"), long_value);
}

TEST(FormatRegText, RoundTripsTextsExactly)
{
    const std::string texts[] = {"",
                                 "plain",
                                 "quote \" and backslash \\ at the end\\",
                                 "\\\"\\\\\"",
                                 "UTF-8: \xC3\xAB \xE2\x82\xAC \xF0\x9F\x98\x80",
                                 "line\nbreaks\r\nand\ttabs",
                                 " blanks around "};
    TRegDocument document;
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        document.Apply(Key, {{"t" + std::to_string(i), TRegValue::String(texts[i])}});
    }
    const std::string text = FormatRegText(document);
    const TRegParseResult parsed = ParseRegText(text);
    EXPECT_FALSE(parsed.Damaged);
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        const TRegValue *value = parsed.Document.Find(Key, "t" + std::to_string(i));
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(*value, TRegValue::String(texts[i])) << i;
    }
    EXPECT_EQ(FormatRegText(parsed.Document), text);
}

TEST(FormatRegText, ARewriteReadsBackUnchanged)
{
    // Lines that end in a backslash once blanks are dropped, or after continuing onto an empty line.
    const std::string texts[] = {
        InKey("\"a\"=hex:01,02,\\ \r\r\n\"b\"=dword:00000001\n"),
        InKey("\"a\"=\"C:\\\\\n\n\"b\"=dword:00000001\n"),
        InKey("\"a\"=text \\\n"),
        // Deletions, kept in the store as they stood.
        InKey("\"a\"=-\n\n[-" + Key + "\\Positie]\n\"b\"=dword:1\n"),
        // A comment inside a value that cannot be read, which is not written back.
        InKey("@=\"default\"\n\"b\"=hex;01,\\\n; c\n"),
    };
    for (const std::string &text : texts) {
        const std::string written = FormatRegText(ParseRegText(text).Document);
        const TRegParseResult reread = ParseRegText(written);
        EXPECT_FALSE(reread.Damaged) << text;
        EXPECT_EQ(FormatRegText(reread.Document), written) << text;
    }
    EXPECT_NE(FormatRegText(ParseRegText(texts[3]).Document).find("\"a\"=-\n\n[-" + Key + "\\Positie]\n"),
              std::string::npos);
}

TEST(ParseRegText, TakesTheTextsOfRegedit4FilesAsWindows1252)
{
    const TRegParseResult parsed = ParseRegText("REGEDIT4\r\n\r\n[" + Key +
                                                "]\r\n\"a\"=\"Caf\xE9 \x80\"\r\n\"b\"=hex(2):43,e9,00\r\n"
                                                "\"c\"=hex(7):41,00,00\r\n\"d\"=hex:e9\r\n");
    EXPECT_FALSE(parsed.Damaged);
    EXPECT_EQ(*parsed.Document.Find(Key, "a"), TRegValue::String("Caf\xC3\xA9 \xE2\x82\xAC"));
    EXPECT_EQ(*parsed.Document.Find(Key, "b"),
              Bytes(TRegDataType::rdExpandString, std::string("C\0\xE9\0\0\0", 6)));
    EXPECT_EQ(*parsed.Document.Find(Key, "c"),
              Bytes(TRegDataType::rdMultiString, std::string("A\0\0\0\0\0", 6)));
    EXPECT_EQ(*parsed.Document.Find(Key, "d"), Bytes(TRegDataType::rdBinary, "\xE9"));
}

TEST(FormatRegExport, WritesTheTreeBelowTheRootInTheRegistrysOrder)
{
    TRegDocument document;
    document.Apply(Key + "\\b\\Deep", {{"x", TRegValue::Integer(1)}});
    document.Apply(Key + "\\A", {{"odd", Unknown("what")}, {"y", TRegValue::String("\xC3\xA9")}});
    document.Apply("HKEY_CURRENT_USER\\Software\\Other", {{"z", TRegValue::Integer(2)}});

    std::string expected = "\xFF\xFE";
    for (char c : Header + "[" + Key + "]\n\n[" + Key + "\\A]\n\"y\"=\"\xE9\"\n\n[" + Key + "\\b]\n\n[" +
                      Key + "\\b\\Deep]\n\"x\"=dword:00000001\n\n") {
        if (c == '\n') {
            expected += std::string("\r\0", 2);
        }
        expected += c;
        expected += '\0';
    }
    EXPECT_EQ(FormatRegExport(document, Key), expected);
}

// Lines are measured in UTF-16 units, as the registry editor measures them; text that is no UTF-8
// counts as the U+FFFD it becomes, and keys that differ only there are one key, so a second export
// is the first; so is a key below one whose name ends in a blank, which no key line can hold.
TEST(FormatRegExport, WrapsHexByUtf16UnitsAndIsStable)
{
    TRegDocument document;
    document.Apply(
        Key, {{"\xB4\xB4\xB4 \xF0\x9F\x98\x80", Bytes(TRegDataType::rdBinary, std::string(60, '\x5A'))}});
    document.Apply(Key + "\\\xB4", {{"x", TRegValue::Integer(1)}});
    document.Apply(Key + "\\\xB5", {{"y", TRegValue::Integer(2)}});
    document.Apply(Key + "\\a \\b", {{"z", TRegValue::Integer(3)}});

    const std::string exported = FormatRegExport(document, Key);

    EXPECT_EQ(FormatRegExport(ParseRegText(exported).Document, Key), exported);
    std::size_t start = 0;
    for (std::size_t end; (end = exported.find(std::string("\r\0\n\0", 4), start)) != std::string::npos;
         start = end + 4) {
        EXPECT_LE((end - start) / 2, 80u);
    }
    EXPECT_NE(exported.find(std::string(",\0\\\0\r\0\n\0", 8)), std::string::npos); // wrapped
}
