// The orvdocs tool run as a process on the sample store: each subcommand's
// output against the expected output kept in tests/cli/expected/, refused
// input (exit 1, the store unchanged), wrong command lines (exit 2), and
// import followed by export giving back the same documents.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <vector>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const std::string kTool = std::string(ORV_BUILD_DIR) + "/orvdocs";
const std::string kData = ORV_DATA_DIR;
const std::string kExpected = ORV_CLI_EXPECTED;

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Outcome {
    int code = -1;
    std::string out, err;
};

// Runs the tool in dir with the arguments (shell words), standard input from
// a file when given, and the language given.
Outcome Tool(const fs::path& dir, const std::string& args, const std::string& input = {}, const std::string& lang = "C") {
    const std::string cmd = "cd '" + dir.string() + "' && env -u LC_ALL -u LC_MESSAGES ORVDOCS_REGISTRY= LANG=" + lang + " '" +
                            kTool + "' " + args + (input.empty() ? " </dev/null" : " <'" + input + "'") +
                            " >out.txt 2>err.txt";
    const int status = std::system(cmd.c_str());
    Outcome r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = Slurp(dir / "out.txt");
    r.err = Slurp(dir / "err.txt");
    return r;
}

// The store file and its journal, as bytes, to see that nothing changed.
std::string StoreBytes(const fs::path& store) {
    std::string all = Slurp(store);
    if (fs::exists(store.string() + "-wal")) all += Slurp(store.string() + "-wal");
    return all;
}

// The masked lines of a history: when and by whom vary from run to run.
std::string MaskHistory(const std::string& text) {
    return std::regex_replace(text, std::regex(R"(replaced \S+ \S+ by \S+ \(process \d+\))"), "replaced WHEN by WHO");
}

// The ORVDOCUMENT elements of a store text, with addresses and stamps left out.
std::multiset<std::string> Documents(const std::string& text) {
    // A plain scan: the elements hold extension bodies of many kilobytes,
    // too long for a regular expression's backtracking.
    std::multiset<std::string> out;
    for (std::size_t at = text.find("<ORVDOCUMENT "); at != std::string::npos; at = text.find("<ORVDOCUMENT ", at + 1)) {
        const std::size_t tagEnd = text.find('>', at);
        std::size_t end = tagEnd + 1;
        if (text[tagEnd - 1] != '/') end = text.find("</ORVDOCUMENT>", at) + std::string("</ORVDOCUMENT>").size();
        std::string d = text.substr(at, end - at);
        d = std::regex_replace(d, std::regex(R"( (DBK|TIMESTAMP|CONDITION)="\d+")"), "");
        d = std::regex_replace(d, std::regex(R"(\s*/>)"), "/>");
        d = std::regex_replace(d, std::regex(R"(>\s+<)"), "><");
        out.insert(d);
    }
    return out;
}

class OrvdocsTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("orvdocs-cli-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        ASSERT_EQ(Tool(dir_, "init s.db").code, 0);
        const Outcome r = Tool(dir_, "import s.db '" + kData + "/sample/company.xml' '" + kData + "/sample/correction.xml'");
        ASSERT_EQ(r.code, 0) << r.err;
    }
    void TearDown() override { fs::remove_all(dir_); }

    // The output of a subcommand on the sample store against its expected file.
    void ExpectOutput(const std::string& args, const std::string& expected, const std::string& input = {}) {
        const Outcome r = Tool(dir_, args, input);
        ASSERT_EQ(r.code, 0) << args << "\n" << r.err;
        EXPECT_EQ(r.err, "") << args;
        EXPECT_EQ(r.out, Slurp(fs::path(kExpected) / expected)) << "orvdocs " << args;
    }
    // A refusal: exit 1, a message with the text, and the store as it was.
    void ExpectRefused(const std::string& args, const std::string& message, const std::string& input = {}) {
        const std::string before = StoreBytes(dir_ / "s.db");
        const Outcome r = Tool(dir_, args, input);
        EXPECT_EQ(r.code, 1) << args << "\n" << r.out << r.err;
        EXPECT_NE(r.err.find(message), std::string::npos) << args << ": " << r.err;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_TRUE(StoreBytes(dir_ / "s.db") == before) << "the store changed: " << args;
    }

    fs::path dir_;
};

