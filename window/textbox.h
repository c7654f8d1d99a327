#pragma once

#include "textfield.h"

#include <QString>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

// The text of a read-only field widget, kept exactly as the program wrote it: a multi-line
// widget stores paragraphs, not CR LF, and the verdict is built by reading the field back.
class TextBox : public TextField
{
public:
    explicit TextBox(QLineEdit *line);
    explicit TextBox(QPlainTextEdit *memo);

    std::u16string text() const override;
    void setText(const std::u16string &text) override;

private:
    QLineEdit *m_line = nullptr;
    QPlainTextEdit *m_memo = nullptr;
    std::u16string m_text;
};
