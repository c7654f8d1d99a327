#pragma once

#include <QWidget>

#include <array>
#include <memory>

class Announcer;
class ListBox;
class Quiz;
struct Outcome;
class QPushButton;
class TextBox;

namespace FormDefinition {
struct Control;
}

// The quiz's only window: built from its definition, it plugs its list boxes and fields into
// the round logic and routes the load, list-click and button-click events to it.
class QuizForm : public QWidget
{
    Q_OBJECT

public:
    explicit QuizForm(QWidget *parent = nullptr);
    ~QuizForm() override;

    // The fields' texts exactly as the quiz wrote them.
    QString text1() const;
    QString text2(int index) const;

private:
    QWidget *createControl(const FormDefinition::Control &control);
    QWidget *createListBox(const FormDefinition::Control &control);
    QWidget *createCounterBox(int index);
    QWidget *createMessageBox();
    QWidget *createButton(const FormDefinition::Control &control);
    void List1_Click(qint16 index);
    void Command1_Click(qint16 index);
    void tell(const Outcome &outcome);

    std::array<ListBox *, 2> m_list1{};
    std::unique_ptr<TextBox> m_text1;
    std::array<std::unique_ptr<TextBox>, 2> m_text2;
    std::unique_ptr<Quiz> m_quiz;
    Announcer *m_announcer = nullptr;
};
