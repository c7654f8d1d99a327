#include "textbox.h"

#include <QLineEdit>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

TextBox::TextBox(QLineEdit *line)
    : m_line(line)
    , m_text(line->text().toStdU16String())
{}

TextBox::TextBox(QPlainTextEdit *memo)
    : m_memo(memo)
    , m_text(memo->toPlainText().toStdU16String())
{}

std::u16string TextBox::text() const
{
    return m_text;
}

void TextBox::setText(const std::u16string &text)
{
    m_text = text;
    QString shown = QString::fromStdU16String(text);
    if (m_line)
        m_line->setText(shown);
    else
        m_memo->setPlainText(shown.replace(u"\r\n"_s, u"\n"_s));
}
