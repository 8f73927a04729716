// The clickable path box of the project dialogs: shows a folder, and a click asks for another.
#pragma once
#include <QPushButton>

class TPathBox : public QPushButton {
    Q_OBJECT
public:
    explicit TPathBox(QWidget* parent = nullptr);
    void SetPath(const QString& path);
    const QString& Path() const { return path; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateText();
    QString path;
};
