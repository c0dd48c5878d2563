// The store's text form: an XML document with the root "ORVSTORE" holding the
// reference data, the employees with their jobs, accounts, months and
// documents, and documents tied to no employee, each document in its own XML
// form ("ORVDOCUMENT"). docs/store.md describes every element. Loading and
// exporting need the library (OrvDocument) and the host's sum collector
// registered in the process.
#pragma once

#include "host/store/Store.h"

#include <string>

namespace orv::host {

// Loads the text into the store in one transaction (inside the host's open
// transaction when there is one): every row is added or replaces the row
// with its key; a document with a database address ("DBK" not 0) replaces
// the one stored there (kept in the history), one without gets a new address.
// A text that does not parse, or a value that does not read, throws
// StoreError(E_INVALIDARG) naming the element, and nothing is loaded.
void ImportStoreText(store::Store& s, const std::string& utf8);

// The whole store (history aside) in the same form, UTF-8.
std::string ExportStoreText(store::Store& s);

// Day numbers as "yyyy-mm-dd" and back ("" and 0 for no date); raw currency
// values as decimal text ("12.5", "-3.0001", "0") and back.
std::string DayText(LONG day);
bool ParseDay(const std::string& text, LONG* day);
std::string MoneyText(LONGLONG raw);
bool ParseMoney(const std::string& text, LONGLONG* raw);

}  // namespace orv::host
