#pragma once
// What a window's user reads: the captions and tool-tips of its buttons, the
// texts of its labels.

#include <QLabel>
#include <QPushButton>
#include <QtTest>

// Each row {objectName, caption, tool-tip} names a button of the window that
// shows that caption and tool-tip.
inline void compareButtonTexts(const QWidget* window, const QList<QStringList>& buttons)
{
    for (const QStringList& b : buttons) {
        const auto* button = window->findChild<QPushButton*>(b[0]);
        QVERIFY2(button, qPrintable(b[0]));
        QCOMPARE((QStringList{b[0], button->text(), button->toolTip()}), b);
    }
}

// The texts of the labels in a widget, in creation order.
inline QStringList labelTexts(const QWidget* w, Qt::FindChildOptions options = Qt::FindChildrenRecursively)
{
    QStringList out;
    for (const QLabel* l : w->findChildren<QLabel*>(QString(), options)) out << l->text();
    return out;
}
