#include "TextCodec.h"

#include "storage/Cp1252.h"

namespace {
template <typename Bytes>
QString decode(const Bytes& bytes)
{
    QString out;
    out.reserve(int(bytes.size()));
    for (auto c : bytes)
        out += QChar(Cp1252ToUnicode(uint8_t(c)));
    return out;
}

// Walks the text by code point so surrogate pairs count as one (unrepresentable) character.
template <typename Sink>
bool encode(const QString& text, Sink&& sink)
{
    bool all = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        const int b = UnicodeToCp1252(c);
        if (b < 0)
            all = false;
        sink(char(b < 0 ? '?' : b));
    }
    return all;
}
} // namespace

QString FromCp1252(const std::string& bytes) { return decode(bytes); }
QString FromCp1252(const QByteArray& bytes) { return decode(bytes); }

std::string ToCp1252(const QString& text)
{
    std::string out;
    out.reserve(size_t(text.size()));
    encode(text, [&](char c) { out += c; });
    return out;
}

QByteArray ToCp1252Bytes(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    encode(text, [&](char c) { out += c; });
    return out;
}

bool IsCp1252Text(const QString& text)
{
    return encode(text, [](char) {});
}

TCp1252Validator::TCp1252Validator(QObject* parent) : QValidator(parent) {}

QValidator::State TCp1252Validator::validate(QString& input, int&) const
{
    return IsCp1252Text(input) ? Acceptable : Invalid;
}
