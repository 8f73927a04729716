// The one pair of conversions between record text (Windows-1252 bytes) and QString, plus the
// validator that keeps text fields within what the code page can hold.
#pragma once
#include <QString>
#include <QValidator>
#include <string>

QString FromCp1252(const std::string& bytes);
QString FromCp1252(const QByteArray& bytes);
// Characters the code page cannot hold become '?'; use IsCp1252Text first where that matters.
std::string ToCp1252(const QString& text);
QByteArray ToCp1252Bytes(const QString& text);
bool IsCp1252Text(const QString& text);

// Accepts only text that Windows-1252 can hold, so what the user types is what gets stored.
class TCp1252Validator : public QValidator {
    Q_OBJECT
public:
    explicit TCp1252Validator(QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;
};