TEST_F(OrvdocsTool, SubcommandsOnTheSampleStoreGiveTheExpectedOutput) {
    ExpectOutput("list s.db --employee 1 --month 2025-11", "list-1-2025-11.txt");
    ExpectOutput("list s.db --employee 0003 --json", "list-3.json");
    ExpectOutput("list s.db --employee 1 --type 7 --month 2026-03", "list-1-type7-2026-03.txt");
    ExpectOutput("show s.db 12", "show-12.txt");
    ExpectOutput("show s.db 11 --json", "show-11.json");
    ExpectOutput("month s.db --employee 1 --month 2025-11", "month-1-2025-11.txt");
    ExpectOutput("month s.db --employee 1 --month 2025-10 --json", "month-1-2025-10.json");
    ExpectOutput("year s.db --employee 1 --year 2025", "year-1-2025.txt");
    ExpectOutput("export s.db --employee 1 --type 7 --from 01.11.2025 --to 30.11.2025", "export-1-type7-2025-11.xml");
}

// The addresses of the documents in a store text, in order.
std::vector<unsigned> Addresses(const std::string& text) {
    std::vector<unsigned> out;
    const std::regex dbk(R"re(<ORVDOCUMENT [^>]*?DBK="(\d+)")re");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), dbk); it != std::sregex_iterator(); ++it)
        out.push_back(static_cast<unsigned>(std::stoul((*it)[1].str())));
    return out;
}

TEST_F(OrvdocsTool, FiltersSelectByPeriodTypeAndEmployee) {
    // March 2026 of employee 1: document 1 (from 2021, no end: open), salaries
    // 5 (to 01.03, touching the start) and 6, the absence 8 (10.03-20.03) and
    // the yearly document 10; not 7 (from 01.04) or 9 (February).
    Outcome r = Tool(dir_, "export s.db --employee 1 --from 01.03.2026 --to 2026-03-31");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Addresses(r.out), (std::vector<unsigned>{1, 5, 6, 8, 10}));
    r = Tool(dir_, "export s.db --type 7 --from 01.03.2026 --to 31.03.2026");
    EXPECT_EQ(Addresses(r.out), (std::vector<unsigned>{5, 6}));
    r = Tool(dir_, "export s.db --employee 3");
    EXPECT_EQ(Addresses(r.out), (std::vector<unsigned>{14, 15, 16, 17, 18, 19, 20}));
    EXPECT_EQ(r.out.find("TABNUM=\"0001\""), std::string::npos);
    // Without a month the type filter keeps every document of the type; the
    // month then narrows them with the list's overlap test.
    r = Tool(dir_, "list s.db --employee 1 --type 7 --json");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '{'), 6) << r.out;  // 2, 4, 5, 6, 7, 9
    r = Tool(dir_, "list s.db --employee 1 --type 7 --month 2026-04");
    EXPECT_NE(r.out.find("\n       7      7  01.04.2026  15.04.2026"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("1 document(s)"), std::string::npos) << r.out;
    r = Tool(dir_, "list s.db --employee 2 --month 2030-01");
    EXPECT_NE(r.out.find("0 document(s)"), std::string::npos) << r.out;
}

TEST_F(OrvdocsTool, ConvertGoesBetweenHexXmlAndJsonWithoutAStore) {
    const fs::path hex = fs::path(kExpected) / "convert-input.hex";
    ExpectOutput("convert --to xml", "convert-to-xml.txt", hex.string());
    ExpectOutput("convert --to json", "convert-to-json.txt", hex.string());
    // The XML form read back gives the record it came from.
    const Outcome xml = Tool(dir_, "convert --to xml", hex.string());
    std::ofstream(dir_ / "doc.xml") << xml.out;
    const Outcome back = Tool(dir_, "convert --to hex", (dir_ / "doc.xml").string());
    ASSERT_EQ(back.code, 0) << back.err;
    std::string original = Slurp(hex);
    original.erase(std::remove_if(original.begin(), original.end(), ::isspace), original.end());
    EXPECT_EQ(back.out, original + "\n");
}

