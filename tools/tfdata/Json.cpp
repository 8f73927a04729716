#include "Json.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

const Json* Json::Find(std::string_view key) const
{
    for (const Member& m : AsObject())
        if (m.first == key)
            return &m.second;
    return nullptr;
}

void Json::Set(std::string key, Json value)
{
    for (Member& m : AsObject())
        if (m.first == key) {
            m.second = std::move(value);
            return;
        }
    AsObject().emplace_back(std::move(key), std::move(value));
}

// ---- writer ------------------------------------------------------------------------------

namespace {

void writeString(std::string& out, const std::string& s)
{
    out += '"';
    for (unsigned char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += char(c);
            }
        }
    }
    out += '"';
}

bool isScalar(const Json& j) { return !j.IsArray() && !j.IsObject(); }

void writeCompact(std::string& out, const Json& j);

void writeScalar(std::string& out, const Json& j)
{
    switch (j.GetType()) {
    case Json::Null: out += "null"; break;
    case Json::Bool: out += j.AsBool() ? "true" : "false"; break;
    case Json::Int: out += std::to_string(j.AsInt()); break;
    case Json::Real: {
        char buf[64];
        const double d = j.AsReal();
        if (!std::isfinite(d))
            throw JsonError("número no finito");
        auto r = std::to_chars(buf, buf + sizeof buf, d);
        std::string s(buf, r.ptr);
        // Keep reals recognisable as reals.
        if (s.find_first_of(".eE") == std::string::npos)
            s += ".0";
        out += s;
        break;
    }
    case Json::String: writeString(out, j.AsString()); break;
    default: writeCompact(out, j);
    }
}

void writeCompact(std::string& out, const Json& j)
{
    if (j.IsArray()) {
        out += '[';
        bool first = true;
        for (const Json& e : j.AsArray()) {
            if (!first)
                out += ", ";
            first = false;
            writeCompact(out, e);
        }
        out += ']';
    } else if (j.IsObject()) {
        out += '{';
        bool first = true;
        for (const auto& [k, v] : j.AsObject()) {
            if (!first)
                out += ", ";
            first = false;
            writeString(out, k);
            out += ": ";
            writeCompact(out, v);
        }
        out += '}';
    } else {
        writeScalar(out, j);
    }
}

constexpr size_t kInlineWidth = 100;

// Whether the compact form stays within the budget; stops early on big containers.
bool fits(const Json& j, long& budget)
{
    switch (j.GetType()) {
    case Json::ArrayType:
        budget -= 2;
        for (const Json& e : j.AsArray())
            if (budget < 0 || !fits(e, budget))
                return false;
        budget -= 2 * long(j.AsArray().size());
        break;
    case Json::ObjectType:
        budget -= 2;
        for (const auto& [k, v] : j.AsObject()) {
            budget -= long(k.size()) + 6;
            if (budget < 0 || !fits(v, budget))
                return false;
        }
        break;
    case Json::String: budget -= long(j.AsString().size()) + 2; break;
    case Json::Int: budget -= long(std::to_string(j.AsInt()).size()); break;
    default: budget -= 8; break;
    }
    return budget >= 0;
}

void writePretty(std::string& out, const Json& j, int indent)
{
    if (isScalar(j)) {
        writeScalar(out, j);
        return;
    }
    const bool scalars = j.IsArray() && std::all_of(j.AsArray().begin(), j.AsArray().end(), isScalar);
    long budget = long(kInlineWidth);
    if (scalars || fits(j, budget)) {
        writeCompact(out, j);
        return;
    }
    const std::string pad(size_t(indent + 2), ' ');
    if (j.IsArray()) {
        out += "[\n";
        const auto& a = j.AsArray();
        for (size_t i = 0; i < a.size(); ++i) {
            out += pad;
            writePretty(out, a[i], indent + 2);
            out += i + 1 < a.size() ? ",\n" : "\n";
        }
        out += std::string(size_t(indent), ' ') + "]";
    } else {
        out += "{\n";
        const auto& o = j.AsObject();
        for (size_t i = 0; i < o.size(); ++i) {
            out += pad;
            writeString(out, o[i].first);
            out += ": ";
            writePretty(out, o[i].second, indent + 2);
            out += i + 1 < o.size() ? ",\n" : "\n";
        }
        out += std::string(size_t(indent), ' ') + "}";
    }
}

// ---- reader ------------------------------------------------------------------------------

class Parser {
public:
    explicit Parser(std::string_view t) : T(t) {}

