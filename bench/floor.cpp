// The floor: a bare Qt window with the quiz window's controls, places, texts and font, and
// nothing else: no logic, no colours, no translations, no icon, no accessibility names.
#include "firstpaint.h"
#include "formdefinition.h"
#include "pantheontable.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

using FormDefinition::Kind;

namespace {

QWidget *bareControl(const FormDefinition::Control &control, QWidget *parent)
{
    const QString text = control.text.toString();
    switch (control.kind) {
    case Kind::Label:
        return new QLabel(text, parent);
    case Kind::ListBox: {
        auto *list = new QListWidget(parent);
        for (int row = 0; row < PantheonTable::count(); ++row)
            list->addItem(QStringView(control.index == 0 ? PantheonTable::greekName(row)
                                                         : PantheonTable::romanName(row))
                                  .toString());
        return list;
    }
    case Kind::CounterBox:
        return new QLineEdit(text, parent);
    case Kind::MessageBox:
        return new QPlainTextEdit(FormDefinition::introduction().toString(), parent);
    case Kind::Button:
        return new QPushButton(text, parent);
    }
    return nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFont(QFont(FormDefinition::fontFamily.toString(), FormDefinition::fontPoints));
    window.setFixedSize(FormDefinition::clientTwips / FormDefinition::twipsPerPixel);
    constexpr int perPixel = FormDefinition::twipsPerPixel;
    for (const FormDefinition::Control &control : FormDefinition::controls()) {
        const QRect twips = control.twips;
        bareControl(control, &window)
                ->setGeometry(twips.x() / perPixel,
                              twips.y() / perPixel,
                              twips.width() / perPixel,
                              twips.height() / perPixel);
    }
    quitAfterFirstPaint(&window);
    window.show();
    return app.exec();
}