TEST_F(OrvdocsTool, ConvertReadsBackTheJsonItWrites) {
    const fs::path hex = fs::path(kExpected) / "convert-input.hex";
    std::string original = Slurp(hex);
    original.erase(std::remove_if(original.begin(), original.end(), ::isspace), original.end());
    // hex -> json -> hex gives the same bytes.
    const Outcome json = Tool(dir_, "convert --to json", hex.string());
    ASSERT_EQ(json.code, 0) << json.err;
    std::ofstream(dir_ / "doc.json") << json.out;
    Outcome back = Tool(dir_, "convert --from json --to hex", (dir_ / "doc.json").string());
    ASSERT_EQ(back.code, 0) << back.err;
    EXPECT_EQ(back.out, original + "\n");

    // xml -> json -> xml gives the same text, for a document of an extension
    // kind (its body, identifier and time stamp included) taken from the store.
    const Outcome exported = Tool(dir_, "export s.db");
    ASSERT_EQ(exported.code, 0) << exported.err;
    const std::size_t from = exported.out.rfind("<ORVDOCUMENT ", exported.out.find("DBK=\"17\""));
    const std::size_t to = exported.out.find("</ORVDOCUMENT>", from);
    ASSERT_NE(from, std::string::npos);
    ASSERT_NE(to, std::string::npos);
    std::ofstream(dir_ / "d17.xml") << exported.out.substr(from, to + 14 - from);
    const Outcome xml = Tool(dir_, "convert --to xml", (dir_ / "d17.xml").string());
    ASSERT_EQ(xml.code, 0) << xml.err;
    ASSERT_NE(xml.out.find("DOCEXTENSION"), std::string::npos) << xml.out;
    std::ofstream(dir_ / "d17a.xml") << xml.out;
    const Outcome json17 = Tool(dir_, "convert --to json", (dir_ / "d17a.xml").string());
    ASSERT_EQ(json17.code, 0) << json17.err;
    EXPECT_NE(json17.out.find("\"length\": 152"), std::string::npos) << json17.out;
    std::ofstream(dir_ / "d17.json") << json17.out;
    back = Tool(dir_, "convert --from json --to xml", (dir_ / "d17.json").string());
    ASSERT_EQ(back.code, 0) << back.err;
    EXPECT_EQ(back.out, xml.out);

    // Escapes in texts the reader does not need are read and do not disturb
    // the document: \uXXXX, a surrogate pair, the short escapes.
    std::string escaped = json.out;
    const std::size_t text = escaped.find("\"text\": ");
    ASSERT_NE(text, std::string::npos);
    escaped.insert(text + 8, "\"\\u0041\\ud83d\\ude00\\n\\t\\\"\\\\\\/\\u00e9\", \"other\": ");
    std::ofstream(dir_ / "escaped.json") << escaped;
    back = Tool(dir_, "convert --from json --to hex", (dir_ / "escaped.json").string());
    ASSERT_EQ(back.code, 0) << back.err << escaped.substr(0, 200);
    EXPECT_EQ(back.out, original + "\n");
}

TEST_F(OrvdocsTool, MalformedJsonIsRefusedWithItsPosition) {
    const std::pair<const char*, const char*> cases[] = {
        {"{\"record\": \"00\"", "malformed JSON (line 1, column 16, offset 15): expected ',' or '}'"},
        {"{\"record\": \"00\",}", "(line 1, column 17, offset 16): expected a member name"},
        {"{\n  \"record\": 'x'}", "(line 2, column 13, offset 14): unexpected character"},
        {"{\"a\": 01}", "(line 1, column 8, offset 7): a number does not start with 0"},
        {"{\"a\": 1.}", "expected a digit after '.'"},
        {"{\"a\": \"\\ud800x\"}", "(line 1, column 8, offset 7): a high surrogate without a low one"},
        {"{\"a\": \"\\udc00\"}", "a low surrogate without a high one"},
        {"{\"a\": \"\\q\"}", "unknown escape \\q"},
        {"{\"a\": \"\\u12G4\"}", "expected four hex digits after \\u"},
        {"{\"a\": \"x\ty\"}", "control character in a string"},
        {"{\"a\": tru}", "expected true"},
        {"{\"a\": [1]}", "arrays are not part of the document form"},
        {"{\"a\": 1, \"a\": 2}", "(line 1, column 10, offset 9): member \"a\" given twice"},
        {"{} {}", "(line 1, column 4, offset 3): text after the value"},
        {"\"\xC3\"", "not UTF-8 text"},
        {"", "unexpected end of the text"},
        {"{\"text\": \"x\"}", "not a document in JSON: \"record\" missing"},
        {"{\"record\": \"0G\"}", "not a hex digit: G"},
        {"{\"record\": \"00\"}", "the record is refused"},
    };
    int n = 0;
    for (const auto& [text, message] : cases) {
        const fs::path file = dir_ / ("bad" + std::to_string(n++) + ".json");
        std::ofstream(file) << text;
        ExpectRefused("convert --from json --to xml", message, file.string());
    }
}

