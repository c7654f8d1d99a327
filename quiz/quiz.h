#pragma once

#include <array>
#include <cstdint>
#include <string>

class ListControl;
class TextField;

// The controls a round lives in, by their role in the window's control arrays.
struct QuizControls
{
    std::array<ListControl *, 2> list1{}; // 0: Greek names, 1: Roman names
    TextField *text1 = nullptr;           // the message field
    std::array<TextField *, 2> text2{};   // 0: right answers, 1: wrong answers
};

// What an event did, so that a face can tell its pupil without reading its controls back.
struct Outcome
{
    enum class Kind { Nothing, Pick, Verdict, NewRound };

    Kind kind = Kind::Nothing;
    std::u16string name{};                  // a pick: the name picked
    std::u16string greek{}, roman{};        // a verdict: the pair judged
    int row = -1;                           // a verdict: the table row of its Greek name
    bool right = false;                     // a verdict: whether the pair is right
    std::array<std::u16string, 2> counts{}; // a verdict or new round: right, wrong, as shown
    std::array<int, 2> left{};              // a new round: the names in each list
};

// The round logic. It keeps no state of its own: everything is read back from the controls,
// so whatever the window shows is the whole truth.
class Quiz
{
public:
    explicit Quiz(const QuizControls &controls);

    // The window's events, routed here with the index of the array member that raised them.
    void Form_Load();
    Outcome List1_Click(std::int16_t index);
    Outcome Command1_Click(std::int16_t index);

private:
    void ResetRound();
    Outcome CheckPair();
    void
    writeVerdict(int row, bool right, const std::u16string &greek, const std::u16string &roman);
    void increment(TextField &counter);
    std::array<std::u16string, 2> counts() const;

    QuizControls m_controls;
};
