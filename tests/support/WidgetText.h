#pragma once
// Small widget helpers shared by the window tests: the texts a combo box
// offers, and a text typed into a widget as one key event (the way an input
// method hands over a committed word, Japanese included).

#include <QComboBox>
#include <QStringList>
#include <QTest>

inline QStringList items(const QComboBox* c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    return out;
}

inline void typeText(QWidget* w, const QString& text)
{
    QTest::sendKeyEvent(QTest::KeyAction::Click, w, Qt::Key_unknown, text, Qt::NoModifier);
}