TEST_F(OrvdocsTool, HistoryShowsChangedExtensionPropertiesByName) {
    const Outcome r = Tool(dir_, "history s.db 17");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(MaskHistory(r.out), Slurp(fs::path(kExpected) / "history-17.txt"));
}

TEST_F(OrvdocsTool, HistoryShowsTheChangedFieldsAndRestoreMakesANewVersion) {
    Outcome r = Tool(dir_, "history s.db 2");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(MaskHistory(r.out), Slurp(fs::path(kExpected) / "history-2.txt"));
    r = Tool(dir_, "restore s.db 2 1");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "document 2: version 1 restored as version 3\n");
    r = Tool(dir_, "history s.db 2");
    EXPECT_EQ(MaskHistory(r.out), Slurp(fs::path(kExpected) / "history-2-restored.txt"));
    r = Tool(dir_, "list s.db --employee 1 --type 7 --month 2025-11");
    EXPECT_NE(r.out.find("15000.50"), std::string::npos) << r.out;
}

TEST_F(OrvdocsTool, RefusedInputExitsWithOneAndLeavesTheStoreAsItWas) {
    ExpectRefused("list s.db --employee 77", "unknown employee: 77");
    ExpectRefused("month s.db --employee 1 --month 2024-01", "no month 2024-01");
    ExpectRefused("show s.db 999", "no document with identifier 999");
    ExpectRefused("restore s.db 2 42", "has no kept version 42");
    ExpectRefused("history s.db 999", "no document with identifier 999");

    std::ofstream(dir_ / "broken.xml") << "<ORVSTORE><EMPLOYEE ID=\"9\"></ORVSTORE>";
    ExpectRefused("import s.db broken.xml", "broken.xml: ");
    // A good file before a bad one: nothing of either is loaded.
    std::ofstream(dir_ / "good.xml") << "<ORVSTORE><EMPLOYEE ID=\"9\" TABNUM=\"0009\" NAME=\"X\"/></ORVSTORE>";
    ExpectRefused("import s.db good.xml broken.xml", "broken.xml: ");
    EXPECT_EQ(Tool(dir_, "list s.db --employee 9").code, 1);
    std::ofstream(dir_ / "other.xml") << "<PAYROLL/>";
    ExpectRefused("import s.db other.xml", "not a store, document or document list: <PAYROLL>");
    ExpectRefused("import s.db missing.xml", "cannot read missing.xml");

    std::ofstream(dir_ / "short.hex") << "00000700";
    ExpectRefused("convert --from hex --to xml", "the record is refused", (dir_ / "short.hex").string());
    std::ofstream(dir_ / "bad.hex") << "0G";
    ExpectRefused("convert --to xml", "not a hex digit: G", (dir_ / "bad.hex").string());
    std::ofstream(dir_ / "odd.hex") << "000";
    ExpectRefused("convert --to xml", "two digits per byte", (dir_ / "odd.hex").string());
    std::ofstream(dir_ / "bad.xml") << "<ORVDOCUMENT DOCRECORD=\"00\"";
    ExpectRefused("convert --to hex", "the XML form is refused", (dir_ / "bad.xml").string());
}

TEST_F(OrvdocsTool, ADamagedStoreIsRefusedAndNotWritten) {
    std::ofstream(dir_ / "damaged.db", std::ios::binary) << std::string(4096, '\x5A');
    const std::string before = Slurp(dir_ / "damaged.db");
    for (const char* args : {"list damaged.db --employee 1", "show damaged.db 1", "export damaged.db",
                             "import damaged.db damaged.db", "history damaged.db 1"}) {
        const Outcome r = Tool(dir_, args);
        EXPECT_EQ(r.code, 1) << args;
        EXPECT_NE(r.err.find("opening the store damaged.db"), std::string::npos) << args << ": " << r.err;
        EXPECT_NE(r.err.find("status 0x80040210"), std::string::npos) << args << ": " << r.err;
    }
    EXPECT_TRUE(Slurp(dir_ / "damaged.db") == before);
    EXPECT_FALSE(fs::exists(dir_ / "damaged.db-wal"));
    const Outcome init = Tool(dir_, "init damaged.db");
    EXPECT_EQ(init.code, 1);
    EXPECT_NE(init.err.find("the file exists already"), std::string::npos) << init.err;
}

