// Documents in files: load with the encoding of the file, save in the
// encoding the document declares, failures reported and nothing half written.
#include "dom_test_util.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace domtest;

namespace {

class DomFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::path(::testing::TempDir()) / ("orvdocs-dom-files-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(dir_, ec);
    }
    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(File(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(File(name), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Loads a file (or URL) that must load.
    ComPtr<IXMLDOMDocument> LoadFile(const std::string& source) const {
        auto doc = NewDoc();
        orv::Variant v(orv::Utf8ToUtf16(source));
        VARIANT_BOOL ok = VARIANT_FALSE;
        EXPECT_EQ(doc->load(v, &ok), S_OK) << source << ": " << Reason(doc);
        EXPECT_EQ(ok, VARIANT_TRUE);
        return doc;
    }
    static std::string Reason(const ComPtr<IXMLDOMDocument>& doc) {
        ComPtr<IXMLDOMParseError> err;
        doc->get_parseError(err.GetAddressOf());
        Bstr r;
        err->get_reason(r.ReleaseAndGetAddressOf());
        return U8(r);
    }
    HRESULT Save(const ComPtr<IXMLDOMDocument>& doc, const std::string& name) const {
        orv::Variant v(orv::Utf8ToUtf16(File(name)));
        return doc->save(v);
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path dir_;
};

// "Ведомость №5" in the single-byte code pages.
const std::string kCp1251 = "\xC2\xE5\xE4\xEE\xEC\xEE\xF1\xF2\xFC \xB9" "5";
const std::string kCp866 = "\x82\xA5\xA4\xAE\xAC\xAE\xE1\xE2\xEC \xFC" "5";
const std::string kText = "Ведомость №5";

}  // namespace

TEST_F(DomFiles, EncodingComesFromTheByteOrderMarkOrTheDeclaration) {
    Write("utf8.xml", "<?xml version=\"1.0\"?><a t=\"" + kText + "\">" + kText + "</a>");
    Write("utf8bom.xml", "\xEF\xBB\xBF<a t=\"" + kText + "\">" + kText + "</a>");
    Write("cp1251.xml", "<?xml version=\"1.0\" encoding=\"windows-1251\"?><a t=\"" + kCp1251 + "\">" + kCp1251 + "</a>");
    Write("cp866.xml", "<?xml version='1.0' encoding='cp866'?>\r\n<a t=\"" + kCp866 + "\">" + kCp866 + "</a>");
    const std::u16string wide = orv::Utf8ToUtf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a t=\"" + kText + "\">" +
                                                 kText + "</a>");
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (char16_t c : wide) {
        le += static_cast<char>(c & 0xFF), le += static_cast<char>(c >> 8);
        be += static_cast<char>(c >> 8), be += static_cast<char>(c & 0xFF);
    }
    Write("utf16le.xml", le);
    Write("utf16be.xml", be);
    for (const char* name : {"utf8.xml", "utf8bom.xml", "cp1251.xml", "cp866.xml", "utf16le.xml", "utf16be.xml"}) {
        SCOPED_TRACE(name);
        auto doc = LoadFile(File(name));
        auto root = Root(doc);
        ASSERT_TRUE(root);
        EXPECT_EQ(Text(root), kText);
        EXPECT_EQ(Attr(root, "t"), kText);
        Bstr url;
        EXPECT_EQ(doc->get_url(url.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_EQ(U8(url), File(name));
    }
}

TEST_F(DomFiles, FileUrlsAreLocalPaths) {
    Write("with space.xml", "<a>x</a>");
    EXPECT_EQ(Text(Root(LoadFile("file://" + File("with%20space.xml")))), "x");
    EXPECT_EQ(Text(Root(LoadFile("file://localhost" + File("with space.xml")))), "x");
    EXPECT_EQ(Text(Root(LoadFile("file:" + File("with space.xml")))), "x");
}

TEST_F(DomFiles, UnreadableFilesAreParseErrorsWithTheReason) {
    Write("bad-utf8.xml", "<a>\xC3\x28</a>");
    Write("bad-decl.xml", "<?xml version=\"1.0\" encoding=\"no-such-encoding\"?><a/>");
    Write("utf16-claim.xml", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>");
    Write("broken.xml", "<a><b></a>");
    std::filesystem::create_directories(dir_ / "folder.xml");
    struct Case {
        std::string source, words;
    } cases[] = {
        {File("missing.xml"), "No such file"},
        {File("folder.xml"), "directory"},
        {File("bad-utf8.xml"), "UTF-8"},
        {File("bad-decl.xml"), "no-such-encoding"},
        {File("utf16-claim.xml"), "UTF-16"},
        {File("broken.xml"), ""},
        {"http://example.invalid/a.xml", "local"},
        {"", "No file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        auto doc = Load("<old/>");
        orv::Variant v(orv::Utf8ToUtf16(c.source));
        VARIANT_BOOL ok = VARIANT_TRUE;
        EXPECT_EQ(doc->load(v, &ok), S_FALSE);
        EXPECT_EQ(ok, VARIANT_FALSE);
        EXPECT_FALSE(Root(doc)) << "a failed load leaves the document empty";
        ComPtr<IXMLDOMParseError> err;
        ASSERT_EQ(doc->get_parseError(err.GetAddressOf()), S_OK);
        LONG code = 0;
        err->get_errorCode(&code);
        EXPECT_NE(code, 0);
        const std::string reason = Reason(doc);
        EXPECT_FALSE(reason.empty());
        EXPECT_NE(reason.find(c.words), std::string::npos) << reason;
    }
    auto doc = NewDoc();
    VARIANT_BOOL ok = VARIANT_TRUE;
    orv::Variant number(LONG{5});
    EXPECT_EQ(doc->load(number, &ok), E_INVALIDARG);
    EXPECT_EQ(doc->load(number, nullptr), E_POINTER);
}

TEST_F(DomFiles, SaveWritesTheDeclaredEncodingAndLoadsBack) {
    auto utf8 = Load("<a t=\"" + kText + "\">" + kText + "<b/></a>");
    ASSERT_EQ(Save(utf8, "plain.xml"), S_OK);
    EXPECT_EQ(Read("plain.xml"), "<a t=\"" + kText + "\">" + kText + "<b/></a>") << "UTF-8 without a declaration";

    auto cp = Load("<?xml version=\"1.0\" encoding=\"windows-1251\"?><a t=\"" + kText + "\">" + kText + " €✓</a>");
    ASSERT_EQ(Save(cp, "cp.xml"), S_OK);
    EXPECT_EQ(Read("cp.xml"), "<?xml version=\"1.0\" encoding=\"windows-1251\"?><a t=\"" + kCp1251 + "\">" + kCp1251 +
                                  " \x88&#10003;</a>")
        << "the euro sign is in the code page, the check mark becomes a reference";
    auto back = LoadFile(File("cp.xml"));
    EXPECT_EQ(Text(Root(back)), kText + " €✓");

    auto dos = LoadFile([&] {
        Write("dos.xml", "<?xml version=\"1.0\" encoding=\"cp866\"?><a>" + kCp866 + "</a>");
        return File("dos.xml");
    }());
    ASSERT_EQ(Save(dos, "dos-again.xml"), S_OK);
    EXPECT_EQ(Read("dos-again.xml"), "<?xml version=\"1.0\" encoding=\"cp866\"?><a>" + kCp866 + "</a>");

    auto wide = Load("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a>" + kText + "</a>");
    ASSERT_EQ(Save(wide, "wide.xml"), S_OK);
    const std::string bytes = Read("wide.xml");
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE<\0", 4));
    EXPECT_EQ(Text(Root(LoadFile(File("wide.xml")))), kText);
    EXPECT_EQ(Names(), (std::vector<std::string>{"cp.xml", "dos-again.xml", "dos.xml", "plain.xml", "wide.xml"}))
        << "no temporary file is left";
}

TEST_F(DomFiles, AFailedSaveLeavesNoHalfWrittenFile) {
    auto doc = Load("<a>new</a>");
    Write("kept.xml", "<a>old</a>");
    // A folder that does not exist, a destination that is a folder.
    EXPECT_FALSE(SUCCEEDED(Save(doc, "no-such-folder/x.xml")));
    std::filesystem::create_directories(dir_ / "taken.xml");
    EXPECT_FALSE(SUCCEEDED(Save(doc, "taken.xml")));
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "taken.xml"));
    // An encoding the system does not know: nothing is written over the old file.
    auto odd = Load("<?xml version=\"1.0\" encoding=\"x-unknown-code\"?><a>new</a>");
    EXPECT_FALSE(SUCCEEDED(Save(odd, "kept.xml")));
    EXPECT_EQ(Read("kept.xml"), "<a>old</a>");
    EXPECT_EQ(Names(), (std::vector<std::string>{"kept.xml", "taken.xml"})) << "no temporary file is left";
    // Replacing works and keeps nothing else around.
    ASSERT_EQ(Save(doc, "kept.xml"), S_OK);
    EXPECT_EQ(Read("kept.xml"), "<a>new</a>");
    EXPECT_EQ(Names(), (std::vector<std::string>{"kept.xml", "taken.xml"}));
    orv::Variant number(LONG{5});
    EXPECT_EQ(doc->save(number), E_INVALIDARG);
}
