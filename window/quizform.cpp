#include "quizform.h"

#include "focusmark.h"
#include "formdefinition.h"
#include "listbox.h"
#include "school.h"
#include "textbox.h"

#include "quiz.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResource>

#include <cmath>
#include <map>

using namespace Qt::StringLiterals;
using FormDefinition::Kind;

namespace {

// Edges, not sizes, are converted, so that controls that touch in twips still touch.
QRect toPixels(const QRect &twips, int dpi)
{
    const auto px = [dpi](int t) {
        return int(std::lround(t * dpi / 1440.0));
    };
    const int x = px(twips.left());
    const int y = px(twips.top());
    return {x, y, px(twips.left() + twips.width()) - x, px(twips.top() + twips.height()) - y};
}

void fillBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The icon's 32 x 32 RGBA pixels, made from its SVG by scripts/make-icon.
QIcon windowIcon32()
{
    constexpr int side = 32;
    const QByteArray pixels = QResource(u":/icons/zun-mitologia.rgba"_s).uncompressedData();
    if (pixels.size() != side * side * 4)
        return {};
    const QImage image(reinterpret_cast<const uchar *>(pixels.constData()),
                       side,
                       side,
                       QImage::Format_RGBA8888);
    return QIcon(QPixmap::fromImage(image));
}

// Qt selects a line's whole text when Tab brings the focus to it; a counter is only read,
// and a selection would be announced as one.
class CounterLine : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        QFocusEvent plain(event->type(), Qt::OtherFocusReason);
        QLineEdit::focusInEvent(&plain);
    }
};

const QString buttonStyle = uR"(
QPushButton { background-color: %1; color: black; border: 1px solid %3; border-radius: 3px; }
QPushButton:pressed { background-color: %2; }
)"_s;

} // namespace

QuizForm::QuizForm(QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                      | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(u"%1 %2"_s.arg(School::address, FormDefinition::title));
    setWindowIcon(windowIcon32());
    setFont(QFont(FormDefinition::fontFamily.toString(), FormDefinition::fontPoints));
    fillBackground(this, FormDefinition::windowColour);
    setFixedSize(toPixels({{0, 0}, FormDefinition::clientTwips}, logicalDpiX()).size());

    std::map<int, QWidget *> tabOrder;
    for (const FormDefinition::Control &control : FormDefinition::controls()) {
        QWidget *widget = createControl(control);
        if (widget->focusPolicy() != Qt::NoFocus)
            tabOrder.emplace(control.tabIndex, widget);
    }
    for (auto it = tabOrder.begin(); std::next(it) != tabOrder.end(); ++it)
        setTabOrder(it->second, std::next(it)->second);
    new FocusMark(this);
    tabOrder.begin()->second->setFocus(); // the message field, with the lowest tab index

    m_quiz = std::make_unique<Quiz>(QuizControls{
            {m_list1[0], m_list1[1]}, m_text1.get(), {m_text2[0].get(), m_text2[1].get()}});
    m_quiz->Form_Load();
}

QuizForm::~QuizForm() = default;

const TextField &QuizForm::text1() const
{
    return *m_text1;
}

const TextField &QuizForm::text2(int index) const
{
    return *m_text2.at(std::size_t(index));
}

QWidget *QuizForm::createControl(const FormDefinition::Control &control)
{
    QWidget *widget = nullptr;
    switch (control.kind) {
    case Kind::Label: {
        auto *label = new QLabel(control.text.toString(), this);
        label->setAlignment(Qt::AlignCenter);
        fillBackground(label, FormDefinition::labelColour);
        widget = label;
        break;
    }
    case Kind::ListBox:
        widget = createListBox(control.index);
        break;
    case Kind::CounterBox:
        widget = createCounterBox(control.index);
        break;
    case Kind::MessageBox:
        widget = createMessageBox();
        break;
    case Kind::Button:
        widget = createButton(control);
        break;
    }
    widget->setObjectName(control.array.toString() + u'_' + QString::number(control.index));
    widget->setGeometry(toPixels(control.twips, logicalDpiX()));
    if (!control.accessibleName.isEmpty())
        widget->setAccessibleName(control.accessibleName.toString());
    if (!control.accessibleDescription.isEmpty())
        widget->setAccessibleDescription(control.accessibleDescription.toString());
    return widget;
}

QWidget *QuizForm::createListBox(int index)
{
    auto *list = new ListBox(this);
    m_list1.at(std::size_t(index)) = list;
    connect(list, &ListBox::selectionIndexChanged, this, [this, index] {
        List1_Click(qint16(index));
    });
    return list;
}

QWidget *QuizForm::createCounterBox(int index)
{
    auto *line = new CounterLine(u"0"_s, this);
    line->setReadOnly(true);
    line->setAlignment(Qt::AlignCenter);
    line->setAcceptDrops(false);
    m_text2.at(std::size_t(index)) = std::make_unique<TextBox>(line);
    return line;
}

QWidget *QuizForm::createMessageBox()
{
    auto *memo = new QPlainTextEdit(this);
    memo->setReadOnly(true);
    memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    memo->setUndoRedoEnabled(false);
    memo->setAcceptDrops(false);
    memo->setTabChangesFocus(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text1 = std::make_unique<TextBox>(memo);
    m_text1->setText(FormDefinition::introduction().toString());
    return memo;
}

QWidget *QuizForm::createButton(const FormDefinition::Control &control)
{
    auto *button = new QPushButton(control.text.toString(), this);
    // Styles shade a palette's button colour (Fusion pales it); a style sheet draws it true.
    button->setStyleSheet(buttonStyle.arg(FormDefinition::buttonColour.name(),
                                          FormDefinition::buttonColour.darker(115).name(),
                                          FormDefinition::buttonColour.darker(250).name()));
    button->setAutoDefault(true); // Enter presses it, as Space does
    const auto index = qint16(control.index);
    connect(button, &QPushButton::clicked, this, [this, index] { Command1_Click(index); });
    return button;
}

// A screen reader speaks a changed description of the focused list, and the focus is in a
// list when a pick by keyboard completes a pair; the message field itself is not focused.
void QuizForm::List1_Click(qint16 index)
{
    const QString before = m_text1->text();
    m_quiz->List1_Click(index);
    const QString verdict = m_text1->text();
    if (verdict != before) {
        describeLists(verdict.simplified() + u". Верни: "_s + m_text2[0]->text() + u", грешни: "_s
                      + m_text2[1]->text() + u'.');
    }
}

void QuizForm::Command1_Click(qint16 index)
{
    m_quiz->Command1_Click(index);
    describeLists(QString());
}

// An empty description brings back the one the window was defined with.
void QuizForm::describeLists(const QString &description)
{
    for (const FormDefinition::Control &control : FormDefinition::controls()) {
        if (control.kind == Kind::ListBox) {
            m_list1.at(std::size_t(control.index))
                    ->setAccessibleDescription(description.isEmpty()
                                                       ? control.accessibleDescription.toString()
                                                       : description);
        }
    }
}
