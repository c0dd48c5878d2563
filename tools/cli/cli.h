// The orvdocs command-line tool: what the subcommands share. A subcommand
// refuses input by throwing Refused (exit 1) and a wrong command line by
// throwing Usage (exit 2); main prints either on standard error.
#pragma once

#include <orvdocs/orvdocs.h>

#include "host/OrvMemoryDatabase.h"
#include "host/registration.h"

#include <orvdocs/platform/strings.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orv::cli {

// Input the tool refuses: the text and the library's status (S_OK when the
// tool itself decided).
struct Refused {
    std::string text;
    HRESULT hr = S_OK;
};
// A command line the subcommand does not understand.
struct Usage {
    std::string text;
};

// True when the terminal's language is Russian (LC_ALL, LC_MESSAGES, LANG).
bool Russian();
// The English or the Russian text, by the terminal's language.
inline const char* Tr(const char* en, const char* ru) { return Russian() ? ru : en; }

// Arguments of one subcommand: positional words and --name value options.
// Flags (options without a value) are named when parsing.
struct Args {
    std::vector<std::string> words;
    std::map<std::string, std::string> options;
    bool Has(const std::string& name) const { return options.count(name) != 0; }
    std::string Get(const std::string& name, const std::string& fallback = {}) const;
};
Args ParseArgs(int argc, char** argv, const std::vector<std::string>& valued, const std::vector<std::string>& flags);

// Text forms.
std::string DateText(DATE d);                // dd.mm.yyyy; empty for 0
std::string MoneyText(const CY& c);          // two decimals
std::string HexText(const unsigned char* p, std::size_t n);
DATE ParseDate(const std::string& text);     // dd.mm.yyyy or yyyy-mm-dd; Usage otherwise
// yyyy-mm: the month's first and last day.
void ParseMonth(const std::string& text, DATE* first, DATE* last);
LONG ParseLong(const std::string& text, const char* what);
std::string JsonString(const std::string& s);

// The thread's error information (description), else the fallback.
std::string ErrorText(const std::string& fallback = {});
// Throws Refused with the error information's text when hr failed.
void Check(HRESULT hr, const std::string& what);

// The library and the host's outside components registered in this process.
class Runtime {
public:
    Runtime();
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

private:
    orv::host::Registration host_;
};

// A store opened through the host's database service, with one channel.
class Store {
public:
    // Refused when the file is missing (unless create) or is not a store.
    Store(const std::string& path, bool create);
    ~Store();
    IOrvDatabase* Db() const { return db_.Get(); }
    IOrvMemoryDatabase* View() const { return view_.Get(); }
    LONG Pipe() const { return pipe_; }
    // The service's LastError, else the error information.
    std::string LastError() const;
    // The employee by identifier or personnel number; Refused when unknown.
    ComPtr<IUnknown> Employee(const std::string& key) const;
    // The stored document at the address; Refused when none.
    ComPtr<IOrvDocument> Document(LONG address) const;

private:
    std::string path_;
    ComPtr<IOrvDatabase> db_;
    ComPtr<IOrvMemoryDatabase> view_;
    LONG pipe_ = 0;
};

// One property of an automation object read through its type information.
struct Property {
    std::string name;
    std::string text;       // the value as the tool shows it
    std::string json;       // the value as a JSON value
    ComPtr<IDispatch> object;  // an object value (a protocol, ...), else null
    VARTYPE vt = VT_EMPTY;     // the value's type
};
// Every property get without arguments of the object's dual interface, in the
// interface's order, read through IDispatch; members that answer E_NOTIMPL
// are left out. Properties named in skip are left out as well.
std::vector<Property> ReadProperties(IDispatch* object, const std::vector<std::string>& skip = {});
// The interface name the object's type information gives.
std::string InterfaceName(IDispatch* object);

// A document's fields and its extension's properties, for show and history.
struct DocumentView {
    std::vector<Property> fields;     // the record, by name
    std::string extensionName;        // the specific kind's interface; empty when none
    std::vector<Property> extension;  // its properties
    // Objects among the extension's properties (protocols): name and properties.
    std::vector<std::pair<std::string, std::vector<Property>>> parts;
};
DocumentView ViewDocument(IOrvDocument* doc);

// A document's record as bytes and hex.
std::string RecordHex(IOrvDocument* doc);
// A new document object (not connected to a store).
ComPtr<IOrvDocument> NewDocumentObject();
// A document's XML form.
std::string DocumentXml(IOrvDocument* doc);

// Reads a whole file; Refused when it cannot.
std::string ReadFile(const std::string& path);
// Standard input, whole.
std::string ReadStdin();

// Subcommands: each returns the exit code.
int Init(const Args& a);
int Import(const Args& a);
int Export(const Args& a);
int List(const Args& a);
int Show(const Args& a);
int Month(const Args& a);
int Year(const Args& a);
int Convert(const Args& a);
int History(const Args& a);
int Restore(const Args& a);
int Register(const Args& a);
int Demo(const Args& a);

}  // namespace orv::cli
