// JSON form of stored records, driven by their field tables: every field under its table name,
// nested lists as arrays of objects that carry their "ID", nested records as objects. The
// encodings a table cannot describe (script lines, move route commands, map layers) are
// written as what they mean.
#pragma once
#include <stdexcept>
#include <string>

#include "Catalog.h"
#include "Json.h"

class TVudEventScriptList;

// A JSON document that does not describe a valid record; the message names the place.
class EBuildError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

Json RecordToJson(const TCatalogBaseItem& record);
Json CatalogToJson(const TCatalog& list);
// Anything a kind-4/5 chunk can hold (records, lists, or opaque sections as raw bytes).
Json NestedToJson(const TStreamable& nested);

// Clears the record (absent keys keep Clear's values) and fills it; unknown keys are errors.
void RecordFromJson(TCatalogBaseItem& record, const Json& j, const std::string& path);
void CatalogFromJson(TCatalog& list, const Json& j, const std::string& path);
void NestedFromJson(TStreamable& nested, const Json& j, const std::string& path);

Json ScriptToJson(const TVudEventScriptList& script);
void ScriptFromJson(TVudEventScriptList& script, const Json& j, const std::string& path);

// Windows-1252 text as a JSON string, and back.
Json TextToJson(const std::string& bytes);
std::string TextFromJson(const Json& j, const std::string& path);
// A whole number within [lo, hi].
int64_t IntFromJson(const Json& j, const std::string& path, int64_t lo, int64_t hi);
[[noreturn]] void BuildFail(const std::string& path, const std::string& what);