TEST_F(OrvdocsTool, ImportThenExportGivesBackTheSameDocuments) {
    const Outcome first = Tool(dir_, "export s.db --output first.xml");
    ASSERT_EQ(first.code, 0) << first.err;
    ASSERT_EQ(Tool(dir_, "init t.db").code, 0);
    ASSERT_EQ(Tool(dir_, "import t.db first.xml").code, 0);
    ASSERT_EQ(Tool(dir_, "export t.db --output second.xml").code, 0);
    EXPECT_EQ(Slurp(dir_ / "first.xml"), Slurp(dir_ / "second.xml"));

    // The documents of the sample come back, the corrected one as corrected.
    ASSERT_EQ(Tool(dir_, "init u.db").code, 0);
    ASSERT_EQ(Tool(dir_, "import u.db '" + kData + "/sample/company.xml'").code, 0);
    ASSERT_EQ(Tool(dir_, "export u.db --output third.xml").code, 0);
    const auto source = Documents(Slurp(fs::path(kData) / "sample/company.xml"));
    EXPECT_EQ(source.size(), 20u);
    EXPECT_TRUE(Documents(Slurp(dir_ / "third.xml")) == source) << "the exported documents differ from the loaded ones";

    // A filtered export loads into an empty store as a store of its own.
    ASSERT_EQ(Tool(dir_, "export s.db --employee 3 --output three.xml").code, 0);
    ASSERT_EQ(Tool(dir_, "init v.db").code, 0);
    ASSERT_EQ(Tool(dir_, "import v.db three.xml").code, 0);
    const Outcome list = Tool(dir_, "list v.db --employee 3");
    EXPECT_EQ(list.code, 0);
    EXPECT_NE(list.out.find("7 document(s)"), std::string::npos) << list.out;
    EXPECT_EQ(Tool(dir_, "list v.db --employee 1").code, 1);
}

TEST_F(OrvdocsTool, CommandLinesAreCheckedAndEverySubcommandHasHelp) {
    for (const char* name : {"init", "import", "export", "list", "show", "month", "year", "convert", "history", "restore",
                             "register", "demo"}) {
        const Outcome r = Tool(dir_, std::string(name) + " --help");
        EXPECT_EQ(r.code, 0) << name;
        EXPECT_EQ(r.out.rfind(std::string("usage: orvdocs ") + name, 0), 0u) << r.out;
    }
    EXPECT_EQ(Tool(dir_, "--help").code, 0);
    for (const char* args : {"", "frobnicate", "list s.db", "list s.db --employee", "list s.db --employee 1 --month 2025-13",
                             "list s.db --employee 1 --colour red", "show s.db", "show s.db x", "export s.db --from 31.02.2025",
                             "convert --to pdf", "restore s.db 2", "year s.db --employee 1 --year 12"}) {
        const std::string before = StoreBytes(dir_ / "s.db");
        const Outcome r = Tool(dir_, args);
        EXPECT_EQ(r.code, 2) << args << "\n" << r.err;
        EXPECT_NE(r.err.find("usage"), std::string::npos) << args;
        EXPECT_TRUE(StoreBytes(dir_ / "s.db") == before) << args;
    }
}

TEST_F(OrvdocsTool, TextFollowsTheTerminalsLanguage) {
    Outcome r = Tool(dir_, "list s.db --employee 1 --month 2025-11", {}, "ru_RU.UTF-8");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("документов: 2"), std::string::npos) << r.out;
    r = Tool(dir_, "list s.db --employee 42", {}, "ru_RU.UTF-8");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("неизвестный сотрудник: 42"), std::string::npos) << r.err;
}

TEST_F(OrvdocsTool, RegisterWritesAndRemovesTheRegistrationInTheRegistryFile) {
    const std::string reg = (dir_ / "registry.file").string();
    const std::string cmd = "cd '" + dir_.string() + "' && ORVDOCS_REGISTRY='" + reg + "' LANG=C '" + kTool + "' register";
    ASSERT_EQ(WEXITSTATUS(std::system((cmd + " >/dev/null").c_str())), 0);
    const std::string written = Slurp(reg);
    EXPECT_NE(written.find("OrvDocs.OrvDocument"), std::string::npos);
    ASSERT_EQ(WEXITSTATUS(std::system((cmd + " --unregister >/dev/null").c_str())), 0);
    EXPECT_EQ(Slurp(reg).find("OrvDocs.OrvDocument"), std::string::npos);
    // Without a registry file there is nothing to write into.
    EXPECT_EQ(Tool(dir_, "register").code, 1);
}

}  // namespace
