#include "quizform.h"

#include "announcer.h"
#include "focusmark.h"
#include "formdefinition.h"
#include "listbox.h"
#include "school.h"
#include "textbox.h"
#include "touchscroll.h"
#include "windowicon.h"

#include "quiz.h"
#include "words.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <map>

using namespace Qt::StringLiterals;
using FormDefinition::Kind;
using FormDefinition::toPixels;

namespace {

void fillBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A counter is only read. Qt selects a line's whole text when Tab brings the focus to it,
// and a screen reader would announce that selection; and Qt 6.4 gives a line's text no
// attribute runs, so Orca reads no line from it: the count goes in the description too.
class CounterLine : public QLineEdit
{
public:
    explicit CounterLine(QWidget *parent)
        : QLineEdit(parent)
    {
        connect(this, &QLineEdit::textChanged, this, &QWidget::setAccessibleDescription);
    }

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
    setWindowTitle(u"%1 %2"_s.arg(FormDefinition::view(School::address), FormDefinition::title));
    setWindowIcon(quizIcon());
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
    m_announcer = new Announcer(this);
    tabOrder.begin()->second->setFocus(); // the message field, with the lowest tab index

    m_quiz = std::make_unique<Quiz>(QuizControls{
            {m_list1[0], m_list1[1]}, m_text1.get(), {m_text2[0].get(), m_text2[1].get()}});
    m_quiz->Form_Load();
}

QuizForm::~QuizForm() = default;

QString QuizForm::text1() const
{
    return QString::fromStdU16String(m_text1->text());
}

QString QuizForm::text2(int index) const
{
    return QString::fromStdU16String(m_text2.at(std::size_t(index))->text());
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
        widget = createListBox(control);
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
    if (!control.accessibleDescription.isEmpty() && control.kind != Kind::ListBox)
        widget->setAccessibleDescription(control.accessibleDescription.toString());
    return widget;
}

QWidget *QuizForm::createListBox(const FormDefinition::Control &control)
{
    const int index = control.index;
    auto *list = new ListBox(this);
    list->setInstructions(control.accessibleDescription.toString());
    m_list1.at(std::size_t(index)) = list;
    connect(list, &ListBox::selectionIndexChanged, this, [this, index] {
        List1_Click(qint16(index));
    });
    return list;
}

QWidget *QuizForm::createCounterBox(int index)
{
    auto *line = new CounterLine(this);
    line->setText(u"0"_s);
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
    new TouchScroll(memo); // a swipe scrolls the text rather than selecting it
    m_text1 = std::make_unique<TextBox>(memo);
    m_text1->setText(FormDefinition::introduction().toString().toStdU16String());
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

void QuizForm::List1_Click(qint16 index)
{
    tell(m_quiz->List1_Click(index));
}

void QuizForm::Command1_Click(qint16 index)
{
    tell(m_quiz->Command1_Click(index));
}

// What a screen reader says at once, wherever the pupil is: the pick; the verdict, then both
// counts and where the frame now is; a new round. The focus never moves.
void QuizForm::tell(const Outcome &outcome)
{
    if (outcome.kind == Outcome::Kind::Nothing)
        return;
    const auto *focused = qobject_cast<ListBox *>(QApplication::focusWidget());
    const Announcement words = announce(outcome, focused ? focused->framedName() : u"");
    m_announcer->say(QString::fromStdU16String(words.first), QString::fromStdU16String(words.then));
}
