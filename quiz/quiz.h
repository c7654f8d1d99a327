#pragma once

#include <QtGlobal>

#include <array>

class ListControl;
class TextField;

// The controls a round lives in, by their role in the window's control arrays.
struct QuizControls
{
    std::array<ListControl *, 2> list1{}; // 0: Greek names, 1: Roman names
    TextField *text1 = nullptr;           // the message field
    std::array<TextField *, 2> text2{};   // 0: right answers, 1: wrong answers
};

// The round logic. It keeps no state of its own: everything is read back from the controls,
// so whatever the window shows is the whole truth.
class Quiz
{
public:
    explicit Quiz(const QuizControls &controls);

    // The window's events, routed here with the index of the array member that raised them.
    void Form_Load();
    void List1_Click(qint16 index);
    void Command1_Click(qint16 index);

private:
    void ResetRound();
    void CheckPair();
    void writeVerdict(int row, bool right, const QString &greek, const QString &roman);
    void increment(TextField &counter);

    QuizControls m_controls;
};