    Json Document()
    {
        Json j = Value(0);
        SkipSpace();
        if (P != T.size())
            Fail("texto de más tras el valor");
        return j;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const
    {
        size_t line = 1, col = 1;
        for (size_t i = 0; i < P && i < T.size(); ++i) {
            if (T[i] == '\n') {
                ++line;
                col = 1;
            } else {
                ++col;
            }
        }
        throw JsonError("JSON no válido (línea " + std::to_string(line) + ", columna " + std::to_string(col) +
                        "): " + what);
    }

    void SkipSpace()
    {
        while (P < T.size() && (T[P] == ' ' || T[P] == '\t' || T[P] == '\n' || T[P] == '\r'))
            ++P;
    }

    bool Eat(char c)
    {
        SkipSpace();
        if (P < T.size() && T[P] == c) {
            ++P;
            return true;
        }
        return false;
    }

    void Expect(char c)
    {
        if (!Eat(c))
            Fail(std::string("se esperaba '") + c + "'");
    }

    bool Word(std::string_view w)
    {
        if (T.substr(P, w.size()) == w) {
            P += w.size();
            return true;
        }
        return false;
    }

    Json Value(int depth)
    {
        if (depth > 200)
            Fail("anidamiento demasiado profundo");
        if (++Values > Json::kMaxValues)
            Fail("demasiados valores");
        SkipSpace();
        if (P >= T.size())
            Fail("fin inesperado");
        const char c = T[P];
        if (c == '{')
            return ObjectValue(depth);
        if (c == '[')
            return ArrayValue(depth);
        if (c == '"')
            return Json(StringValue());
        if (Word("true"))
            return Json(true);
        if (Word("false"))
            return Json(false);
        if (Word("null"))
            return Json();
        if (c == '-' || (c >= '0' && c <= '9'))
            return Number();
        Fail("valor inesperado");
    }

    Json ObjectValue(int depth)
    {
        ++P;
        Json obj = Json::MakeObject();
        if (Eat('}'))
            return obj;
        do {
            SkipSpace();
            if (P >= T.size() || T[P] != '"')
                Fail("se esperaba una clave");
            std::string key = StringValue();
            Expect(':');
            if (obj.Find(key))
                Fail("clave repetida \"" + key + "\"");
            obj.AsObject().emplace_back(std::move(key), Value(depth + 1));
        } while (Eat(','));
        Expect('}');
        return obj;
    }

    Json ArrayValue(int depth)
    {
        ++P;
        Json arr = Json::MakeArray();
        if (Eat(']'))
            return arr;
        do
            arr.Push(Value(depth + 1));
        while (Eat(','));
        Expect(']');
        return arr;
    }

    Json Number()
    {
        const size_t start = P;
        if (T[P] == '-')
            ++P;
        if (P >= T.size() || !(T[P] >= '0' && T[P] <= '9'))
            Fail("número no válido");
        if (T[P] == '0')
            ++P;
        else
            while (P < T.size() && T[P] >= '0' && T[P] <= '9')
                ++P;
        bool real = false;
        if (P < T.size() && T[P] == '.') {
            real = true;
            ++P;
            if (P >= T.size() || !(T[P] >= '0' && T[P] <= '9'))
                Fail("número no válido");
            while (P < T.size() && T[P] >= '0' && T[P] <= '9')
                ++P;
        }
        if (P < T.size() && (T[P] == 'e' || T[P] == 'E')) {
            real = true;
            ++P;
            if (P < T.size() && (T[P] == '+' || T[P] == '-'))
                ++P;
            if (P >= T.size() || !(T[P] >= '0' && T[P] <= '9'))
                Fail("número no válido");
            while (P < T.size() && T[P] >= '0' && T[P] <= '9')
                ++P;
        }
        const char* b = T.data() + start;
        const char* e = T.data() + P;
        if (!real) {
            int64_t v = 0;
            const auto r = std::from_chars(b, e, v);
            if (r.ec == std::errc() && r.ptr == e)
                return Json(v);
        }
        double d = 0;
        const auto r = std::from_chars(b, e, d);
        if (r.ec != std::errc() || r.ptr != e || !std::isfinite(d))
            Fail("número fuera de rango");
        return Json(d);
    }

    unsigned Hex4()
    {
        if (P + 4 > T.size())
            Fail("escape \\u incompleto");
        unsigned v = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = T[P++];
            v <<= 4;
            if (c >= '0' && c <= '9')
                v |= unsigned(c - '0');
            else if (c >= 'a' && c <= 'f')
                v |= unsigned(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                v |= unsigned(c - 'A' + 10);
            else
                Fail("escape \\u no válido");
        }
        return v;
    }

    static void PutUtf8(std::string& out, char32_t c)
    {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }

    std::string StringValue()
    {
        ++P; // opening quote
        std::string out;
        for (;;) {
            if (P >= T.size())
                Fail("texto sin cerrar");
            const unsigned char c = static_cast<unsigned char>(T[P++]);
            if (c == '"')
                return out;
            if (c < 0x20)
                Fail("carácter de control en un texto");
            if (c != '\\') {
                out += char(c);
                continue;
            }
            if (P >= T.size())
                Fail("texto sin cerrar");
            const char e = T[P++];
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                char32_t cp = Hex4();
                if (cp >= 0xD800 && cp <= 0xDBFF) {
                    if (!Word("\\u"))
                        Fail("par sustituto incompleto");
                    const unsigned lo = Hex4();
                    if (lo < 0xDC00 || lo > 0xDFFF)
                        Fail("par sustituto no válido");
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
                    Fail("par sustituto no válido");
                }
                PutUtf8(out, cp);
                break;
            }
            default: Fail("escape no válido");
            }
        }
    }

    std::string_view T;
    size_t P = 0;
    size_t Values = 0;
};

} // namespace

std::string Json::Dump() const
{
    std::string out;
    writePretty(out, *this, 0);
    out += '\n';
    return out;
}

Json Json::Parse(std::string_view text)
{
    return Parser(text).Document();
}
