// A small JSON value with a reader and a writer: enough for tfdata's dumps. Objects keep their
// key order so dumps read like the record tables they come from.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// GCC 12 warns about moves of std::variant members it cannot follow (false positives).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

class JsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Json {
public:
    using Array = std::vector<Json>;
    using Member = std::pair<std::string, Json>;
    using Object = std::vector<Member>;
    enum Type { Null, Bool, Int, Real, String, ArrayType, ObjectType };

    Json() = default;
    Json(bool b) : V(b) {}
    Json(int v) : V(int64_t(v)) {}
    Json(int64_t v) : V(v) {}
    Json(uint32_t v) : V(int64_t(v)) {}
    Json(double v) : V(v) {}
    Json(const char* s) : V(std::string(s)) {}
    Json(std::string s) : V(std::move(s)) {}
    Json(Array a) : V(std::move(a)) {}
    Json(Object o) : V(std::move(o)) {}
    static Json MakeObject() { return Json(Object{}); }
    static Json MakeArray() { return Json(Array{}); }

    Type GetType() const { return Type(V.index()); }
    bool IsInt() const { return GetType() == Int; }
    bool IsNumber() const { return GetType() == Int || GetType() == Real; }
    bool IsString() const { return GetType() == String; }
    bool IsArray() const { return GetType() == ArrayType; }
    bool IsObject() const { return GetType() == ObjectType; }

    int64_t AsInt() const { return std::get<int64_t>(V); }
    double AsReal() const { return GetType() == Int ? double(AsInt()) : std::get<double>(V); }
    bool AsBool() const { return std::get<bool>(V); }
    const std::string& AsString() const { return std::get<std::string>(V); }
    const Array& AsArray() const { return std::get<Array>(V); }
    Array& AsArray() { return std::get<Array>(V); }
    const Object& AsObject() const { return std::get<Object>(V); }
    Object& AsObject() { return std::get<Object>(V); }

    // Object access: Find returns null when absent; Set appends or replaces.
    const Json* Find(std::string_view key) const;
    void Set(std::string key, Json value);
    // Array append.
    void Push(Json value) { AsArray().push_back(std::move(value)); }

    // Pretty form: two-space indent, arrays of scalars and small containers on one line.
    std::string Dump() const;
    // Strict RFC 8259 text (no comments, no trailing commas); nesting limited to 200 levels
    // and the number of values to kMaxValues, so memory stays bounded whatever the text.
    static Json Parse(std::string_view text);
    // Room for the editor's largest map (two layers of 999 x 999) and its events.
    static constexpr size_t kMaxValues = 4'000'000;

private:
    std::variant<std::nullptr_t, bool, int64_t, double, std::string, Array, Object> V = nullptr;
};
