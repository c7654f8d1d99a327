#include "textbox.h"

#include <QLineEdit>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

TextBox::TextBox(QLineEdit *line)
    : m_line(line)
    , m_text(line->text())
{}

TextBox::TextBox(QPlainTextEdit *memo)
    : m_memo(memo)
    , m_text(memo->toPlainText())
{}

QString TextBox::text() const
{
    return m_text;
}

void TextBox::setText(const QString &text)
{
    m_text = text;
    if (m_line) {
        m_line->setText(text);
    } else {
        QString shown = text;
        m_memo->setPlainText(shown.replace(u"\r\n"_s, u"\n"_s));
    }
}
